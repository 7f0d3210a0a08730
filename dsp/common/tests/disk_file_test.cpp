// DiskFile and the file utilities on real files under Wine: short reads,
// read-only and locked files with their exact messages, tail shifts across
// chunk boundaries, checksums, lines, times, temporary names and the
// replace step.
#include "disk_file.h"
#include "prompts.h"
#include "replace.h"
#include "temp_file.h"
#include "testing/plugin_under_test.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using dsp::DiskFile;
using dsp::testing::ReadFileBytes;
using dsp::testing::WriteFileBytes;

std::vector<uint8_t> Pattern(size_t n, uint32_t seed = 1)
{
    std::vector<uint8_t> v(n);
    for (size_t i = 0; i < n; ++i) {
        seed = seed * 1664525u + 1013904223u;
        v[i] = static_cast<uint8_t>(seed >> 24);
    }
    return v;
}

TEST(DiskFile, OpenFailuresShowTheirMessagesOnlyWhenAsked)
{
    const std::string dir = dsp::testing::ScratchDir();
    const std::string missing = dir + "missing.raw";
    // A file another program holds open for reading only: it can be read here but not written.
    const std::string readOnly = dir + "readonly.raw";
    ASSERT_TRUE(WriteFileBytes(readOnly, {1, 2, 3}));
    HANDLE reader =
        CreateFileA(readOnly.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);

    dsp::ScriptedPrompts prompts;
    dsp::PromptsScope scope(prompts);
    DiskFile f;
    EXPECT_FALSE(f.Open(missing.c_str(), GENERIC_READ, OPEN_EXISTING, true));
    EXPECT_FALSE(f.IsOpen());
    EXPECT_FALSE(f.Open(readOnly.c_str(), GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING, true));
    EXPECT_FALSE(f.Open(missing.c_str(), GENERIC_WRITE, OPEN_EXISTING, false)); // silent
    ASSERT_EQ(prompts.Calls.size(), 2u);
    EXPECT_EQ(prompts.Calls[0].text, "Unable to open '" + missing + "'");
    EXPECT_EQ(prompts.Calls[0].caption, "Disk Read Error");
    EXPECT_EQ(prompts.Calls[0].type, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
    EXPECT_EQ(prompts.Calls[0].owner, nullptr);
    EXPECT_EQ(prompts.Calls[1].text, "Unable to open '" + readOnly + "'");
    EXPECT_EQ(prompts.Calls[1].caption, "Disk Write Error");

    // Reading a read-only file works; writing through a read-only handle fails loudly.
    ASSERT_TRUE(f.Open(readOnly.c_str(), GENERIC_READ, OPEN_EXISTING, true));
    uint8_t b[3] = {};
    EXPECT_EQ(f.Read(b, 3, dsp::kFromStart), 3u);
    EXPECT_FALSE(f.Write(b, 3, dsp::kFromStart));
    ASSERT_EQ(prompts.Calls.size(), 3u);
    EXPECT_EQ(prompts.Calls[2].text, "Unable to write to '" + readOnly + "'");
    EXPECT_EQ(prompts.Calls[2].caption, "Disk Write Error");
    f.Close();
    CloseHandle(reader);
    EXPECT_EQ(ReadFileBytes(readOnly), (std::vector<uint8_t>{1, 2, 3}));
}

TEST(DiskFile, LockedFileCannotBeOpenedAndSharingAllowsTwoHandles)
{
    const std::string path = dsp::testing::ScratchFile("locked.raw");
    ASSERT_TRUE(WriteFileBytes(path, {9, 9}));
    HANDLE lock =
        CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    DiskFile f;
    EXPECT_FALSE(f.Open(path.c_str(), GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING));
    CloseHandle(lock);

    DiskFile a, b;
    ASSERT_TRUE(a.Open(path.c_str(), GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING));
    EXPECT_TRUE(b.Open(path.c_str(), GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING));
    b.Close();
    // Without sharing, a second opener is refused while this one is open.
    DiskFile exclusive;
    a.Close();
    ASSERT_TRUE(exclusive.Open(path.c_str(), GENERIC_READ, OPEN_EXISTING, false, false));
    EXPECT_FALSE(b.Open(path.c_str(), GENERIC_READ, OPEN_EXISTING));
}

TEST(DiskFile, ReadsShortSilentlyAndFailsOnClosedFiles)
{
    const std::string path = dsp::testing::ScratchFile("short.raw");
    const std::vector<uint8_t> data = Pattern(1000);
    ASSERT_TRUE(WriteFileBytes(path, data));

    dsp::ScriptedPrompts prompts;
    dsp::PromptsScope scope(prompts);
    DiskFile f;
    std::vector<uint8_t> buffer(4096, 0);
    bool error = true;
    EXPECT_EQ(f.Read(buffer.data(), 10, dsp::kCurrent, &error), 0u);
    EXPECT_TRUE(error); // closed
    EXPECT_FALSE(f.Write(buffer.data(), 10));

    ASSERT_TRUE(f.Open(path.c_str(), GENERIC_READ, OPEN_EXISTING, true));
    EXPECT_EQ(f.Size(), 1000u);
    ASSERT_TRUE(f.Seek(900));
    EXPECT_EQ(f.Read(buffer.data(), 4096, dsp::kCurrent, &error), 100u);
    EXPECT_FALSE(error);
    EXPECT_TRUE(std::equal(data.begin() + 900, data.end(), buffer.begin()));
    EXPECT_EQ(f.Read(buffer.data(), 4096, dsp::kCurrent, &error), 0u);
    EXPECT_FALSE(error);
    EXPECT_EQ(f.Read(buffer.data(), 4, dsp::kFromStart), 4u);
    EXPECT_TRUE(std::equal(data.begin(), data.begin() + 4, buffer.begin()));
    EXPECT_TRUE(prompts.Calls.empty());
    f.Close();
    f.Close(); // closing twice does nothing

    // A read that fails for another reason than the end of the file is an error.
    ASSERT_TRUE(f.Open(path.c_str(), GENERIC_WRITE, OPEN_EXISTING, true));
    EXPECT_EQ(f.Read(buffer.data(), 10, dsp::kFromStart, &error), 0u);
    EXPECT_TRUE(error);
    ASSERT_EQ(prompts.Calls.size(), 1u);
    EXPECT_EQ(prompts.Calls[0].text, "Unable to read from '" + path + "'");
    EXPECT_EQ(prompts.Calls[0].caption, "Disk Read Error");
}

TEST(DiskFile, WritesAtStartEndAndCurrentPosition)
{
    const std::string path = dsp::testing::ScratchFile("write.raw");
    DiskFile f;
    ASSERT_TRUE(f.Open(path.c_str(), GENERIC_READ | GENERIC_WRITE, CREATE_ALWAYS));
    const uint8_t abc[] = {'a', 'b', 'c'};
    const uint8_t x[] = {'x'};
    ASSERT_TRUE(f.Write(abc, 3));
    ASSERT_TRUE(f.Write(abc, 3, dsp::kFromEnd));
    ASSERT_TRUE(f.Write(x, 1, dsp::kFromStart));
    ASSERT_TRUE(f.Seek(-1, FILE_END));
    ASSERT_TRUE(f.Write(x, 1));
    uint64_t at = 0;
    ASSERT_TRUE(f.Seek(0, FILE_CURRENT, &at));
    EXPECT_EQ(at, 6u);
    EXPECT_TRUE(f.TruncateAt(5));
    bool error = true;
    EXPECT_EQ(f.Size(&error), 5u);
    EXPECT_FALSE(error);
    f.Close();
    EXPECT_EQ(ReadFileBytes(path), (std::vector<uint8_t>{'x', 'b', 'c', 'a', 'b'}));
    error = false;
    EXPECT_EQ(dsp::FileSize((path + ".none").c_str(), &error), 0u);
    EXPECT_TRUE(error);
    EXPECT_TRUE(dsp::TruncateFileAt(path.c_str(), 2));
    EXPECT_EQ(ReadFileBytes(path), (std::vector<uint8_t>{'x', 'b'}));
}

std::vector<uint8_t> Shifted(const std::vector<uint8_t>& orig, size_t from, long delta)
{
    std::vector<uint8_t> out(orig.size() + delta, 0);
    for (size_t i = 0; i < out.size(); ++i) {
        if (delta < 0)
            out[i] = i < from + delta ? orig[i] : orig[i - delta];
        else if (i < from)
            out[i] = orig[i];
        else if (i < from + delta)
            out[i] = i < orig.size() ? orig[i] : 0;
        else
            out[i] = orig[i - delta];
    }
    return out;
}

TEST(DiskFile, ShiftsTheTailBothWaysAcrossChunkBoundaries)
{
    struct
    {
        size_t size, from;
        long delta;
    } cases[] = {
        {40000, 1000, -1000},  // two chunks to the front, 39000 bytes left
        {100000, 5000, 40000}, // back to front, several chunks, file grows
        {70000, 3, -3},        {65537, 32768, 1}, {32768, 0, 32768}, {98304, 32768, -32768}, {10, 4, 2},
    };
    const std::string dir = dsp::testing::ScratchDir();
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.size << " bytes from " << c.from << " by " << c.delta);
        const std::string path = dir + "shift.raw";
        const std::vector<uint8_t> orig = Pattern(c.size, static_cast<uint32_t>(c.size));
        ASSERT_TRUE(WriteFileBytes(path, orig));
        DiskFile f;
        ASSERT_TRUE(f.Open(path.c_str(), GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING));
        EXPECT_TRUE(f.ShiftTail(c.from, c.delta));
        f.Close();
        const std::vector<uint8_t> got = ReadFileBytes(path);
        ASSERT_EQ(got.size(), c.size + c.delta);
        EXPECT_TRUE(got == Shifted(orig, c.from, c.delta));
        // The free function does the same on a path.
        ASSERT_TRUE(WriteFileBytes(path, orig));
        EXPECT_TRUE(dsp::ShiftFileTail(path.c_str(), c.from, c.delta));
        EXPECT_TRUE(ReadFileBytes(path) == got);
    }
    // Moving bytes before the start is refused and changes nothing.
    const std::string path = dir + "refused.raw";
    ASSERT_TRUE(WriteFileBytes(path, Pattern(100)));
    EXPECT_FALSE(dsp::ShiftFileTail(path.c_str(), 10, -11));
    EXPECT_EQ(ReadFileBytes(path), Pattern(100));
    EXPECT_FALSE(dsp::ShiftFileTail((dir + "none.raw").c_str(), 0, 5));
}

