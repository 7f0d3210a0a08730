#include "Treplacer.h"

#include "Cubdfuncs.h"
#include "FileSteps.h"

#include <new>

namespace {

bool FileExists(const std::string& name)
{
    return GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Reads exactly `size` bytes or returns false (a short read means the source
// changed under us).
bool ReadAll(HANDLE file, char* data, DWORD size)
{
    while (size > 0) {
        DWORD got = 0;
        if (!ReadFile(file, data, size, &got, nullptr) || got == 0)
            return false;
        data += got;
        size -= got;
    }
    return true;
}

} // namespace

TReplacer::TReplacer()
{
    SetBufferSize(DefaultBufferSize);
}

TReplacer::~TReplacer()
{
    Close();
}

bool TReplacer::SetBufferSize(std::uint32_t size)
{
    if (size == 0)
        size = 1;
    if (m_pBuffer && size == m_BufferSize)
        return true;
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[size]);
    if (!buffer) {
        WriteLog("Unable to allocate a copy buffer of " + std::to_string(size) +
                 " bytes in SetBufferSize().");
        return false;
    }
    m_pBuffer = std::move(buffer);
    m_BufferSize = size;
    return true;
}

bool TReplacer::ApplyBufferSizeSetting(int kilobytes)
{
    if (kilobytes < 1 || kilobytes > 2048)
        return SetBufferSize(DefaultBufferSize);
    return SetBufferSize(static_cast<std::uint32_t>(kilobytes) * 1024u);
}

void TReplacer::SetFilename(const std::string& name)
{
    // One target at a time: the handle of an earlier activation is released first.
    Close();
    m_Filename = name;
    OpenTarget();
}

void TReplacer::OpenTarget()
{
    const std::string& name = m_Filename;
    if (!FileExists(name)) {
        WriteLog("File doens't exist in SetFilename(). Creating.");
        HANDLE created = CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
        if (created != INVALID_HANDLE_VALUE)
            CloseHandle(created);
    }

    SetFileAttributesA(name.c_str(), FILE_ATTRIBUTE_NORMAL);

    m_hFile = CreateFileA(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (m_hFile == INVALID_HANDLE_VALUE)
        WriteLog("Bad m_hFile (" + HandleText(m_hFile) + ")");
}

bool TReplacer::TargetUsable() const
{
    if (!IsOpen())
        return false;
    // A target removed under the open handle (its folder deleted) still takes
    // writes, but nobody can read them: it has no name left.
    BY_HANDLE_FILE_INFORMATION info{};
    return !GetFileInformationByHandle(m_hFile, &info) || info.nNumberOfLinks > 0;
}

void TReplacer::ReopenWhenUnusable()
{
    if (m_hFile == nullptr || TargetUsable())
        return;
    // The open of the activation failed (the game held the file, say) or its
    // file is gone: one more try now, logged as at activation when it fails.
    Close();
    OpenTarget();
}

bool TReplacer::Truncate()
{
    if (!IsOpen()) {
        WriteLog("Attempted to truncate file with bad handle. " + HandleText(m_hFile));
        return false;
    }
    LARGE_INTEGER zero{};
    if (!SetFilePointerEx(m_hFile, zero, nullptr, FILE_BEGIN) || !SetEndOfFile(m_hFile)) {
        WriteLog("Unable to truncate the file in Truncate(). " + std::to_string(GetLastError()) + ", " +
                 m_Filename);
        return false;
    }
    return true;
}

bool TReplacer::Replace(const std::string& source)
{
    if (!FileExists(source)) {
        WriteLog("Bad filename is Replace()");
        return false;
    }

    HANDLE input =
        CreateFileA(source.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (input == INVALID_HANDLE_VALUE) {
        WriteLog("Bad hInput (<=0) in Replace(). " + HandleText(input) + ", " + source);
        return false;
    }

    ReopenWhenUnusable();
    bool ok = Truncate();
    if (ok) {
        LARGE_INTEGER size{};
        LARGE_INTEGER zero{};
        if (!GetFileSizeEx(input, &size) || !SetFilePointerEx(m_hFile, zero, nullptr, FILE_BEGIN) ||
            !SetFilePointerEx(input, zero, nullptr, FILE_BEGIN)) {
            WriteLog("Unable to prepare the copy in Replace(). " + std::to_string(GetLastError()) + ", " +
                     source);
            ok = false;
        } else {
            unsigned long long remaining = static_cast<unsigned long long>(size.QuadPart);
            while (ok && remaining > 0) {
                DWORD chunk = remaining < m_BufferSize ? static_cast<DWORD>(remaining) : m_BufferSize;
                if (!ReadAll(input, m_pBuffer.get(), chunk)) {
                    WriteLog("Read failed in Replace(). " + std::to_string(GetLastError()) + ", " + source);
                    ok = false;
                } else if (!WriteAll(m_hFile, m_pBuffer.get(), chunk)) {
                    WriteLog("Write failed in Replace(). " + std::to_string(GetLastError()) + ", " +
                             m_Filename);
                    ok = false;
                } else {
                    remaining -= chunk;
                }
            }
        }
    }
    CloseHandle(input);
    return ok;
}

bool TReplacer::Close()
{
    if (m_hFile == nullptr)
        return false;
    if (m_hFile != INVALID_HANDLE_VALUE)
        CloseHandle(m_hFile);
    m_hFile = nullptr;
    return true;
}

TReplacer& Replacer()
{
    static TReplacer replacer;
    return replacer;
}
