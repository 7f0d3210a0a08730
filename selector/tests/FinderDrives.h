// Drive letters for the finder's tests. The tests run through
// finder-drives.sh, which gives them a Wine prefix whose only fixed drives are
// D:, E:, F: (empty test folders) and L: (holding Loop\Back, a link back to L:\).
#pragma once

#include "TestFiles.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace testfiles {

inline const char* const kTreeDrives = "DEF";

inline std::string FixedDriveLetters()
{
    std::string letters;
    DWORD mask = GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        std::string root = std::string(1, static_cast<char>('A' + i)) + ":\\";
        if ((mask & (1u << i)) && GetDriveTypeA(root.c_str()) == DRIVE_FIXED)
            letters += static_cast<char>('A' + i);
    }
    return letters;
}

// Creates every path of `paths`: a path ending in "\" is a folder, any other
// a small file (its folders made first).
inline void Build(const std::vector<std::string>& paths)
{
    for (const std::string& path : paths) {
        for (std::size_t sep = path.find('\\', 3); sep != std::string::npos; sep = path.find('\\', sep + 1))
            CreateDirectoryA(path.substr(0, sep).c_str(), nullptr);
        if (path.back() != '\\') {
            ASSERT_TRUE(WriteAll(path, "marker")) << path;
        }
    }
}

// Empties the tree drives and takes the marker out of L:\Loop (the link
// there stays: Wine cannot remove it, and every search must get past it).
inline void ClearDrives()
{
    for (const char* d = kTreeDrives; *d; ++d) {
        std::string root = std::string(1, *d) + ":\\";
        WIN32_FIND_DATAA fd;
        HANDLE h = FindFirstFileA((root + "*").c_str(), &fd);
        if (h == INVALID_HANDLE_VALUE)
            continue;
        std::vector<std::string> names;
        do {
            std::string name = fd.cFileName;
            if (name != "." && name != "..")
                names.push_back(root + name);
        } while (FindNextFileA(h, &fd));
        FindClose(h);
        for (const std::string& path : names) {
            if (GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileA(path.c_str());
        }
    }
    DeleteFileA("L:\\Loop\\WONAuth.dll");
}

// Checks that the process runs in the prepared prefix and empties the drives
// before and after each test.
class OnMappedDrives : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const char* mapped = std::getenv("CB_FINDER_DRIVES");
        ASSERT_TRUE(mapped && FixedDriveLetters() == mapped)
            << "run through selector/tests/finder-drives.sh: fixed drives here are \"" << FixedDriveLetters()
            << "\"";
        ClearDrives();
    }
    void TearDown() override { ClearDrives(); }
};

} // namespace testfiles