TEST(DiskFile, ChecksumSumsLittleEndianWordsAndTrailingBytes)
{
    const std::vector<uint8_t> big = Pattern(65536 * 2 + 7, 77);
    uint32_t bigSum = 0;
    for (size_t i = 0; i + 4 <= big.size(); i += 4)
        bigSum += big[i] | (big[i + 1] << 8) | (big[i + 2] << 16) | (uint32_t(big[i + 3]) << 24);
    for (size_t i = big.size() / 4 * 4; i < big.size(); ++i)
        bigSum += big[i];
    struct
    {
        std::vector<uint8_t> bytes;
        uint32_t sum;
    } cases[] = {
        {std::vector<uint8_t>(1000, 0), 1}, // all zero gives 1
        {{}, 1},
        {{1, 0, 0, 0, 2, 0, 0, 0}, 3},
        {{0x78, 0x56, 0x34, 0x12}, 0x12345678},
        {{0, 0, 0, 0, 5, 6, 7}, 18},               // trailing bytes added singly
        {{0xFF, 0xFF, 0xFF, 0xFF, 1, 0, 0, 0}, 1}, // wraps to 0, reported as 1
        {{0xFF, 0xFF, 0xFF, 0xFF, 2}, 1},
        {big, bigSum ? bigSum : 1},
    };
    const std::string path = dsp::testing::ScratchFile("sum.raw");
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteFileBytes(path, c.bytes));
        EXPECT_EQ(dsp::FileChecksum(path.c_str()), c.sum) << c.bytes.size() << " bytes";
        DiskFile f;
        ASSERT_TRUE(f.Open(path.c_str(), GENERIC_READ, OPEN_EXISTING));
        EXPECT_EQ(f.Checksum(), c.sum);
    }
    EXPECT_EQ(dsp::FileChecksum((path + ".none").c_str()), 0u);
}

