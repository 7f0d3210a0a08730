// The stand-in codec libraries (tools/aux_standins) as the recorder's tests
// use them: copied into a prepared program folder, with their call log.
#pragma once

#include <string>
#include <vector>

namespace auxiliary::testing {

// A whole file as text, and text written as a whole file (exact bytes).
std::string ReadAll(const std::string& path);
bool WriteAll(const std::string& path, const std::string& text);

// One 260-byte job-file record as the converter reads it: the text, then zeros.
std::string Record(const std::string& text);

// Copies dist/tools/<standIn> to `target`.
bool CopyStandIn(const char* standIn, const std::string& target);

// Points AUX_STANDIN_LOG at a fresh file for its lifetime; Lines() gives the
// calls the stand-ins logged so far.
class CallLog
{
public:
    CallLog();
    ~CallLog();
    CallLog(const CallLog&) = delete;
    CallLog& operator=(const CallLog&) = delete;
    std::vector<std::string> Lines() const;
    void Clear();

private:
    std::string path_;
};

} // namespace auxiliary::testing
