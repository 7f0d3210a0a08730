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

// Puts a result made in the temporary directory (possibly on another drive)
// in the input's place: moved when it can be; otherwise copied to a sibling
// of the input first (input + ".dsp-copy") and that moved over the input in
// one step. The temporary result is deleted on success. On failure the input
// is unchanged and the sibling removed.
bool CopyOverInput(const std::string& result, const char* input);

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