TEST(DiskFile, ReadsLinesInBothForms)
{
    const std::string path = dsp::testing::ScratchFile("lines.txt");
    const std::string text = "ab\r\ncd\ref\n\nlonger line\ngh";
    ASSERT_TRUE(WriteFileBytes(path, std::vector<uint8_t>(text.begin(), text.end())));
    DiskFile f;
    ASSERT_TRUE(f.Open(path.c_str(), GENERIC_READ, OPEN_EXISTING));
    char line[8];
    std::vector<std::string> lines;
    while (f.ReadLine(line, sizeof line))
        lines.push_back(line);
    EXPECT_EQ(lines, (std::vector<std::string>{"ab", "cd", "ef", "", "longer ", "gh"}));
    f.Close();

    const std::wstring wide = L"one\r\ntwo\nthree";
    std::vector<uint8_t> bytes(reinterpret_cast<const uint8_t*>(wide.data()),
                               reinterpret_cast<const uint8_t*>(wide.data() + wide.size()));
    ASSERT_TRUE(WriteFileBytes(path, bytes));
    ASSERT_TRUE(f.Open(path.c_str(), GENERIC_READ, OPEN_EXISTING));
    wchar_t wline[32];
    std::vector<std::wstring> wlines;
    while (f.ReadLine(wline, 32))
        wlines.push_back(wline);
    EXPECT_EQ(wlines, (std::vector<std::wstring>{L"one", L"two", L"three"}));
}

