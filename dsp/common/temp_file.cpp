#include "temp_file.h"

#include "core/name_generator.h"

#include <cstdio>
#include <cstring>

namespace dsp {

namespace {

void CopyBounded(char* to, size_t size, const char* from)
{
    const size_t n = std::strlen(from) < size - 1 ? std::strlen(from) : size - 1;
    std::memcpy(to, from, n);
    to[n] = '\0';
}

bool CreateEmpty(const char* path)
{
    HANDLE h = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(h);
    return true;
}

bool IsDirectory(const std::string& path)
{
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

std::string AddTrailingBackslash(const std::string& path)
{
    if (path.empty() || path.back() == '\\')
        return path;
    return path + '\\';
}

void AddTrailingBackslash(char* path, size_t size)
{
    const size_t n = std::strlen(path);
    if (n == 0 || path[n - 1] == '\\' || n + 1 >= size)
        return;
    path[n] = '\\';
    path[n + 1] = '\0';
}

std::string TemporaryDirectory()
{
    char dir[MAX_PATH + 1] = {};
    const DWORD n = GetTempPathA(MAX_PATH, dir);
    if (n == 0 || n > MAX_PATH)
        return "C:\\Temp\\";
    return AddTrailingBackslash(std::string(dir));
}

bool CreateAllDirectories(const char* path)
{
    if (!path || !*path)
        return false;
    std::string p(path);
    for (char& c : p)
        if (c == '/')
            c = '\\';
    size_t at = 0;
    if (p.size() > 1 && p[0] == '\\' && p[1] == '\\') {
        // \\server\share\ : the first level that can be created comes after both.
        at = p.find('\\', 2);
        at = at == std::string::npos ? p.size() : p.find('\\', at + 1);
        if (at == std::string::npos)
            return IsDirectory(p);
    }
    while (at < p.size()) {
        size_t next = p.find('\\', at + 1);
        if (next == std::string::npos)
            next = p.size();
        const std::string level = p.substr(0, next);
        if (!level.empty() && level.back() != ':' && level != "\\" && !IsDirectory(level))
            CreateDirectoryA(level.c_str(), nullptr);
        at = next;
    }
    std::string whole = p;
    while (whole.size() > 3 && whole.back() == '\\')
        whole.pop_back();
    return IsDirectory(whole);
}

bool EmptyDirectory(const char* path)
{
    if (!path || std::strlen(path) < 4)
        return false;
    const std::string dir = AddTrailingBackslash(std::string(path));
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dir + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return true;
    bool ok = true;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        const std::string full = dir + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            ok = EmptyDirectory(full.c_str()) && ok;
            ok = RemoveDirectoryA(full.c_str()) && ok;
        } else {
            if (found.dwFileAttributes & FILE_ATTRIBUTE_READONLY)
                SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            ok = DeleteFileA(full.c_str()) && ok;
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return ok;
}

const char* TempFileName::Make(const char* prefix)
{
    path_[0] = '\0';
    const std::string dir = TemporaryDirectory();
    const char* pre = prefix ? prefix : "";
    char name[MAX_PATH] = {};
    if (!GetTempFileNameA(dir.c_str(), pre, 0, name) || !name[0])
        std::snprintf(name, sizeof name, "%s%s%d.tmp", dir.c_str(), pre,
                      static_cast<int>(RandomNameNumber(9999)));
    CopyBounded(path_, sizeof path_, name);
    if (!CreateEmpty(path_)) {
        CreateAllDirectories(dir.c_str());
        CreateEmpty(path_);
    }
    return path_;
}

void TempFileName::Delete()
{
    if (path_[0]) {
        DeleteFileA(path_);
        path_[0] = '\0';
    }
}

TempDirectory::TempDirectory(const char* prefix)
{
    name_.Make(prefix);
    CopyBounded(path_, sizeof path_, name_.Path());
    DeleteFileA(path_);
    AddTrailingBackslash(path_, sizeof path_);
    CreateDirectoryA(path_, nullptr);
}

TempDirectory::~TempDirectory()
{
    if (std::strlen(path_) >= 4) {
        EmptyDirectory(path_);
        RemoveDirectoryA(path_);
    }
    // The name's file is already gone; forget it without touching the disk again.
    name_.Delete();
}

} // namespace dsp
