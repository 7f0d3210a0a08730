// Temporary file and directory names, and the path helpers they use.
#pragma once

#include <windows.h>

#include <string>

namespace dsp {

// One temporary file path (up to 259 characters).
class TempFileName
{
public:
    TempFileName() = default;
    // Makes a new, empty temporary file whose name starts with `prefix` in the
    // system's temporary directory ("C:\Temp\" when there is none) and returns
    // its path.
    const char* Make(const char* prefix);
    // Removes the file when the path is not empty, and forgets the path.
    void Delete();
    const char* Path() const { return path_; }

private:
    char path_[MAX_PATH] = {};
};

// A unique, empty directory made from a temporary file name; emptied
// recursively and removed again on destruction.
class TempDirectory
{
public:
    explicit TempDirectory(const char* prefix);
    ~TempDirectory();
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;
    // The directory's path, with a trailing backslash.
    const char* Path() const { return path_; }

private:
    TempFileName name_;
    char path_[MAX_PATH] = {};
};

// The system's temporary directory with a trailing backslash, or "C:\Temp\".
std::string TemporaryDirectory();

// Appends a backslash when the path is not empty and does not end in one.
std::string AddTrailingBackslash(const std::string& path);
// The same on a fixed buffer of `size` bytes (the path is cut when it is full).
void AddTrailingBackslash(char* path, size_t size);

// Creates every directory level of `path` in turn (a path beginning with two
// backslashes skips its server and share parts). True when the whole path
// exists as a directory afterwards.
bool CreateAllDirectories(const char* path);

// Deletes every file and subdirectory inside `path` (recursively). Paths
// shorter than 4 characters are never emptied.
bool EmptyDirectory(const char* path);

} // namespace dsp
