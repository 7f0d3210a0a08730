// The real Auxiliary.exe against the faults of its surroundings, one table a
// family: a converter that is missing, not a program, fails, crashes or never
// ends; job files that cannot be written; a damaged skin; damaged registry
// values; a huge or long-lined genre file; two recorders at once. The rule in every row: the program
// does not crash, its window keeps answering, no job file is left
// half-written, and the user hears of a fault only where the recorder
// speaks (the "not installed" message for a converter that cannot start).
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "main_window_ids.h"
#include "modal_driver.h"
#include "options_ids.h"
#include "recorder_program.h"
#include "recorder_registry.h"
#include "recorder_settings.h"
#include "standin_files.h"
#include "testing/plugin_under_test.h"

namespace {

namespace t = auxiliary::testing;
namespace keys = auxiliary::settings;
using t::RecorderProgram;

constexpr const char* kNotInstalledCaption = "Tonvask Recaster";
constexpr const char* kNotInstalledText = "Tonvask Recaster is not installed!.";

std::string CallsFile(const RecorderProgram& program)
{
    return program.Folder() + "RecasterStandin-calls.txt";
}

void TellConverter(const RecorderProgram& program, const std::string& lines)
{
    ASSERT_TRUE(t::WriteAll(program.Folder() + "RecasterStandin.ini", "[Standin]\r\n" + lines));
}

// A job file is either absent or whole: the one-track job of a fresh window.
void ExpectJobFile(const std::string& path, bool present, const std::string& record)
{
    SCOPED_TRACE(path);
    EXPECT_EQ(dsp::testing::FileExists(path), present);
    if (present)
        EXPECT_EQ(t::ReadAll(path), t::Record(record));
}

TEST(AuxConverterFaults, EachFaultEndsTheRunWithTheWindowBackAndNoJobHalfWritten)
{
    t::RecorderRegistryScope registry;
    struct Row
    {
        const char* what;
        std::function<void(const RecorderProgram&)> inject;
        bool converterRuns; // the stand-in wrote its command line
        bool notInstalled;  // the message box of a converter that cannot start
        bool jobFilesStay;  // whole, for the converter that owns them
    } rows[] = {
        {"Recaster.exe missing",
         [](const RecorderProgram& p) { DeleteFileA((p.Folder() + "Recaster.exe").c_str()); }, false, true,
         false},
        {"Recaster.exe not a program",
         [](const RecorderProgram& p) {
             ASSERT_TRUE(t::WriteAll(p.Folder() + "Recaster.exe", std::string(4096, '\x5A') + "garbage"));
         },
         false, true, false},
        {"the converter exits at once with an error code",
         [](const RecorderProgram& p) { TellConverter(p, "ExitCode=3\r\n"); }, true, false, true},
        {"the converter crashes", [](const RecorderProgram& p) { TellConverter(p, "Crash=1\r\n"); }, true,
         false, true},
        {"AddThis.Bin cannot be created",
         [](const RecorderProgram& p) { CreateDirectoryA((p.Folder() + "AddThis.Bin").c_str(), nullptr); },
         false, false, false},
        {"AddThisOuputTo.Bin cannot be created",
         [](const RecorderProgram& p) {
             CreateDirectoryA((p.Folder() + "AddThisOuputTo.Bin").c_str(), nullptr);
         },
         false, false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        RecorderProgram program;
        row.inject(program);
        HWND main = program.Start();
        ASSERT_NE(main, nullptr);
        program.Click(IDC_BUTTON_RECORD);

        if (row.notInstalled) {
            HWND box = program.WaitForDialog(kNotInstalledCaption);
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(t::WindowText(GetDlgItem(box, 0xFFFF)), kNotInstalledText);
            EXPECT_TRUE(t::Answers(main));
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            EXPECT_TRUE(t::WaitFor([&] { return !IsWindow(box); }, 30000));
        } else if (row.converterRuns) {
            EXPECT_TRUE(t::WaitFor([&] { return dsp::testing::FileExists(CallsFile(program)); }, 30000));
        } else {
            // The output folder's flag is stored before the job files are
            // made; the window answers once the run is over.
            EXPECT_TRUE(t::WaitFor(
                [] { return t::Stored(keys::CodecKey(t::kStandInCodec).c_str(), "TVCUserFolder").exists; },
                30000));
        }
        EXPECT_TRUE(t::WaitFor([&] { return IsWindowVisible(main) && IsWindowEnabled(main); }, 30000));
        EXPECT_TRUE(t::Answers(main));
        EXPECT_EQ(dsp::testing::FileExists(CallsFile(program)), row.converterRuns);
        if (DWORD a = GetFileAttributesA((program.Folder() + "AddThis.Bin").c_str());
            a == INVALID_FILE_ATTRIBUTES || !(a & FILE_ATTRIBUTE_DIRECTORY))
            ExpectJobFile(program.Folder() + "AddThis.Bin", row.jobFilesStay, "\\\\Aux\\Track01.aux");
        if (DWORD a = GetFileAttributesA((program.Folder() + "AddThisOuputTo.Bin").c_str());
            a == INVALID_FILE_ATTRIBUTES || !(a & FILE_ATTRIBUTE_DIRECTORY))
            ExpectJobFile(program.Folder() + "AddThisOuputTo.Bin", row.jobFilesStay, " - Track01");
        EXPECT_EQ(program.Close(), 0);
    }
}

// A program folder that cannot be written at all (a read-only mount, which
// read_only_folder_test.sh prepares and names in AUX_READ_ONLY_FOLDER):
// nothing is started and no job file appears.
TEST(AuxReadOnlyFolder, NothingIsStartedAndNoJobFileIsLeftInAFolderThatCannotBeWritten)
{
    const char* folder = std::getenv("AUX_READ_ONLY_FOLDER");
    if (!folder)
        GTEST_SKIP() << "run by read_only_folder_test.sh with the folder mounted read-only";
    t::RecorderRegistryScope registry;
    RecorderProgram program{std::string(folder)};
    HWND main = program.Start();
    ASSERT_NE(main, nullptr);
    program.Click(IDC_BUTTON_RECORD);
    EXPECT_TRUE(t::WaitFor(
        [] { return t::Stored(keys::CodecKey(t::kStandInCodec).c_str(), "TVCUserFolder").exists; }, 30000));
    EXPECT_TRUE(t::Answers(main));
    EXPECT_TRUE(IsWindowVisible(main) && IsWindowEnabled(main));
    EXPECT_EQ(program.WaitForDialog(kNotInstalledCaption, 500), nullptr);
    EXPECT_FALSE(dsp::testing::FileExists(CallsFile(program)));
    EXPECT_FALSE(dsp::testing::FileExists(program.Folder() + "AddThis.Bin"));
    EXPECT_FALSE(dsp::testing::FileExists(program.Folder() + "AddThisOuputTo.Bin"));
    EXPECT_EQ(program.Close(), 0);
}

// A converter that does not end: the window, visible and disabled through the
// converter's options step, keeps answering and painting; a request to close
// is carried out once the converter has ended, and its job stays whole.
TEST(AuxConverterFaults, AConverterThatNeverEndsLeavesTheWindowAnsweringAndCloseWaitsForIt)
{
    t::RecorderRegistryScope registry;
    RecorderProgram program;
    const std::string release = program.Root() + "release";
    TellConverter(program, "HoldUntil=" + release + "\r\n");
    HWND main = program.Start();
    ASSERT_NE(main, nullptr);
    program.Click(IDC_BUTTON_RECORD, true); // with options: the window stays on screen
    ASSERT_TRUE(t::WaitFor([&] { return dsp::testing::FileExists(CallsFile(program)); }, 30000));

    for (int look = 0; look < 8; ++look) {
        EXPECT_TRUE(t::Answers(main)) << look;
        EXPECT_TRUE(IsWindowVisible(main));
        EXPECT_FALSE(IsWindowEnabled(main));
        InvalidateRect(main, nullptr, TRUE);
        EXPECT_TRUE(t::WaitFor([&] { return !GetUpdateRect(main, nullptr, FALSE); }, 1000)) << look;
    }

    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(1000), -1);
    EXPECT_TRUE(t::Answers(main));

    ASSERT_TRUE(t::WriteAll(release, ""));
    EXPECT_EQ(program.WaitForExit(30000), 0);
    ExpectJobFile(program.Folder() + "AddThis.Bin", true, "\\\\Aux\\Track01.aux");
    ExpectJobFile(program.Folder() + "AddThisOuputTo.Bin", true, " - Track01");
}

// Every file of the program folder's skin whose name ends in `suffix`
// (".bmp", "-m.bmp", ...), rewritten by `damage`, or deleted without one.
void DamageSkin(const RecorderProgram& program, const std::string& suffix,
                const std::function<std::string(const std::string&)>& damage)
{
    for (const std::string folder : {program.Folder() + "Compression\\skin\\", program.Folder() + "help\\"}) {
        WIN32_FIND_DATAA found{};
        HANDLE search = FindFirstFileA((folder + "*" + suffix).c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            continue;
        do {
            const std::string path = folder + found.cFileName;
            if (damage)
                ASSERT_TRUE(t::WriteAll(path, damage(t::ReadAll(path)))) << path;
            else
                ASSERT_TRUE(DeleteFileA(path.c_str())) << path;
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
}

TEST(AuxSkinFaults, EveryButtonKeepsItsSizeAndWorksWhateverPartOfTheSkinIsUnusable)
{
    t::RecorderRegistryScope registry;
    const auto cut = [](size_t bytes) {
        return [bytes](const std::string& file) { return file.substr(0, bytes); };
    };
    const auto half = [](const std::string& file) { return file.substr(0, file.size() / 2); };
    const auto text = [](const std::string&) { return std::string("this is not a bitmap\r\n"); };
    const auto lines = [](const std::string&) {
        std::string file;
        for (const char* number : {"255", "255", "255", "24", "40", "72"})
            file += number + std::string(10000, ' ') + "\r\n";
        return file;
    };
    std::string garbage;
    for (int i = 0; i < 4096; ++i)
        garbage += static_cast<char>(i * 7919 % 251);
    struct Row
    {
        const char* what;
        std::vector<std::string> suffixes;                     // the files damaged
        std::function<std::string(const std::string&)> damage; // none: deleted
    } rows[] = {
        {"every bitmap missing", {".bmp"}, nullptr},
        {"every bitmap cut inside its header", {".bmp"}, cut(40)},
        {"every bitmap cut inside its pixels", {".bmp"}, half},
        {"every bitmap not a bitmap", {".bmp"}, text},
        {"the hover and pressed forms garbage",
         {"-m.bmp", "-d.bmp"},
         [&](const std::string&) { return garbage; }},
        {"the masks cut", {"-mask.bmp"}, cut(60)},
        {"the backdrop cut", {".jpg"}, half},
        {"the backdrop garbage", {".jpg"}, [&](const std::string&) { return garbage; }},
        {"the colours garbage", {".txt"}, [&](const std::string&) { return garbage; }},
        {"the colours with lines of 10000 characters", {".txt"}, lines},
    };
    // The skin's own sizes, which the default faces keep.
    const struct
    {
        int id, width, height;
    } buttons[] = {{IDC_BUTTON_RECORD, 43, 38},   {IDC_BUTTON_RECORD_MENU, 12, 38},
                   {IDC_BUTTON_OPTIONS, 56, 20},  {IDC_BUTTON_LEVEL_TEST, 110, 17},
                   {IDC_BUTTON_BOOSTKIT, 64, 17}, {IDC_BUTTON_HELP, 22, 38}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        RecorderProgram program;
        for (const std::string& suffix : row.suffixes)
            DamageSkin(program, suffix, row.damage);
        HWND main = program.Start();
        ASSERT_NE(main, nullptr);
        EXPECT_TRUE(t::Answers(main));
        for (const auto& b : buttons) {
            RECT r{};
            GetWindowRect(GetDlgItem(main, b.id), &r);
            EXPECT_EQ(r.right - r.left, b.width) << b.id;
            EXPECT_EQ(r.bottom - r.top, b.height) << b.id;
        }
        program.Click(IDC_BUTTON_OPTIONS);
        HWND options = program.WaitForDialog("tVC - Options");
        ASSERT_NE(options, nullptr);
        PostMessageA(options, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(t::WaitFor([&] { return !IsWindow(options); }, 30000));
        EXPECT_TRUE(t::Answers(main));
        EXPECT_EQ(program.Close(), 0);
    }
}

// A value stored as it is, of any type.
void StoreRaw(const char* key, const char* name, DWORD type, const std::string& bytes)
{
    HKEY handle = nullptr;
    ASSERT_EQ(
        RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr),
        ERROR_SUCCESS);
    RegSetValueExA(handle, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                   static_cast<DWORD>(bytes.size()));
    RegCloseKey(handle);
}

std::string Dword(uint32_t value)
{
    return std::string(reinterpret_cast<const char*>(&value), sizeof value);
}

std::string Sz(const std::string& text)
{
    return text + '\0';
}

TEST(AuxRegistryFaults, DamagedValuesGiveAWindowOnScreenAndTheirDefaultsOrFirstEntries)
{
    t::RecorderRegistryScope registry;
    const std::string longText = Sz(std::string(400, 'L'));
    const std::string codecKey = keys::CodecKey(t::kStandInCodec);
    struct Value
    {
        const char* key;
        const char* name;
        DWORD type;
        std::string bytes;
    };
    struct Row
    {
        const char* what;
        std::vector<Value> values;
        std::string outputFolder; // as the Options dialog shows it
        std::string autoStartPercent;
    } rows[] = {
        {"the placement as text",
         {{keys::kSuiteKey, keys::kWindowX, REG_SZ, Sz("100")},
          {keys::kSuiteKey, keys::kWindowY, REG_SZ, Sz("100")},
          {keys::kSuiteKey, keys::kWindowW, REG_SZ, Sz("900")},
          {keys::kSuiteKey, keys::kWindowH, REG_SZ, Sz("600")}},
         "",
         "10"},
        {"the placement off every screen",
         {{keys::kSuiteKey, keys::kWindowX, REG_DWORD, Dword(100000)},
          {keys::kSuiteKey, keys::kWindowY, REG_DWORD, Dword(100000)}},
         "",
         "10"},
        {"the placement of a negative size",
         {{keys::kSuiteKey, keys::kWindowW, REG_DWORD, Dword(0xFFFFFFFF)},
          {keys::kSuiteKey, keys::kWindowH, REG_DWORD, Dword(0xFFFFFFFF)}},
         "",
         "10"},
        {"list positions far beyond their lists",
         {{keys::kSuiteKey, keys::kRecordUsing, REG_DWORD, Dword(1000)},
          {keys::kSuiteKey, keys::kRecordRate, REG_DWORD, Dword(0xFFFFFFFF)},
          {keys::kSuiteKey, keys::kRecordBits, REG_DWORD, Dword(1000)},
          {keys::kSuiteKey, keys::kRecordChannels, REG_DWORD, Dword(0xFFFFFFFF)}},
         "",
         "10"},
        {"list positions as text and binary",
         {{keys::kSuiteKey, keys::kRecordRate, REG_SZ, Sz("5")},
          {keys::kSuiteKey, keys::kRecordBits, REG_BINARY, "\x01\x02\x03"}},
         "",
         "10"},
        {"texts as binary",
         {{keys::kSuiteKey, keys::kAutoStartPercent, REG_BINARY, std::string(300, '\x7F')},
          {codecKey.c_str(), keys::kOutputFolder, REG_BINARY, "\xFF\xFE"}},
         "C:\\Converted Music\\",
         "10"},
        {"texts longer than 259 characters",
         {{keys::kSuiteKey, keys::kAutoStartPercent, REG_SZ, longText},
          {codecKey.c_str(), keys::kOutputFolder, REG_SZ, longText}},
         "C:\\Converted Music\\",
         "10"},
        {"a codec that names no library",
         {{keys::kSuiteKey, keys::kCodec, REG_SZ, Sz("No Such Codec")}},
         "C:\\Converted Music\\",
         "10"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        RecorderProgram program;
        for (const Value& v : row.values)
            StoreRaw(v.key, v.name, v.type, v.bytes);
        HWND main = program.Start();
        ASSERT_NE(main, nullptr);
        EXPECT_TRUE(t::Answers(main));
        RECT r{};
        GetWindowRect(main, &r);
        EXPECT_GT(r.right - r.left, 100);
        EXPECT_GT(r.bottom - r.top, 100);
        EXPECT_NE(MonitorFromWindow(main, MONITOR_DEFAULTTONULL), nullptr);

        program.Click(IDC_BUTTON_OPTIONS);
        HWND options = program.WaitForDialog("tVC - Options");
        ASSERT_NE(options, nullptr);
        for (int list : {IDC_RECORD_USING, IDC_QUALITY, IDC_BITS, IDC_CHANNELS})
            EXPECT_EQ(t::ComboSelection(options, list), 0) << list;
        EXPECT_EQ(t::ItemText(options, IDC_AUTO_START_PERCENT), row.autoStartPercent);
        if (!row.outputFolder.empty())
            EXPECT_EQ(t::ItemText(options, IDC_OUTPUT_TO), row.outputFolder);
        PostMessageA(options, WM_COMMAND, IDC_OPTIONS_CANCEL, 0);
        EXPECT_TRUE(t::WaitFor([&] { return !IsWindow(options); }, 30000));
        EXPECT_EQ(program.Close(), 0);
    }
}

TEST(AuxGenreFileFaults, AHugeOrLongLinedGenreFileOpensAtOnceAndANewGenreGoesOnALineOfItsOwn)
{
    t::RecorderRegistryScope registry;
    std::string shortLines, longLines;
    for (int i = 0; shortLines.size() < (10u << 20); ++i)
        shortLines += "Genre " + std::to_string(i) + "\r\n";
    for (int i = 0; i < 20; ++i)
        longLines += std::string(300 + i, static_cast<char>('a' + i)) + "\r\n";
    struct Row
    {
        const char* what;
        std::string file;
    } rows[] = {
        {"10 MB of short lines", shortLines},
        {"10 MB in one line without an end", std::string(10u << 20, 'g')},
        {"lines longer than 259 characters", longLines},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        RecorderProgram program;
        const std::string path = program.Folder() + "CustomGenre.txt";
        ASSERT_TRUE(t::WriteAll(path, row.file));
        const ULONGLONG started = GetTickCount64();
        HWND main = program.Start();
        ASSERT_NE(main, nullptr);
        EXPECT_LT(GetTickCount64() - started, 5000u);
        EXPECT_TRUE(t::Answers(main));
        HWND genres = GetDlgItem(main, IDC_GENRE);
        const LRESULT count = SendMessageA(genres, CB_GETCOUNT, 0, 0);
        EXPECT_GE(count, 128);
        LRESULT longest = 0;
        for (LRESULT i = 0; i < count && i < 1000; ++i)
            longest = std::max(longest, SendMessageA(genres, CB_GETLBTEXTLEN, i, 0));
        EXPECT_LE(longest, 259);

        SetWindowTextA(genres, "Brand New Genre");
        EXPECT_EQ(program.Close(), 0);
        const std::string after = t::ReadAll(path);
        ASSERT_GE(after.size(), row.file.size());
        EXPECT_EQ(after.compare(0, row.file.size(), row.file), 0);
        const std::string added = after.substr(row.file.size());
        EXPECT_TRUE(added == "Brand New Genre\r\n" || added == "\r\nBrand New Genre\r\n") << added;
        EXPECT_EQ(added == "\r\nBrand New Genre\r\n", row.file.back() != '\n');
    }
}

TEST(AuxTwoRecorders, TwoRecordersStartedAtOnceBothOpenAndEachRecordsWholeJobs)
{
    t::RecorderRegistryScope registry;
    RecorderProgram first;
    std::string line = "\"" + first.Folder() + "Auxiliary.exe\"";
    // The second one from the same folder, started at the same moment.
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION second{};
    ASSERT_TRUE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &second));
    HWND main = first.Start();
    HWND other = t::WaitForDialog(second.dwThreadId, "Tonvask Recaster - Auxiliary Input", 30000);
    ASSERT_NE(main, nullptr);
    ASSERT_NE(other, nullptr);
    EXPECT_TRUE(t::Answers(main));
    EXPECT_TRUE(t::Answers(other));

    // Each records; the job files of the one that recorded last are whole.
    first.Click(IDC_BUTTON_RECORD);
    EXPECT_TRUE(t::WaitFor([&] { return dsp::testing::FileExists(CallsFile(first)); }, 30000));
    EXPECT_TRUE(t::WaitFor([&] { return IsWindowVisible(main) && IsWindowEnabled(main); }, 30000));
    PostMessageA(GetDlgItem(other, IDC_BUTTON_RECORD), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    PostMessageA(GetDlgItem(other, IDC_BUTTON_RECORD), WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    EXPECT_TRUE(
        t::WaitFor([&] { return t::ReadAll(CallsFile(first)).find("\r\n\"") != std::string::npos; }, 30000));
    EXPECT_TRUE(t::WaitFor([&] { return IsWindowVisible(other) && IsWindowEnabled(other); }, 30000));
    ExpectJobFile(first.Folder() + "AddThis.Bin", true, "\\\\Aux\\Track01.aux");
    ExpectJobFile(first.Folder() + "AddThisOuputTo.Bin", true, " - Track01");

    PostMessageA(other, WM_CLOSE, 0, 0);
    EXPECT_EQ(t::ExitCodeWithin(second.hProcess, 30000), 0);
    CloseHandle(second.hThread);
    CloseHandle(second.hProcess);
    EXPECT_TRUE(t::Answers(main));
    EXPECT_EQ(first.Close(), 0);
}

} // namespace
