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

RemoveOnExit::RemoveOnExit(std::string path) : path_(std::move(path)) {}

RemoveOnExit::~RemoveOnExit()
{
    if (!path_.empty())
        DeleteFileA(path_.c_str());
}

} // namespace dsp
