#include "FileSteps.h"

#include <algorithm>
#include <utility>

bool WriteAll(HANDLE file, const void* data, std::size_t size)
{
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 0x40000000));
        DWORD written = 0;
        if (!WriteFile(file, p, chunk, &written, nullptr) || written == 0)
            return false;
        p += written;
        size -= written;
    }
    return true;
}

TWholeFileRewrite::TWholeFileRewrite(std::string target)
    : m_Target(std::move(target)), m_Temp(m_Target + "-Tmp")
{}

TWholeFileRewrite::~TWholeFileRewrite()
{
    if (m_Pending)
        DeleteFileA(m_Temp.c_str());
}

bool TWholeFileRewrite::Begin()
{
    // A copy left by an earlier run that was cut off is taken over.
    SetFileAttributesA(m_Temp.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(m_Temp.c_str());
    const DWORD attributes = GetFileAttributesA(m_Target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return false;
    m_Pending = true; // from here on the copy goes again unless committed, a part-made one too
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (!CopyFileA(m_Target.c_str(), m_Temp.c_str(), FALSE))
            return false;
        SetFileAttributesA(m_Temp.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    return true;
}

bool TWholeFileRewrite::Commit()
{
    if (!m_Pending)
        return false;
    if (!MoveFileExA(m_Temp.c_str(), m_Target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return false;
    m_Pending = false;
    return true;
}
