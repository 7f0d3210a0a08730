// The real Cuebinder.exe against faults from outside, one table per family:
// the voice file while the hotkeys are active, damaged list files, list files
// that cannot be saved, damaged settings, a read-only program folder, an event
// log that cannot be written and a shortcut that another program holds.
// Every row: the window keeps answering messages, no file is left
// half-written where a whole one stood, and the player learns what went wrong
// where the program tells it (a message box for a command, the event log for
// a press in the game).
#include "CuebinderDriver.h"

#include <cstdio>

namespace {

using namespace cbdriver;
using namespace std::chrono_literals;
using testfiles::ReadAll;
using testfiles::WriteAll;
using testfiles::WriteOrFail;
using Lines = std::vector<std::string>;

// Puts the fixture's paths into a row's expected log lines.
std::string Expand(std::string text, const std::string& name, const std::string& value)
{
    for (std::size_t at = text.find(name); at != std::string::npos; at = text.find(name, at + value.size()))
        text.replace(at, name.size(), value);
    return text;
}

class CuebinderFaults : public CuebinderRun
{
public:
    Lines Expanded(const Lines& lines) const
    {
        Lines out;
        for (const std::string& line : lines)
            out.push_back(Expand(Expand(line, "%voice%", Voice()), "%beta%", Sound("beta.wav")));
        return out;
    }
    // Fills the disk that holds `folder` with one file.
    static void Fill(const std::string& folder)
    {
        HANDLE f = CreateFileA((folder + "\\filler").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(f, INVALID_HANDLE_VALUE);
        const std::string block(4096, 'f');
        DWORD written = 0;
        while (WriteFile(f, block.data(), static_cast<DWORD>(block.size()), &written, nullptr) &&
               written > 0) {
        }
        CloseHandle(f);
    }
    static long long MsSince(std::chrono::steady_clock::time_point start)
    {
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start)
            .count();
    }
    // Right after its start the program has settled within a few seconds:
    // from then on it answers at once. The time is printed for the record.
    void Settled(const char* row)
    {
        const auto shown = std::chrono::steady_clock::now();
        EXPECT_TRUE(WaitFor([&] { return Answers(); }, 30000ms)) << "hangs after its start";
        std::printf("%s: answering %lld ms after the window showed its list\n", row, MsSince(shown));
        EXPECT_TRUE(Answers());
    }
};

// ---------------------------------------------------------------------------
// The voice file while the player is in the game. The press under the fault
// is logged as failed, the file keeps the last sound that was copied whole
// (or the log says it was cut), and the first press after the cause is gone
// plays.

struct TVoiceRow
{
    const char* name;
    bool beforeActivation; // the fault is there when the hotkeys are activated
    bool fillDisk;         // the game's disk is filled after the first press
    std::function<void(CuebinderFaults&)> inject;
    std::function<void(CuebinderFaults&)> remove;
    Lines failedPress; // log lines of the press under the fault; empty: the press plays
    // The voice file after the failed press: "a" alpha.wav, "held" unreadable
    // (and untouched once the holder lets go), "gone" no file, "cut" shorter,
    // with the log line that says so.
    const char* voiceAfter;
};

class VoiceFileFaults : public CuebinderFaults
{
public:
    HANDLE holder_ = INVALID_HANDLE_VALUE;
    std::unique_ptr<SmallDisk> disk_;
    void TearDown() override
    {
        StopPrograms();
        if (holder_ != INVALID_HANDLE_VALUE)
            CloseHandle(holder_);
        holder_ = INVALID_HANDLE_VALUE;
        disk_.reset();
        CuebinderFaults::TearDown();
    }
};

TEST_F(VoiceFileFaults, APressUnderAFaultIsLoggedAndTheNextPressAfterItPlays)
{
    ASSERT_TRUE(Free(kF9) && Free(kF10)) << "another program holds the test's shortcuts";
    const TVoiceRow rows[] = {
        {"the game directory deleted",
         false,
         false,
         [](CuebinderFaults& t) { ASSERT_TRUE(RunUnix("/bin/rm -rf " + UnixPath(t.root_ + "\\game"))); },
         [](CuebinderFaults& t) { ASSERT_TRUE(CreateDirectoryA((t.root_ + "\\game").c_str(), nullptr)); },
         {"File doens't exist in SetFilename(). Creating.", "Bad m_hFile (-1)",
          "Attempted to truncate file with bad handle. -1", "Replace() failed."},
         "gone"},
        {"voice_input.wav made read-only",
         false,
         false,
         [](CuebinderFaults& t) {
             ASSERT_TRUE(SetFileAttributesA(t.Voice().c_str(), FILE_ATTRIBUTE_READONLY));
         },
         [](CuebinderFaults& t) { SetFileAttributesA(t.Voice().c_str(), FILE_ATTRIBUTE_NORMAL); },
         {},
         "b"},
        {"voice_input.wav held by the game with no sharing at activation",
         true,
         false,
         [](CuebinderFaults& t) {
             WriteOrFail(t.Voice(), "old");
             auto& self = static_cast<VoiceFileFaults&>(t);
             self.holder_ = CreateFileA(t.Voice().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                        OPEN_EXISTING, 0, nullptr);
             ASSERT_NE(self.holder_, INVALID_HANDLE_VALUE);
         },
         [](CuebinderFaults& t) {
             auto& self = static_cast<VoiceFileFaults&>(t);
             CloseHandle(self.holder_);
             self.holder_ = INVALID_HANDLE_VALUE;
             EXPECT_EQ(ReadAll(t.Voice()), "old") << "a failed press changed the held file";
         },
         {"Bad m_hFile (-1)", "Attempted to truncate file with bad handle. -1", "Replace() failed."},
         "held"},
        {"the disk full during a copy",
         true,
         true,
         [](CuebinderFaults& t) {
             auto& self = static_cast<VoiceFileFaults&>(t);
             self.disk_ = std::make_unique<SmallDisk>(t.root_ + "\\game", 512);
             ASSERT_TRUE(self.disk_->Mounted()) << "no small disk can be mounted here";
             WriteOrFail(t.root_ + "\\game\\WONAuth.dll", "marker");
         },
         [](CuebinderFaults& t) { ASSERT_TRUE(DeleteFileA((t.root_ + "\\game\\filler").c_str())); },
         {"Write failed in Replace(). 112, %voice%", "Replace() failed."},
         "cut"},
        {"the source WAV deleted after it was added",
         false,
         false,
         [](CuebinderFaults& t) { ASSERT_TRUE(DeleteFileA(t.Sound("beta.wav").c_str())); },
         [](CuebinderFaults& t) { WriteOrFail(t.Sound("beta.wav"), t.b_); },
         {"Bad filename is Replace()", "Replace() failed."},
         "a"},
    };
    for (const TVoiceRow& row : rows) {
        SCOPED_TRACE(row.name);
        SetUp();
        WriteList({{Sound("alpha.wav"), kF9.text}, {Sound("beta.wav"), kF10.text}});
        if (row.beforeActivation)
            row.inject(*this);
        StartCuebinder(false);
        Command(IDM_ACTIVATE);
        ASSERT_TRUE(WaitFor([&] { return Active(); })) << "not activated";
        StartGame();
        if (std::string(row.voiceAfter) != "held") {
            ASSERT_TRUE(Press(kF9));
            ASSERT_TRUE(WaitFor([&] { return ReadAll(Voice()) == a_; })) << "the first press did not play";
        }
        if (row.fillDisk)
            Fill(root_ + "\\game");
        if (!row.beforeActivation)
            row.inject(*this);

        const std::size_t mark = LogMark();
        ASSERT_TRUE(Press(kF10));
        if (row.failedPress.empty()) {
            EXPECT_TRUE(WaitFor([&] { return ReadAll(Voice()) == b_; }))
                << "the press under the fault did not play";
            EXPECT_EQ(LogSince(mark), Lines{});
        } else {
            EXPECT_TRUE(WaitFor([&] { return LogSince(mark) == Expanded(row.failedPress); }))
                << testing::PrintToString(LogSince(mark));
            const std::string voice = ReadAll(Voice());
            const std::string after = row.voiceAfter;
            if (after == "a")
                EXPECT_TRUE(voice == a_) << "the voice file changed under a failed press";
            else if (after == "held")
                EXPECT_EQ(voice, "<missing>") << "the game's hold ended early";
            else if (after == "gone")
                EXPECT_EQ(voice, "<missing>");
            else
                EXPECT_LT(voice.size(), b_.size()) << "a copy on a full disk reported as done";
        }
        EXPECT_TRUE(Answers());

        row.remove(*this);
        ASSERT_TRUE(Press(kF10));
        EXPECT_TRUE(WaitFor([&] { return ReadAll(Voice()) == b_; }))
            << "the press after the fault did not play";
        ASSERT_TRUE(Press(kF9));
        EXPECT_TRUE(WaitFor([&] { return ReadAll(Voice()) == a_; }));
        EXPECT_TRUE(Answers());
        Command(IDM_DEACTIVATE);
        EXPECT_TRUE(WaitFor([&] { return !Active(); }));
        EXPECT_TRUE(CloseAndWait());
        TearDown();
    }
}

// ---------------------------------------------------------------------------
// Damaged list files opened at start. Loading checks nothing: the window
// opens with what could be read, answers, and closes without asking, and the
// file is never written by a load.

struct TListRow
{
    const char* name;
    std::function<std::string(const CuebinderFaults&)> content; // nullptr: no file at all
    int rows;
    const char* firstSize; // size text of the first row
};

std::string ListText(int count, const std::vector<std::string>& values)
{
    std::string text = "[Config]\r\nCount=" + std::to_string(count) + "\r\n[Sounds]\r\n";
    for (std::size_t i = 0; i < values.size(); ++i)
        text += "Sound" + std::to_string(i) + "=" + values[i] + "\r\n";
    return text;
}

TEST_F(CuebinderFaults, DamagedListFilesOpenWithWhatCanBeRead)
{
    const TListRow rows[] = {
        {"missing", nullptr, 0, ""},
        {"empty", [](const CuebinderFaults&) { return std::string(); }, 0, ""},
        {"truncated in the middle of an entry",
         [](const CuebinderFaults& t) {
             std::string full =
                 ListText(2, {t.Sound("alpha.wav") + ";Shift+Ctrl+F9", t.Sound("beta.wav") + ";F2"});
             return full.substr(0, full.size() - 12);
         },
         2, "29 KB"},
        {"binary garbage", [](const CuebinderFaults&) { return testfiles::Pattern(20000, 7); }, 0, ""},
        {"a Count larger than the entries",
         [](const CuebinderFaults& t) { return ListText(5, {t.Sound("alpha.wav") + ";F2"}); }, 5, "29 KB"},
        {"10,000 entries",
         [](const CuebinderFaults& t) {
             return ListText(10000, std::vector<std::string>(10000, t.Sound("alpha.wav") + ";"));
         },
         10000, "29 KB"},
        {"entries whose WAV no longer exists",
         [](const CuebinderFaults& t) {
             return ListText(2, {t.Sound("gone.wav") + ";F2", t.Sound("x.wav") + ";F3"});
         },
         2, "0 KB"},
        {"two entries with the same shortcut",
         [](const CuebinderFaults& t) {
             return ListText(
                 2, {t.Sound("alpha.wav") + ";Shift+Ctrl+F9", t.Sound("beta.wav") + ";Shift+Ctrl+F9"});
         },
         2, "29 KB"},
    };
    for (const TListRow& row : rows) {
        SCOPED_TRACE(row.name);
        SetUp();
        const std::string list = root_ + "\\songs.qbl";
        const std::string content = row.content ? row.content(*this) : "<missing>";
        if (row.content)
            WriteOrFail(list, content);
        StartCuebinder(false);
        Settled(row.name);
        EXPECT_EQ(ListView_GetItemCount(list_), row.rows);
        if (row.rows > 0)
            EXPECT_EQ(RemoteItemText(cuebinder_->Handle(), list_, 0, 1), row.firstSize);
        EXPECT_TRUE(CloseAndWait()) << "closing asked or hung";
        EXPECT_TRUE(ReadAll(list) == content) << "loading wrote the list file";
        TearDown();
    }
}

// ---------------------------------------------------------------------------
// A list file that cannot be saved, on Save and on the close prompt: the
// error is shown, the list in memory stays (still unsaved), the old file is
// as it was, and once the cause is gone the same command saves.

struct TSaveRow
{
    const char* name;
    bool onClosePrompt;
    std::function<void(CuebinderFaults&)> breakIt;
    std::function<void(CuebinderFaults&)> mend;
    int count = 2; // the old file's Count (its first two entries are there): 600 makes the new file longer
    bool smallDisk = false; // the list's folder is a small file system of its own
};

TEST_F(CuebinderFaults, AListThatCannotBeSavedStaysInMemoryAndTheOldFileStaysWhole)
{
    auto readOnly = [](CuebinderFaults& t) {
        ASSERT_TRUE(SetFileAttributesA((t.root_ + "\\lists\\songs.qbl").c_str(), FILE_ATTRIBUTE_READONLY));
    };
    auto writable = [](CuebinderFaults& t) {
        SetFileAttributesA((t.root_ + "\\lists\\songs.qbl").c_str(), FILE_ATTRIBUTE_NORMAL);
    };
    auto folderGone = [](CuebinderFaults& t) { testfiles::RemoveTree(t.root_ + "\\lists"); };
    auto folderBack = [](CuebinderFaults& t) { CreateDirectoryA((t.root_ + "\\lists").c_str(), nullptr); };
    auto full = [](CuebinderFaults& t) { Fill(t.root_ + "\\lists"); };
    auto room = [](CuebinderFaults& t) { ASSERT_TRUE(DeleteFileA((t.root_ + "\\lists\\filler").c_str())); };
    const TSaveRow rows[] = {
        {"read-only, on Save", false, readOnly, writable},
        {"read-only, on the close prompt", true, readOnly, writable},
        {"its folder gone, on Save", false, folderGone, folderBack},
        {"its folder gone, on the close prompt", true, folderGone, folderBack},
        {"a longer list on a full disk, on Save", false, full, room, 600, true},
        {"a longer list on a full disk, on the close prompt", true, full, room, 600, true},
    };
    for (const TSaveRow& row : rows) {
        SCOPED_TRACE(row.name);
        SetUp();
        CreateDirectoryA((root_ + "\\lists").c_str(), nullptr);
        std::unique_ptr<SmallDisk> disk;
        if (row.smallDisk) {
            disk = std::make_unique<SmallDisk>(root_ + "\\lists", 64);
            ASSERT_TRUE(disk->Mounted());
        }
        const std::string list = root_ + "\\lists\\songs.qbl";
        const std::string old = ListText(
            row.count, {Sound("alpha.wav") + ";Shift+Ctrl+F9", Sound("beta.wav") + ";Shift+Ctrl+F10"});
        std::vector<std::string> kept(static_cast<std::size_t>(row.count - 1), ";");
        kept[0] = Sound("beta.wav") + ";Shift+Ctrl+F10";
        const std::string saved = ListText(row.count - 1, kept);
        WriteOrFail(list, old);
        std::string settings = GameSettings(false);
        settings.replace(settings.find("\\songs.qbl"), 10, "\\lists\\songs.qbl");
        WriteOrFail(App("Cuebinder.ini"), settings);
        Launch("songs - Cuebinder");
        DeleteFirstRow();
        row.breakIt(*this);
        const std::string before = ReadAll(list);

        if (row.onClosePrompt) {
            Command(IDM_EXIT);
            EXPECT_EQ(Dismiss("Cuebinder", IDYES),
                      "The data in the songs file has changed.\n\nDo you want to save the changes?");
        } else {
            Command(IDM_SAVE);
        }
        EXPECT_EQ(Dismiss("Exception"), "Unable to write to " + list);
        EXPECT_TRUE(Answers()) << "the window closed or hangs";
        EXPECT_EQ(ListView_GetItemCount(list_), row.count - 1);
        EXPECT_TRUE(ReadAll(list) == before) << "the old file changed";
        EXPECT_FALSE(testfiles::Exists(list + "-Tmp"));

        row.mend(*this);
        if (row.onClosePrompt) {
            Command(IDM_EXIT);
            Dismiss("Cuebinder", IDYES);
            EXPECT_TRUE(cuebinder_->WaitExit(10000)) << "the close after the cause was gone did not end it";
            main_ = nullptr;
        } else {
            Command(IDM_SAVE);
            EXPECT_TRUE(WaitFor([&] { return ReadAll(list) == saved; }));
            EXPECT_TRUE(CloseAndWait()) << "asked again after a save";
        }
        EXPECT_TRUE(ReadAll(list) == saved);
        StopPrograms();
        disk.reset();
        TearDown();
    }
}

// ---------------------------------------------------------------------------
// Damaged settings files: the program starts with what it can read, plays,
// and its next save writes a whole file again.

struct TSettingsRow
{
    const char* name;
    std::string before; // put in front of the good settings
    std::string after;  // put behind them
    int columns[3];     // the list's column widths the window shows
    bool setAside;      // kept whole as Cuebinder.ini.damaged, a small file in its place
};

TEST_F(CuebinderFaults, DamagedSettingsFilesStartWithWhatCanBeRead)
{
    std::string big = "[Junk]\r\n";
    while (big.size() < 10 * 1024 * 1024)
        big += "Key" + std::to_string(big.size()) + "=some value that fills the file\r\n";
    const TSettingsRow rows[] = {
        {"binary garbage", testfiles::Pattern(5000, 3), "", {270, 65, 100}, false},
        {"10 MB of text", big, "", {270, 65, 100}, true},
        {"lines without \"=\"",
         "[Window]\r\nColumnWidth0\r\njust words\r\niW\r\n",
         "",
         {270, 65, 100},
         false},
        {"values out of range",
         "",
         "[App]\r\nBufferSize=-5\r\n[Game]\r\nBarAlign=7\r\n[Window]\r\nColumnWidth0=-300\r\nColumnWidth1=-"
         "1\r\n"
         "ColumnWidth2=-2\r\n",
         {270, 65, 100},
         false},
        {"huge values",
         "",
         "[App]\r\nBufferSize=99999999\r\n[Game]\r\nBarAlign=2147483647\r\n",
         {270, 65, 100},
         false},
    };
    ASSERT_TRUE(Free(kF9) && Free(kF10));
    for (const TSettingsRow& row : rows) {
        SCOPED_TRACE(row.name);
        SetUp();
        WriteList({{Sound("alpha.wav"), kF9.text}, {Sound("beta.wav"), kF10.text}});
        const std::string written = row.before + "\r\n" + GameSettings(false) + row.after;
        WriteOrFail(App("Cuebinder.ini"), written);
        const auto started = std::chrono::steady_clock::now();
        Launch("songs - Cuebinder");
        std::printf("%s: the window showed its list %lld ms after the start\n", row.name, MsSince(started));
        Settled(row.name);
        if (row.setAside) {
            EXPECT_TRUE(ReadAll(App("Cuebinder.ini.damaged")) == written)
                << "the damaged file was not kept whole";
            EXPECT_LT(ReadAll(App("Cuebinder.ini")).size(), 4096u);
        } else {
            EXPECT_FALSE(testfiles::Exists(App("Cuebinder.ini.damaged")));
        }
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(ListView_GetColumnWidth(list_, i), row.columns[i]) << "column " << i;
        Command(IDM_ACTIVATE);
        EXPECT_TRUE(WaitFor([&] { return Active(); }));
        StartGame();
        EXPECT_TRUE(Press(kF10));
        EXPECT_TRUE(WaitFor([&] { return ReadAll(Voice()) == b_; })) << "the press did not play";
        EXPECT_TRUE(Answers());
        Command(IDM_DEACTIVATE);
        EXPECT_TRUE(WaitFor([&] { return !Active(); }));

        // a resize saves the settings whole, and the window answers within a
        // second of it (the answer queues behind the resize)
        const auto resized = std::chrono::steady_clock::now();
        SetWindowPos(main_, nullptr, 0, 0, 520, 360,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
        EXPECT_TRUE(Answers()) << "no answer within a second of a resize";
        std::printf("%s: a resize saved in %lld ms\n", row.name, static_cast<long long>(MsSince(resized)));
        EXPECT_TRUE(
            WaitFor([&] { return ReadAll(App("Cuebinder.ini")).find("iW=520\r\n") != std::string::npos; }));
        EXPECT_TRUE(CloseAndWait());
        const std::string ini = ReadAll(App("Cuebinder.ini"));
        EXPECT_NE(ini.find("InstallPath=" + root_ + "\\game\r\n"), std::string::npos);
        EXPECT_NE(ini.find("LastFile=" + root_ + "\\songs.qbl\r\n"), std::string::npos);
        EXPECT_NE(ini.find("ColumnWidth0=270\r\n"), std::string::npos);
        TearDown();
    }
}

// ---------------------------------------------------------------------------
// The program folder read-only: neither the settings file nor log.txt can be
// written. The player is told once, at start, that the settings cannot be
// saved; the program starts, takes options, resizes and quits without
// another box, and nothing in the folder changes.

TEST_F(CuebinderFaults, AReadOnlyProgramFolderIsReportedOnceAndTheProgramWorks)
{
    WriteList({{Sound("alpha.wav"), kF9.text}});
    SmallDisk app(root_ + "\\app", 4096);
    ASSERT_TRUE(app.Mounted()) << "no file system can be mounted here";
    ASSERT_TRUE(CopyFileA((testfiles::WinPath(CB_DIST_DIR) + "\\Cuebinder.exe").c_str(),
                          App("Cuebinder.exe").c_str(), FALSE));
    const std::string settings = GameSettings(false);
    WriteOrFail(App("Cuebinder.ini"), settings);
    ASSERT_TRUE(app.MakeReadOnly());

    cuebinder_ = std::make_unique<Process>();
    ASSERT_TRUE(cuebinder_->Start(App("Cuebinder.exe"), "", root_ + "\\app"));
    EXPECT_EQ(Dismiss("Exception"), "Unable to write to " + App("Cuebinder.ini"));
    Attach("songs - Cuebinder");
    EXPECT_TRUE(Answers());
    EXPECT_EQ(ListView_GetItemCount(list_), 1);
    EXPECT_TRUE(SendMessageA(toolbar_, TB_ISBUTTONENABLED, IDM_ADD, 0)) << "the state refresh did not run";

    // an option changed: confirmed, kept in memory, nothing on screen
    Command(IDM_OPTIONS);
    HWND options = WaitForDialog("Options");
    ASSERT_NE(options, nullptr);
    SendMessageA(GetDlgItem(options, IDC_OPT_MINWHENACTIVATED), BM_SETCHECK, BST_CHECKED, 0);
    PostMessageA(options, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(options); }));
    // a resize
    SetWindowPos(main_, nullptr, 0, 0, 520, 360, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(main_, nullptr, 0, 0, 540, 380, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(Answers());
    EXPECT_EQ(FindWindowOf(cuebinder_->Id(), "#32770"), nullptr) << "another box";
    // the option works in memory: activation minimises
    Command(IDM_ACTIVATE);
    EXPECT_TRUE(WaitFor([&] { return IsIconic(main_) != FALSE; })) << "the option was lost";
    Command(IDM_DEACTIVATE);
    EXPECT_TRUE(WaitFor([&] { return !Active(); }));

    EXPECT_TRUE(CloseAndWait()) << "a box or a hang at the end";
    EXPECT_EQ(ReadAll(App("Cuebinder.ini")), settings);
    EXPECT_FALSE(testfiles::Exists(App("log.txt")));
}

// ---------------------------------------------------------------------------
// log.txt that cannot be written (held with no sharing) or is very large: the
// program works on; lines that cannot be written are lost, and later ones
// are appended to the end of the file.

TEST_F(CuebinderFaults, AnEventLogThatCannotBeWrittenOrIsLargeDoesNotStopThePlayer)
{
    ASSERT_TRUE(Free(kF9) && Free(kF10));
    struct Row
    {
        const char* name;
        bool hold;
        std::size_t size;
    };
    const Row rows[] = {{"held with no sharing", true, 1000}, {"100 MB large", false, 100u * 1024 * 1024}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SetUp();
        WriteList({{Sound("alpha.wav"), kF9.text}, {Sound("gone.wav"), kF10.text}});
        WriteOrFail(Voice(), ""); // no line for a created voice file
        const std::string start = testfiles::Pattern(row.size, 11);
        WriteOrFail(App("log.txt"), start);
        HANDLE holder = row.hold ? CreateFileA(App("log.txt").c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                               nullptr, OPEN_EXISTING, 0, nullptr)
                                 : INVALID_HANDLE_VALUE;
        StartCuebinder(false);
        Command(IDM_ACTIVATE);
        ASSERT_TRUE(WaitFor([&] { return Active(); }));
        StartGame();
        ASSERT_TRUE(Press(kF10)); // a sound that is gone: two log lines
        ASSERT_TRUE(Press(kF9));
        EXPECT_TRUE(WaitFor([&] { return ReadAll(Voice()) == a_; })) << "the press did not play";
        EXPECT_TRUE(Answers());
        if (holder != INVALID_HANDLE_VALUE) {
            CloseHandle(holder);
            EXPECT_TRUE(ReadAll(App("log.txt")) == start) << "the held log changed";
            ASSERT_TRUE(Press(kF10));
        }
        EXPECT_TRUE(WaitFor([&] {
            return LogSince(start.size()) == Lines{"Bad filename is Replace()", "Replace() failed."};
        })) << testing::PrintToString(LogSince(start.size()));
        EXPECT_TRUE(ReadAll(App("log.txt")).compare(0, start.size(), start) == 0)
            << "the log's old lines changed";
        Command(IDM_DEACTIVATE);
        EXPECT_TRUE(WaitFor([&] { return !Active(); }));
        EXPECT_TRUE(CloseAndWait());
        TearDown();
    }
}

// ---------------------------------------------------------------------------
// A shortcut that another program holds: the duplicate message names the
// entry, nothing stays registered, and once the other program lets go the
// list activates and every entry plays.

TEST_F(CuebinderFaults, AShortcutHeldByAnotherProgramIsReportedAndTheListPlaysOnceItIsFree)
{
    ASSERT_TRUE(Free(kF9) && Free(kF10));
    WriteList({{Sound("alpha.wav"), kF9.text}, {Sound("beta.wav"), kF10.text}});
    StartCuebinder(false);
    HWND other =
        CreateWindowExA(0, "STATIC", "other", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_TRUE(RegisterHotKey(other, 7, kF10.mods, kF10.vk));

    Command(IDM_ACTIVATE);
    EXPECT_EQ(
        Dismiss("Error"),
        "Index: 1\nFilename: " + Sound("beta.wav") +
            "\n\nThere was a problem. A duplicate shortcut (Shift+Ctrl+F10) was detected. Please make sure "
            "there are no duplicate shortcuts in your sounds list. Also make sure that no other programs "
            "are using shortcuts which you have chosen for your sounds.");
    EXPECT_TRUE(WaitFor([&] { return Free(kF9); })) << "the first entry stayed registered";
    EXPECT_FALSE(Active());
    EXPECT_TRUE(Answers());

    UnregisterHotKey(other, 7);
    DestroyWindow(other);
    Command(IDM_ACTIVATE);
    ASSERT_TRUE(WaitFor([&] { return Active(); }));
    StartGame();
    ASSERT_TRUE(Press(kF10));
    EXPECT_TRUE(WaitFor([&] { return ReadAll(Voice()) == b_; }));
    ASSERT_TRUE(Press(kF9));
    EXPECT_TRUE(WaitFor([&] { return ReadAll(Voice()) == a_; }));
}

} // namespace
