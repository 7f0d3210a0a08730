// File steps shared by the selector's units.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

// Writes all `size` bytes at the file's position, looping over partial
// writes. False as soon as a write fails or writes nothing.
bool WriteAll(HANDLE file, const void* data, std::size_t size);

// A file rewritten through a copy beside it ("<file>-Tmp"): Begin() copies the
// file's present contents there (or starts from no file), the writes go to
// Path(), and Commit() moves the copy over the file in one step. A rewrite
// that is not committed removes its copy, so a failure half-way (a full disk)
// leaves the file as it was.
class TWholeFileRewrite
{
public:
    explicit TWholeFileRewrite(std::string target);
    ~TWholeFileRewrite();
    TWholeFileRewrite(const TWholeFileRewrite&) = delete;
    TWholeFileRewrite& operator=(const TWholeFileRewrite&) = delete;

    // False when the copy cannot be made or the file is marked read-only.
    bool Begin();
    const std::string& Path() const { return m_Temp; }
    // False, with the file untouched, when the copy cannot replace it.
    bool Commit();

private:
    std::string m_Target;
    std::string m_Temp;
    bool m_Pending = false;
};