TEST(DiskFile, ReportsFileTimes)
{
    const std::string path = dsp::testing::ScratchFile("times.raw");
    ASSERT_TRUE(WriteFileBytes(path, {1}));
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    FILETIME set{};
    set.dwLowDateTime = 0x12345600; // whole seconds are kept by every file system
    set.dwHighDateTime = 0x01D00000;
    ASSERT_TRUE(SetFileTime(h, nullptr, nullptr, &set));
    CloseHandle(h);
    FILETIME created{}, accessed{}, written{};
    ASSERT_TRUE(dsp::GetFileTimes(path.c_str(), &created, &accessed, &written));
    EXPECT_EQ(written.dwHighDateTime, set.dwHighDateTime);
    EXPECT_NEAR(double(written.dwLowDateTime), double(set.dwLowDateTime), 1e7);
    EXPECT_FALSE(dsp::GetFileTimes((path + ".none").c_str(), &created, &accessed, &written));
}

TEST(TempFiles, MakesEmptyFilesAndEmptiesDirectories)
{
    dsp::TempFileName name;
    const std::string path = name.Make("DSP");
    ASSERT_FALSE(path.empty());
    EXPECT_TRUE(dsp::testing::FileExists(path));
    EXPECT_TRUE(ReadFileBytes(path).empty());
    const std::string dir = dsp::TemporaryDirectory();
    EXPECT_EQ(dir.back(), '\\');
    EXPECT_EQ(path.rfind(dir + "DSP", 0), 0u) << path << " not in " << dir;
    name.Delete();
    EXPECT_FALSE(dsp::testing::FileExists(path));
    EXPECT_STREQ(name.Path(), "");
    name.Delete(); // nothing to delete

    std::string made;
    {
        dsp::TempDirectory temp("DSP");
        made = temp.Path();
        ASSERT_EQ(made.back(), '\\');
        ASSERT_TRUE(CreateDirectoryA((made + "sub").c_str(), nullptr));
        ASSERT_TRUE(WriteFileBytes(made + "a.raw", {1}));
        ASSERT_TRUE(WriteFileBytes(made + "sub\\b.raw", {2}));
        ASSERT_TRUE(SetFileAttributesA((made + "a.raw").c_str(), FILE_ATTRIBUTE_READONLY));
    }
    EXPECT_FALSE(dsp::testing::FileExists(made));
    EXPECT_FALSE(dsp::EmptyDirectory("C:")); // too short to be emptied
}

