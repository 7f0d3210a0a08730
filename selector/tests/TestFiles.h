// Scratch folders and whole-file helpers for the selector's Windows tests.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace testfiles {

inline std::string ReadAll(const std::string& path)
{
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return "<missing>";
    std::string data;
    char buf[65536];
    DWORD got = 0;
    while (ReadFile(f, buf, sizeof buf, &got, nullptr) && got > 0)
        data.append(buf, got);
    CloseHandle(f);
    return data;
}

inline bool WriteAll(const std::string& path, const std::string& data)
{
    HANDLE f =
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok =
        data.empty() || (WriteFile(f, data.data(), static_cast<DWORD>(data.size()), &written, nullptr) &&
                         written == data.size());
    CloseHandle(f);
    return ok;
}

// A failed write fails the test that asked for it.
inline void WriteOrFail(const std::string& path, const std::string& data)
{
    ASSERT_TRUE(WriteAll(path, data)) << path;
}

// The build's folders come in with "/"; Windows paths built on them use "\".
inline std::string WinPath(std::string p)
{
    for (char& c : p)
        if (c == '/')
            c = '\\';
    return p;
}

inline bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Deterministic non-trivial bytes, different for each seed.
inline std::string Pattern(std::size_t size, unsigned seed)
{
    std::string s(size, '\0');
    unsigned x = seed * 2654435761u + 12345u;
    for (std::size_t i = 0; i < size; ++i) {
        x = x * 1103515245u + 12345u;
        s[i] = static_cast<char>(x >> 16);
    }
    return s;
}

// Runs a command line to its end (at most `limitMs`) and returns its exit
// code; 9999 when it cannot start, 9998 when the code cannot be read.
inline DWORD RunAndWait(std::string cmd, DWORD limitMs = 60000)
{
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return 9999;
    WaitForSingleObject(pi.hProcess, limitMs);
    DWORD code = 9998;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return code;
}

inline void RemoveTree(const std::string& dir)
{
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string name = fd.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string path = dir + "\\" + name;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    SetFileAttributesA(dir.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryA(dir.c_str());
}

// A fresh folder under the build tree's scratch area, private to this test
// process, removed again when the object goes.
class ScratchDir
{
public:
    ScratchDir()
    {
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string base = std::string(CB_TEST_TMP) + "\\selector-a";
        CreateDirectoryA(base.c_str(), nullptr);
        m_Path = base + "\\" + (info ? std::string(info->test_suite_name()) + "." + info->name() : "x") +
                 "-" + std::to_string(GetCurrentProcessId());
        RemoveTree(m_Path);
        CreateDirectoryA(m_Path.c_str(), nullptr);
    }
    ~ScratchDir() { RemoveTree(m_Path); }
    const std::string& Path() const { return m_Path; }
    std::string operator/(const std::string& name) const { return m_Path + "\\" + name; }

private:
    std::string m_Path;
};

} // namespace testfiles
