#include "disk_file.h"

#include "prompts.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace dsp {

namespace {

// Reads up to count bytes at the current position, looping over partial reads;
// stops early only at the end of the file or on an error.
bool ReadFully(HANDLE file, void* buffer, uint32_t count, uint32_t* got)
{
    uint8_t* p = static_cast<uint8_t*>(buffer);
    *got = 0;
    while (*got < count) {
        DWORD n = 0;
        if (!ReadFile(file, p + *got, count - *got, &n, nullptr))
            return GetLastError() == ERROR_HANDLE_EOF;
        if (n == 0)
            return true;
        *got += n;
    }
    return true;
}

bool WriteFully(HANDLE file, const void* buffer, uint32_t count)
{
    const uint8_t* p = static_cast<const uint8_t*>(buffer);
    uint32_t done = 0;
    while (done < count) {
        DWORD n = 0;
        if (!WriteFile(file, p + done, count - done, &n, nullptr) || n == 0)
            return false;
        done += n;
    }
    return true;
}

bool SeekHandle(HANDLE file, int64_t offset, DWORD method, uint64_t* newPosition = nullptr)
{
    LARGE_INTEGER to, now;
    to.QuadPart = offset;
    if (!SetFilePointerEx(file, to, &now, method))
        return false;
    if (newPosition)
        *newPosition = static_cast<uint64_t>(now.QuadPart);
    return true;
}

HANDLE OpenShared(const char* path, DWORD access)
{
    HANDLE h = CreateFileA(path, access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    return h == INVALID_HANDLE_VALUE ? nullptr : h;
}

} // namespace

DiskFile::~DiskFile()
{
    Close();
}

bool DiskFile::Open(const char* path, DWORD access, DWORD disposition, bool showMessages, bool share)
{
    Close();
    showMessages_ = showMessages;
    const char* p = path ? path : "";
    const size_t n = std::strlen(p) < MAX_PATH - 1 ? std::strlen(p) : MAX_PATH - 1;
    std::memcpy(path_, p, n);
    path_[n] = '\0';
    HANDLE h = path ? CreateFileA(path, access, share ? (FILE_SHARE_READ | FILE_SHARE_WRITE) : 0, nullptr,
                                  disposition, FILE_ATTRIBUTE_NORMAL, nullptr)
                    : INVALID_HANDLE_VALUE;
    if (h == INVALID_HANDLE_VALUE) {
        handle_ = nullptr;
        Tell("Unable to open '", (access & (GENERIC_WRITE | GENERIC_ALL | FILE_WRITE_DATA))
                                     ? "Disk Write Error"
                                     : "Disk Read Error");
        return false;
    }
    handle_ = h;
    return true;
}

void DiskFile::Close()
{
    if (handle_) {
        CloseHandle(handle_);
        handle_ = nullptr;
    }
}

void DiskFile::Tell(const char* what, const char* caption)
{
    if (!showMessages_)
        return;
    const std::string text = std::string(what) + path_ + "'";
    CurrentPrompts().Message(nullptr, text.c_str(), caption, MB_OK | MB_ICONINFORMATION);
}

bool DiskFile::MoveTo(int where)
{
    if (where == kFromStart)
        return SeekHandle(handle_, 0, FILE_BEGIN);
    if (where == kFromEnd)
        return SeekHandle(handle_, 0, FILE_END);
    return true;
}

uint32_t DiskFile::Read(void* buffer, uint32_t count, int where, bool* error)
{
    if (error)
        *error = false;
    if (!handle_) {
        if (error)
            *error = true;
        return 0;
    }
    uint32_t got = 0;
    if (!MoveTo(where) || !ReadFully(handle_, buffer, count, &got)) {
        if (error)
            *error = true;
        Tell("Unable to read from '", "Disk Read Error");
    }
    return got;
}

bool DiskFile::Write(const void* buffer, uint32_t count, int where)
{
    if (!handle_)
        return false;
    if (!MoveTo(where) || !WriteFully(handle_, buffer, count)) {
        Tell("Unable to write to '", "Disk Write Error");
        return false;
    }
    return true;
}

bool DiskFile::Seek(int64_t offset, DWORD method, uint64_t* newPosition)
{
    return handle_ && SeekHandle(handle_, offset, method, newPosition);
}

uint64_t DiskFile::Position()
{
    uint64_t at = 0;
    return Seek(0, FILE_CURRENT, &at) ? at : 0;
}

uint64_t DiskFile::Size(bool* error)
{
    return FileSize(handle_, error);
}

bool DiskFile::TruncateAt(uint64_t offset)
{
    return TruncateFileAt(handle_, offset);
}

bool DiskFile::ShiftTail(uint64_t from, int64_t delta, uint32_t chunk)
{
    return ShiftFileTail(handle_, from, delta, chunk);
}

uint32_t DiskFile::Checksum()
{
    return FileChecksum(handle_);
}

template <class Char>
bool DiskFile::ReadLineOf(Char* buffer, uint32_t length)
{
    if (buffer && length)
        buffer[0] = 0;
    if (!handle_)
        return false;
    uint32_t kept = 0;
    bool any = false;
    for (;;) {
        Char c = 0;
        DWORD n = 0;
        if (!ReadFile(handle_, &c, sizeof c, &n, nullptr) || n != sizeof c)
            break;
        any = true;
        if (c == Char('\n'))
            break;
        if (c == Char('\r')) {
            // A line feed right after the carriage return belongs to this line end;
            // anything else starts the next line and is left unread.
            Char next = 0;
            if (ReadFile(handle_, &next, sizeof next, &n, nullptr) && n == sizeof next && next != Char('\n'))
                SeekHandle(handle_, -static_cast<int64_t>(sizeof next), FILE_CURRENT);
            break;
        }
        if (buffer && kept + 1 < length)
            buffer[kept++] = c;
    }
    if (buffer && length)
        buffer[kept] = 0;
    return any;
}

bool DiskFile::ReadLine(char* buffer, uint32_t length)
{
    return ReadLineOf(buffer, length);
}

bool DiskFile::ReadLine(wchar_t* buffer, uint32_t length)
{
    static_assert(sizeof(wchar_t) == 2, "the wide form reads 16-bit characters");
    return ReadLineOf(buffer, length);
}

uint64_t FileSize(HANDLE file, bool* error)
{
    LARGE_INTEGER size;
    if (!file || !GetFileSizeEx(file, &size)) {
        if (error)
            *error = true;
        return 0;
    }
    if (error)
        *error = false;
    return static_cast<uint64_t>(size.QuadPart);
}

uint64_t FileSize(const char* path, bool* error)
{
    HANDLE h = OpenShared(path, GENERIC_READ);
    const uint64_t size = FileSize(h, error);
    if (h)
        CloseHandle(h);
    return size;
}

bool TruncateFileAt(HANDLE file, uint64_t offset)
{
    return file && SeekHandle(file, static_cast<int64_t>(offset), FILE_BEGIN) && SetEndOfFile(file);
}

bool TruncateFileAt(const char* path, uint64_t offset)
{
    HANDLE h = OpenShared(path, GENERIC_READ | GENERIC_WRITE);
    const bool ok = TruncateFileAt(h, offset);
    if (h)
        CloseHandle(h);
    return ok;
}

bool ShiftFileTail(HANDLE file, uint64_t from, int64_t delta, uint32_t chunkBytes)
{
    bool error = false;
    const uint64_t size = FileSize(file, &error);
    if (error)
        return false;
    if (delta < 0 && static_cast<uint64_t>(-delta) > from)
        return false;
    if (delta == 0)
        return true;
    if (from > size)
        from = size;
    if (chunkBytes == 0)
        chunkBytes = kShiftChunk;
    std::vector<uint8_t> chunk(chunkBytes);
    // Moves the n bytes at `at` to at + delta.
    const auto move = [&](uint64_t at, uint32_t n) {
        uint32_t got = 0;
        return SeekHandle(file, static_cast<int64_t>(at), FILE_BEGIN) &&
               ReadFully(file, chunk.data(), n, &got) && got == n &&
               SeekHandle(file, static_cast<int64_t>(at) + delta, FILE_BEGIN) &&
               WriteFully(file, chunk.data(), n);
    };
    if (delta < 0) {
        for (uint64_t at = from; at < size;) {
            const uint32_t n = static_cast<uint32_t>(size - at < chunkBytes ? size - at : chunkBytes);
            if (!move(at, n))
                return false;
            at += n;
        }
        return TruncateFileAt(file, size - static_cast<uint64_t>(-delta));
    }
    for (uint64_t end = size; end > from;) {
        const uint32_t n = static_cast<uint32_t>(end - from < chunkBytes ? end - from : chunkBytes);
        const uint64_t at = end - n;
        if (!move(at, n))
            return false;
        end = at;
    }
    return true;
}

bool ShiftFileTail(const char* path, uint64_t from, int64_t delta)
{
    HANDLE h = OpenShared(path, GENERIC_READ | GENERIC_WRITE);
    const bool ok = h && ShiftFileTail(h, from, delta);
    if (h)
        CloseHandle(h);
    return ok;
}

uint32_t FileChecksum(HANDLE file)
{
    if (!file || !SeekHandle(file, 0, FILE_BEGIN))
        return 0;
    std::vector<uint8_t> chunk(kChecksumChunk);
    uint32_t sum = 0;
    for (;;) {
        uint32_t got = 0;
        if (!ReadFully(file, chunk.data(), kChecksumChunk, &got))
            return 0;
        const uint32_t words = got / 4;
        for (uint32_t i = 0; i < words; ++i) {
            const uint8_t* p = &chunk[i * 4];
            sum += uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
        }
        for (uint32_t i = words * 4; i < got; ++i)
            sum += chunk[i];
        if (got < kChecksumChunk)
            break;
    }
    return sum ? sum : 1;
}

uint32_t FileChecksum(const char* path)
{
    HANDLE h = OpenShared(path, GENERIC_READ);
    const uint32_t sum = FileChecksum(h);
    if (h)
        CloseHandle(h);
    return sum;
}

bool GetFileTimes(HANDLE file, FILETIME* creation, FILETIME* lastAccess, FILETIME* lastWrite)
{
    return file && GetFileTime(file, creation, lastAccess, lastWrite);
}

bool GetFileTimes(const char* path, FILETIME* creation, FILETIME* lastAccess, FILETIME* lastWrite)
{
    HANDLE h = OpenShared(path, GENERIC_READ);
    const bool ok = GetFileTimes(h, creation, lastAccess, lastWrite);
    if (h)
        CloseHandle(h);
    return ok;
}

} // namespace dsp