TEST(TempFiles, FallsBackToANumberedNameAndCreatesAMissingDirectory)
{
    // A temporary directory that does not exist yet: the system cannot make a
    // unique name there, so the name is "<dir><prefix><n>.tmp" and the
    // directory is created for it.
    const std::string missing = dsp::testing::ScratchDir() + "not\\there\\";
    char oldTmp[MAX_PATH] = {}, oldTemp[MAX_PATH] = {};
    GetEnvironmentVariableA("TMP", oldTmp, MAX_PATH);
    GetEnvironmentVariableA("TEMP", oldTemp, MAX_PATH);
    SetEnvironmentVariableA("TMP", missing.c_str());
    SetEnvironmentVariableA("TEMP", missing.c_str());
    dsp::TempFileName name;
    const std::string path = name.Make("DSP");
    SetEnvironmentVariableA("TMP", oldTmp[0] ? oldTmp : nullptr);
    SetEnvironmentVariableA("TEMP", oldTemp[0] ? oldTemp : nullptr);

    ASSERT_EQ(path.rfind(missing + "DSP", 0), 0u) << path;
    ASSERT_GT(path.size(), missing.size() + 7);
    EXPECT_EQ(path.substr(path.size() - 4), ".tmp");
    const std::string digits = path.substr(missing.size() + 3, path.size() - missing.size() - 7);
    ASSERT_FALSE(digits.empty());
    EXPECT_EQ(digits.find_first_not_of("0123456789"), std::string::npos) << digits;
    EXPECT_LT(std::stoi(digits), 9999);
    EXPECT_TRUE(dsp::testing::FileExists(path));
    name.Delete();
    EXPECT_FALSE(dsp::testing::FileExists(path));
}

TEST(TempFiles, PathHelpers)
{
    EXPECT_EQ(dsp::AddTrailingBackslash(""), "");
    EXPECT_EQ(dsp::AddTrailingBackslash("C:\\a"), "C:\\a\\");
    EXPECT_EQ(dsp::AddTrailingBackslash("C:\\a\\"), "C:\\a\\");
    char fixed[6] = "C:\\ab";
    dsp::AddTrailingBackslash(fixed, sizeof fixed); // full: left as it is
    EXPECT_STREQ(fixed, "C:\\ab");
    char room[8] = "C:\\ab";
    dsp::AddTrailingBackslash(room, sizeof room);
    EXPECT_STREQ(room, "C:\\ab\\");

    const std::string base = dsp::testing::ScratchDir();
    const std::string deep = base + "one\\two\\three\\";
    EXPECT_TRUE(dsp::CreateAllDirectories(deep.c_str()));
    const DWORD a = GetFileAttributesA(deep.c_str());
    EXPECT_TRUE(a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_TRUE(dsp::CreateAllDirectories((base + "one\\two").c_str())); // already there
}

TEST(Replace, MovesTheResultOverTheInputInOneStepOrLeavesBothAlone)
{
    const std::string dir = dsp::testing::ScratchDir();
    const std::string input = dir + "input.raw";
    const std::string sibling = dsp::SiblingPath(input.c_str(), "-Tmp");
    EXPECT_EQ(sibling, input + "-Tmp");

    ASSERT_TRUE(WriteFileBytes(input, {1, 2, 3}));
    ASSERT_TRUE(WriteFileBytes(sibling, {7, 8}));
    {
        dsp::RemoveOnExit guard(sibling);
        ASSERT_TRUE(dsp::ReplaceInput(sibling, input.c_str()));
        guard.Release();
    }
    EXPECT_EQ(ReadFileBytes(input), (std::vector<uint8_t>{7, 8}));
    EXPECT_FALSE(dsp::testing::FileExists(sibling));

    // A missing result replaces nothing.
    EXPECT_FALSE(dsp::ReplaceInput(sibling, input.c_str()));
    EXPECT_EQ(ReadFileBytes(input), (std::vector<uint8_t>{7, 8}));

    // An input held open without sharing cannot be replaced: it stays, and the
    // guard removes the leftover result.
    ASSERT_TRUE(WriteFileBytes(sibling, {5}));
    HANDLE lock = CreateFileA(input.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    {
        dsp::RemoveOnExit guard(sibling);
        EXPECT_FALSE(dsp::ReplaceInput(sibling, input.c_str()));
    }
    CloseHandle(lock);
    EXPECT_EQ(ReadFileBytes(input), (std::vector<uint8_t>{7, 8}));
    EXPECT_FALSE(dsp::testing::FileExists(sibling));
}

} // namespace
