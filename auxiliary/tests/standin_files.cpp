#include "standin_files.h"

#include <windows.h>

#include "testing/plugin_under_test.h"

namespace auxiliary::testing {

std::string ReadAll(const std::string& path)
{
    const std::vector<uint8_t> bytes = dsp::testing::ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

bool WriteAll(const std::string& path, const std::string& text)
{
    return dsp::testing::WriteFileBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
}

std::string Record(const std::string& text)
{
    std::string r = text;
    r.resize(260, '\0');
    return r;
}

bool CopyStandIn(const char* standIn, const std::string& target)
{
    return CopyFileA((std::string(CB_TOOLS_DIR) + "/" + standIn).c_str(), target.c_str(), FALSE) != FALSE;
}

CallLog::CallLog() : path_(dsp::testing::ScratchDir() + "standin-calls.log")
{
    Clear();
    SetEnvironmentVariableA("AUX_STANDIN_LOG", path_.c_str());
}

CallLog::~CallLog()
{
    SetEnvironmentVariableA("AUX_STANDIN_LOG", nullptr);
}

void CallLog::Clear()
{
    DeleteFileA(path_.c_str());
}

std::vector<std::string> CallLog::Lines() const
{
    const std::vector<uint8_t> bytes = dsp::testing::ReadFileBytes(path_);
    std::vector<std::string> lines;
    std::string line;
    for (uint8_t b : bytes) {
        if (b == '\n') {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            lines.push_back(line);
            line.clear();
        } else {
            line.push_back(static_cast<char>(b));
        }
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

} // namespace auxiliary::testing
