// Sends the event log of a test into its scratch folder and reads the
// messages back without their time stamps.
#pragma once

#include "Cubdfuncs.h"
#include "TestFiles.h"

#include <string>
#include <vector>

namespace testfiles {

// The message part of every line of an event log's text
// ("L mm/dd/yyyy hh:mm:ss - " cut off).
inline std::vector<std::string> LogMessages(const std::string& text)
{
    std::vector<std::string> out;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find("\r\n", pos);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(pos, end - pos);
        std::size_t dash = line.find(" - ");
        out.push_back(dash == std::string::npos ? "<bad line>" + line : line.substr(dash + 3));
        pos = end + 2;
    }
    return out;
}

class LogCapture
{
public:
    explicit LogCapture(const std::string& file) : m_File(file) { SetLogFileName(file); }
    ~LogCapture() { SetLogFileName(""); }

    std::vector<std::string> Messages() const
    {
        std::string text = ReadAll(m_File);
        return LogMessages(text == "<missing>" ? "" : text);
    }
    const std::string& File() const { return m_File; }

private:
    std::string m_File;
};

} // namespace testfiles
