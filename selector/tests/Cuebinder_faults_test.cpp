// The real Cuebinder.exe against faults from outside, one table per family:
// the voice file while the hotkeys are active, damaged list files, list files
// that cannot be saved, damaged settings, a read-only program folder, an event
// log that cannot be written and a shortcut that another program holds.
// Every row: the window keeps answering messages, no file is left
// half-written where a whole one stood, and the player learns what went wrong
// where the program tells it (a message box for a command, the event log for
// a press in the game).
#include "CuebinderDriver.h"

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
        while (WriteFile(f, block.data(), static_cast<DWORD>(block.size()), &written, nullptr) && written > 0) {
        }
        CloseHandle(f);
    }
    // Waits for the message box with this caption and returns its text after
    // pressing its OK (or Yes) button.
    std::string Dismiss(const char* caption, int button = IDOK)
    {
        HWND box = WaitForDialog(caption);
        if (!box)
            return std::string("<no ") + caption + " box>";
        std::string text = MessageText(box);
        PostMessageA(box, WM_COMMAND, static_cast<WPARAM>(button), 0);
        WaitFor([&] { return !IsWindow(box); });
        return text;
    }
    // Selects the first row and deletes it with the confirmation, so the list is modified.
    void DeleteFirstRow()
    {
        RemoteBuffer item(cuebinder_->Handle(), sizeof(LVITEMA));
        LVITEMA state{};
        state.stateMask = LVIS_SELECTED;
        state.state = LVIS_SELECTED;
        item.Write(0, &state, sizeof state);
        SendMessageA(list_, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(item.Ptr()));
        const int before = ListView_GetItemCount(list_);
        Command(IDM_DELETE);
        EXPECT_EQ(Dismiss("Question", IDYES), "Are you sure you want to delete the selected sound(s)?");
        EXPECT_TRUE(WaitFor([&] { return ListView_GetItemCount(list_) == before - 1; }));
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
        {"the game directory deleted", false, false,
         [](CuebinderFaults& t) { ASSERT_TRUE(RunUnix("/bin/rm -rf " + UnixPath(t.root_ + "\\game"))); },
         [](CuebinderFaults& t) { ASSERT_TRUE(CreateDirectoryA((t.root_ + "\\game").c_str(), nullptr)); },
         {"File doens't exist in SetFilename(). Creating.", "Bad m_hFile (-1)",
          "Attempted to truncate file with bad handle. -1", "Replace() failed."},
         "gone"},
        {"voice_input.wav made read-only", false, false,
         [](CuebinderFaults& t) { ASSERT_TRUE(SetFileAttributesA(t.Voice().c_str(), FILE_ATTRIBUTE_READONLY)); },
         [](CuebinderFaults& t) { SetFileAttributesA(t.Voice().c_str(), FILE_ATTRIBUTE_NORMAL); },
         {},
         "b"},
        {"voice_input.wav held by the game with no sharing at activation", true, false,
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
        {"the disk full during a copy", true, true,
         [](CuebinderFaults& t) {
             auto& self = static_cast<VoiceFileFaults&>(t);
             self.disk_ = std::make_unique<SmallDisk>(t.root_ + "\\game", 512);
             ASSERT_TRUE(self.disk_->Mounted()) << "no small disk can be mounted here";
             WriteOrFail(t.root_ + "\\game\\WONAuth.dll", "marker");
         },
         [](CuebinderFaults& t) { ASSERT_TRUE(DeleteFileA((t.root_ + "\\game\\filler").c_str())); },
         {"Write failed in Replace(). 112, %voice%", "Replace() failed."},
         "cut"},
        {"the source WAV deleted after it was added", false, false,
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
            EXPECT_TRUE(WaitFor([&] { return ReadAll(Voice()) == b_; })) << "the press under the fault did not play";
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
        EXPECT_TRUE(WaitFor([&] { return ReadAll(Voice()) == b_; })) << "the press after the fault did not play";
        ASSERT_TRUE(Press(kF9));
        EXPECT_TRUE(WaitFor([&] { return ReadAll(Voice()) == a_; }));
        EXPECT_TRUE(Answers());
        Command(IDM_DEACTIVATE);
        EXPECT_TRUE(WaitFor([&] { return !Active(); }));
        EXPECT_TRUE(CloseAndWait());
        TearDown();
    }
}

} // namespace
