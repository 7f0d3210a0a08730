// The log line with any field values and message: it starts with "L ", its
// head is the whole printf rendering of the fields (any int fits its buffer),
// and it ends with the message and "\r\n".
#include <cstdio>
#include <string>

#include "core/LogLine.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Input in(data, size);
    cb::LogTime t;
    t.Year = in.Take<int>();
    t.Month = in.Take<int>();
    t.Day = in.Take<int>();
    t.Hour = in.Take<int>();
    t.Minute = in.Take<int>();
    t.Second = in.Take<int>();
    const std::string message(reinterpret_cast<const char*>(in.Rest()), in.Left());
    const std::string line = cb::FormatLogLine(t, message);

    const int wanted = std::snprintf(nullptr, 0, "L %2d/%2d/%4d %2d:%2d:%2d - ", t.Month, t.Day, t.Year,
                                     t.Hour, t.Minute, t.Second);
    fuzz::Require(wanted > 0, "the head has a length");
    std::string head(static_cast<size_t>(wanted) + 1, '\0');
    std::snprintf(head.data(), head.size(), "L %2d/%2d/%4d %2d:%2d:%2d - ", t.Month, t.Day, t.Year, t.Hour,
                  t.Minute, t.Second);
    head.resize(static_cast<size_t>(wanted));

    fuzz::Require(line.size() == head.size() + message.size() + 2,
                  "head, message and line end, nothing else");
    fuzz::Require(line.compare(0, 2, "L ") == 0, "the line starts with \"L \"");
    fuzz::Require(line.compare(0, head.size(), head) == 0, "the head is the printf rendering");
    fuzz::Require(line.compare(head.size(), message.size(), message) == 0, "then the message");
    fuzz::Require(line.compare(line.size() - 2, 2, "\r\n") == 0, "and the line end");
    return 0;
}
