// The file class every effect reads and writes through, with its optional
// message boxes, plus the whole-file utilities in free-function form.
#pragma once

#include <windows.h>

#include <cstdint>

namespace dsp {

// Where Read and Write start: move to the start first, to the end first, or
// stay at the current position.
enum FilePosition : int { kFromStart = 0, kFromEnd = 1, kCurrent = 2 };

// Chunk sizes of the whole-file utilities.
constexpr uint32_t kShiftChunk = 32768;
constexpr uint32_t kChecksumChunk = 65536;

class DiskFile
{
public:
    DiskFile() = default;
    ~DiskFile();
    DiskFile(const DiskFile&) = delete;
    DiskFile& operator=(const DiskFile&) = delete;

    // Opens with the given rights (GENERIC_READ / GENERIC_WRITE) and creation
    // disposition (OPEN_EXISTING, CREATE_ALWAYS, ...), normal attributes, sharing
    // read and write when `share` is true. On failure the file stays closed and,
    // when showMessages is set, "Unable to open '<path>'" is shown with the
    // caption "Disk Write Error" (rights include writing) or "Disk Read Error".
    bool Open(const char* path, DWORD access, DWORD disposition, bool showMessages = false,
              bool share = true);
    bool IsOpen() const { return handle_ != nullptr; }
    void Close();
    HANDLE Handle() const { return handle_; }
    const char* Path() const { return path_; }

    // Reads up to `count` bytes. A short read at the end of the file is silent
    // and returns the short count; another error sets *error (and shows
    // "Unable to read from '<path>'" when messages are on). A closed file
    // returns 0 and sets *error.
    uint32_t Read(void* buffer, uint32_t count, int where = kCurrent, bool* error = nullptr);

    // Writes all `count` bytes, looping over partial writes; false (and
    // "Unable to write to '<path>'" when messages are on) unless every byte
    // was written.
    bool Write(const void* buffer, uint32_t count, int where = kCurrent);

    // Moves the file pointer; `method` is FILE_BEGIN, FILE_CURRENT or FILE_END.
    bool Seek(int64_t offset, DWORD method = FILE_BEGIN, uint64_t* newPosition = nullptr);
    // The current position (0 when it cannot be read).
    uint64_t Position();

    // The size in bytes; 0 with *error set when it cannot be read.
    uint64_t Size(bool* error = nullptr);

    // Seeks to `offset` from the start and ends the file there.
    bool TruncateAt(uint64_t offset);

    // Moves every byte from `from` to the end by `delta` bytes, in chunks of
    // `chunk` bytes. A negative delta copies front to back and then ends the
    // file at old size + delta; a positive delta copies back to front and
    // leaves the file longer. False when delta would move bytes before the
    // start, or on any read or write failure.
    bool ShiftTail(uint64_t from, int64_t delta, uint32_t chunk = kShiftChunk);

    // Sum modulo 2^32 of the file as little-endian 32-bit words, the 1 to 3
    // trailing bytes added singly; 0 when a read fails, 1 when the sum is 0.
    uint32_t Checksum();

    // Reads one line from the current position into `buffer` (at most length-1
    // characters kept, always terminated). A line ends at a line feed, or at a
    // carriage return, which also consumes a line feed right after it. False at
    // the end of the file with nothing read.
    bool ReadLine(char* buffer, uint32_t length);
    bool ReadLine(wchar_t* buffer, uint32_t length);

private:
    bool MoveTo(int where);
    void Tell(const char* what, const char* caption);
    template <class Char>
    bool ReadLineOf(Char* buffer, uint32_t length);

    HANDLE handle_ = nullptr;
    char path_[MAX_PATH] = {};
    bool showMessages_ = false;
};

// The whole-file utilities for a path (opened sharing read and write,
// open-existing, and closed again) and for an open handle.
uint64_t FileSize(const char* path, bool* error = nullptr);
uint64_t FileSize(HANDLE file, bool* error = nullptr);
bool TruncateFileAt(const char* path, uint64_t offset);
bool TruncateFileAt(HANDLE file, uint64_t offset);
bool ShiftFileTail(const char* path, uint64_t from, int64_t delta);
bool ShiftFileTail(HANDLE file, uint64_t from, int64_t delta, uint32_t chunk = kShiftChunk);
uint32_t FileChecksum(const char* path);
uint32_t FileChecksum(HANDLE file);
bool GetFileTimes(const char* path, FILETIME* creation, FILETIME* lastAccess, FILETIME* lastWrite);
bool GetFileTimes(HANDLE file, FILETIME* creation, FILETIME* lastAccess, FILETIME* lastWrite);

} // namespace dsp
