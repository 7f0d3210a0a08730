#include "replace.h"

#include <windows.h>

namespace dsp {

std::string SiblingPath(const char* input, const char* ending)
{
    return std::string(input ? input : "") + (ending ? ending : "");
}

bool ReplaceInput(const std::string& result, const char* input)
{
    if (!input || result.empty())
        return false;
    return MoveFileExA(result.c_str(), input, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

bool CopyOverInput(const std::string& result, const char* input)
{
    if (!input || result.empty())
        return false;
    // Same volume: the atomic move. Otherwise a copy beside the input, then the move.
    if (ReplaceInput(result, input))
        return true;
    const std::string sibling = SiblingPath(input, ".dsp-copy");
    RemoveOnExit guard(sibling);
    if (!CopyFileA(result.c_str(), sibling.c_str(), FALSE) || !ReplaceInput(sibling, input))
        return false;
    guard.Release();
    DeleteFileA(result.c_str());
    return true;
}

RemoveOnExit::RemoveOnExit(std::string path) : path_(std::move(path)) {}

RemoveOnExit::~RemoveOnExit()
{
    if (!path_.empty())
        DeleteFileA(path_.c_str());
}

} // namespace dsp
