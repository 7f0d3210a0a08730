// Putting a complete result file in the input file's place.
#pragma once

#include <string>

namespace dsp {

// The input's path with a fixed ending appended ("-Tmp", ".TMP", ".TEMP").
std::string SiblingPath(const char* input, const char* ending);

// Moves `result` over `input` in one step (MoveFileExA with
// MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH). On failure both files
// stay as they were and the result is false.
bool ReplaceInput(const std::string& result, const char* input);

// Deletes a file at scope exit unless released (a result that was moved into
// place, or a temporary file that must survive).
class RemoveOnExit
{
public:
    explicit RemoveOnExit(std::string path);
    ~RemoveOnExit();
    RemoveOnExit(const RemoveOnExit&) = delete;
    RemoveOnExit& operator=(const RemoveOnExit&) = delete;
    void Release() { path_.clear(); }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

} // namespace dsp
