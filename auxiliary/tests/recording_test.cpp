// StartRecording and WriteRecordingPlaylist with the converter stand-in in a
// prepared program folder: the job files byte for byte, the registry values,
// the command line the converter receives, the not-installed message, the
// wait loop, and the playlists written from the converter's log.
#include "recording.h"

#include "prompts.h"
#include "settings_store.h"
#include "standin_files.h"
#include "suite_environment.h"
#include "temp_file.h"
#include "testing/plugin_under_test.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using auxiliary::testing::ReadAll;
using auxiliary::testing::Record;
using auxiliary::testing::WriteAll;

using namespace auxiliary;
namespace store = dsp::settings;
using dsp::testing::FileExists;

constexpr const char* kCodec = "Standin Codec";
const std::string kSuite = store::kSuiteKey;
const std::string kAuxiliaryKey = kSuite + "\\Auxiliary";
const std::string kCodecKey = kSuite + "\\tVCCodec\\" + kCodec;

// The converter log files ("LOG*.tmp") in the temporary folder.
std::vector<std::string> LogFiles()
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dsp::TemporaryDirectory() + "LOG*.tmp").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do
            names.emplace_back(found.cFileName);
        while (FindNextFileA(search, &found));
        FindClose(search);
    }
    return names;
}

void ClearSuiteValues()
{
    store::DeleteKeyTree(HKEY_CURRENT_USER, kSuite.c_str(), "Auxiliary");
    store::DeleteKeyTree(HKEY_CURRENT_USER, (kSuite + "\\tVCCodec").c_str(), kCodec);
    for (const char* name : {"tVCLastCodec", "Aux-FileCreation", "Unique"})
        store::DeleteValue(name, HKEY_CURRENT_USER, kSuite.c_str());
}

// A program folder with the converter stand-in as Recaster.exe (unless told
// otherwise), an output folder, the suite's waiting event as the recorder
// creates it at start, scripted prompts and a clean suite key.
class AuxRecordingRun : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ClearSuiteValues();
        root_ = dsp::testing::ScratchDir(CB_TEST_TMP);
        program_ = root_ + "PROGRAM\\";
        output_ = root_ + "Out\\";
        CreateDirectoryA(program_.c_str(), nullptr);
        waiting_ = CreateEventA(nullptr, TRUE, FALSE, kWaitingToConvertEvent);
        ResetEvent(waiting_);
    }

    void TearDown() override
    {
        ResetEvent(waiting_);
        CloseHandle(waiting_);
        ClearSuiteValues();
    }

    void InstallConverter(const std::string& ini = "")
    {
        // (Made again: a call log made after SetUp empties the test's scratch folder.)
        CreateDirectoryA(program_.c_str(), nullptr);
        ASSERT_TRUE(auxiliary::testing::CopyStandIn("RecasterStandin.exe", program_ + "Recaster.exe"));
        if (!ini.empty()) {
            ASSERT_TRUE(WriteAll(program_ + "RecasterStandin.ini", "[Standin]\r\n" + ini));
        }
    }

    RecordingRequest Request(std::vector<RecordingTrack> tracks) const
    {
        RecordingRequest r;
        r.programFolder = program_;
        r.codec = kCodec;
        r.outputFolder = output_;
        r.tracks = std::move(tracks);
        r.album = {"Varnette", "Glasshouse", "Pop", "first take", "1992"};
        return r;
    }

    std::string Calls() const { return ReadAll(program_ + "RecasterStandin-calls.txt"); }
    std::string JobBytes() const { return ReadAll(program_ + kJobFileName); }
    std::string OutputBytes() const { return ReadAll(program_ + kJobOutputFileName); }

    std::string root_, program_, output_;
    HANDLE waiting_ = nullptr;
};

const std::vector<RecordingTrack> kFiveTracks = {
    {"Intro", "", false}, {"Rain", "3:07", true}, {"Sun", "45", false},
    {"Snow", "", true},   {"End", "2:00", false},
};

TEST_F(AuxRecordingRun, FiveTracksWithTwoAndFourCheckedGiveTheJobTheValuesAndTheCommandLine)
{
    InstallConverter();
    store::WriteText("Aux-FileCreation", "%RR %A - %T", HKEY_CURRENT_USER, kSuite.c_str());
    struct Case
    {
        bool useLastSettings;
        std::string options;
    } cases[] = {
        {true, "<Profile>AuxInput <UseLastSettings>"},
        {false, "<Profile>AuxInput <ConvertTo>Standin Codec"},
    };
    std::string calls;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options);
        EXPECT_EQ(StartRecording(Request(kFiveTracks), c.useLastSettings), RecordingOutcome::ConverterRan);
        calls += "\"" + program_ + "Recaster.exe\" " + c.options + "\r\n";
        EXPECT_EQ(Calls(), calls);

        EXPECT_EQ(JobBytes(), Record("\\\\Aux\\Track02.aux") + Record("\\\\Aux\\Track04.aux"));
        EXPECT_EQ(OutputBytes(), Record("02 Varnette - Rain") + Record("04 Varnette - Snow"));
        EXPECT_EQ(ReadAll(output_ + "02 Varnette - Rain.mp3"), "\\\\Aux\\Track02.aux\r\n");
        EXPECT_EQ(ReadAll(output_ + "04 Varnette - Snow.mp3"), "\\\\Aux\\Track04.aux\r\n");

        const char* names[] = {"Intro", "Rain", "Sun", "Snow", "End"};
        const uint32_t seconds[] = {0, 187, 45, 0, 120};
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(
                store::ReadText(TrackValueName(i + 1).c_str(), HKEY_CURRENT_USER, kAuxiliaryKey.c_str()),
                names[i]);
            EXPECT_EQ(store::ReadNumber(SmartLengthValueName(i + 1).c_str(), HKEY_CURRENT_USER,
                                        kAuxiliaryKey.c_str()),
                      seconds[i]);
        }
        const char* fields[][2] = {
            {"Artist", "Varnette"},    {"Album", "Glasshouse"}, {"Genre", "Pop"},
            {"Comment", "first take"}, {"Year", "1992"},
        };
        for (const auto& f : fields)
            EXPECT_EQ(store::ReadText(f[0], HKEY_CURRENT_USER, kAuxiliaryKey.c_str()), f[1]);
        EXPECT_EQ(store::ReadNumber("TVCUserFolder", HKEY_CURRENT_USER, kCodecKey.c_str()), 0xFFFFFFFFu);
        EXPECT_EQ(store::ReadText("TVCUserFolderStr", HKEY_CURRENT_USER, kCodecKey.c_str()), output_);
        EXPECT_EQ(store::ReadText("tVCLastCodec", HKEY_CURRENT_USER, kSuite.c_str()), kCodec);
    }
}

TEST_F(AuxRecordingRun, TheDefaultTemplateNamesTracksAndUncheckedListsStillStartTheConverter)
{
    InstallConverter();
    EXPECT_EQ(StartRecording(Request({{"Rain", "", true}}), true), RecordingOutcome::ConverterRan);
    EXPECT_EQ(OutputBytes(), Record("Varnette - Rain"));

    EXPECT_EQ(StartRecording(Request({{"Rain", "", false}}), true), RecordingOutcome::ConverterRan);
    EXPECT_EQ(JobBytes(), "");
    EXPECT_EQ(OutputBytes(), "");
    const std::string line = "\"" + program_ + "Recaster.exe\" <Profile>AuxInput <UseLastSettings>\r\n";
    EXPECT_EQ(Calls(), line + line);
}

TEST_F(AuxRecordingRun, AWaitingConverterGetsTheJobAndNothingIsStarted)
{
    InstallConverter();
    SetEvent(waiting_);
    dsp::testing::HostWindow window; // a top-level window in the main window's place
    RecordingRequest request = Request(kFiveTracks);
    request.window = window.Frame();
    EXPECT_EQ(StartRecording(request, true), RecordingOutcome::ConverterWaiting);
    EXPECT_FALSE(FileExists(program_ + "RecasterStandin-calls.txt"));
    EXPECT_EQ(JobBytes().size(), 520u);
    EXPECT_EQ(OutputBytes().size(), 520u);
    EXPECT_TRUE(IsWindowEnabled(window.Frame()));
    EXPECT_TRUE(IsWindowVisible(window.Frame()));
    EXPECT_EQ(store::ReadText("tVCLastCodec", HKEY_CURRENT_USER, kSuite.c_str()), "");
}

TEST_F(AuxRecordingRun, AMissingConverterIsReportedAndItsJobFilesAreDeleted)
{
    dsp::ScriptedPrompts prompts;
    dsp::PromptsScope scope(prompts);
    dsp::testing::HostWindow window;
    RecordingRequest request = Request(kFiveTracks);
    request.window = window.Frame();
    EXPECT_EQ(StartRecording(request, false), RecordingOutcome::ConverterMissing);
    ASSERT_EQ(prompts.Calls.size(), 1u);
    EXPECT_EQ(prompts.Calls[0].kind, "message");
    EXPECT_EQ(prompts.Calls[0].text, "Tonvask Recaster is not installed!.");
    EXPECT_EQ(prompts.Calls[0].caption, "Tonvask Recaster");
    EXPECT_EQ(prompts.Calls[0].type, static_cast<UINT>(MB_OK | MB_ICONERROR));
    EXPECT_EQ(prompts.Calls[0].owner, window.Frame());
    EXPECT_FALSE(FileExists(program_ + kJobFileName));
    EXPECT_FALSE(FileExists(program_ + kJobOutputFileName));
    EXPECT_TRUE(IsWindowEnabled(window.Frame()));
    EXPECT_TRUE(IsWindowVisible(window.Frame()));

    // Job files that cannot be made: nothing is started and no message shown.
    // A second file that cannot be made takes the first one with it.
    InstallConverter();
    ASSERT_TRUE(CreateDirectoryA((program_ + kJobOutputFileName).c_str(), nullptr));
    EXPECT_EQ(StartRecording(request, false), RecordingOutcome::JobNotWritten);
    EXPECT_FALSE(FileExists(program_ + kJobFileName));
    request.programFolder = root_ + "Missing\\";
    EXPECT_EQ(StartRecording(request, false), RecordingOutcome::JobNotWritten);
    EXPECT_FALSE(FileExists(program_ + "RecasterStandin-calls.txt"));
    EXPECT_EQ(prompts.Calls.size(), 1u);
    EXPECT_TRUE(IsWindowEnabled(window.Handle()));
}

// What a window of the test saw of itself while the converter ran: timer
// ticks prove that messages were dispatched during the wait.
struct WaitWatch
{
    int ticks = 0;
    bool sawHidden = false;
    bool sawEnabled = false;
};
WaitWatch* g_watch = nullptr;

// A visible top-level window of the test. (Without a window manager, Wine
// takes about two seconds to hide a top-level window: the converter stand-in
// stays long enough for the watch to see the hidden window.)
class PopupWindow
{
public:
    PopupWindow()
        : window_(CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 80, 60, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr))
    {}
    ~PopupWindow() { DestroyWindow(window_); }
    HWND Handle() const { return window_; }

private:
    HWND window_;
};

void CALLBACK WatchTick(HWND window, UINT, UINT_PTR, DWORD)
{
    if (!g_watch)
        return;
    ++g_watch->ticks;
    g_watch->sawHidden |= !IsWindowVisible(window);
    g_watch->sawEnabled |= IsWindowEnabled(window) != FALSE;
}

TEST_F(AuxRecordingRun, TheWaitKeepsMessagesFlowingWithTheWindowDisabledAndHiddenWhenItShould)
{
    struct Case
    {
        const char* name;
        bool useLastSettings;
        bool converterSignals;
        bool hides;
        int stayMs;
    } cases[] = {
        {"last settings", true, false, true, 3500},
        {"options, converter still in its options step", false, false, false, 600},
        {"options, converter waiting to convert", false, true, true, 3500},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DeleteFileA((program_ + "Recaster.exe").c_str());
        InstallConverter("StayMs=" + std::to_string(c.stayMs) +
                         "\r\nSignalWaiting=" + (c.converterSignals ? "1" : "0") + "\r\n");
        PopupWindow window;
        WaitWatch watch;
        g_watch = &watch;
        SetTimer(window.Handle(), 1, 20, WatchTick);
        RecordingRequest request = Request({{"Rain", "", true}});
        request.window = window.Handle();
        EXPECT_EQ(StartRecording(request, c.useLastSettings), RecordingOutcome::ConverterRan);
        KillTimer(window.Handle(), 1);
        g_watch = nullptr;
        EXPECT_GT(watch.ticks, 3);
        EXPECT_FALSE(watch.sawEnabled);
        EXPECT_EQ(watch.sawHidden, c.hides);
        EXPECT_TRUE(IsWindowVisible(window.Handle()));
        EXPECT_TRUE(IsWindowEnabled(window.Handle()));
        EXPECT_EQ(WaitForSingleObject(waiting_, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    }
}

TEST_F(AuxRecordingRun, TheConvertersLogBecomesAPlaylistWithoutTheFailedTracks)
{
    InstallConverter("ErrorTracks=2\r\n");
    store::WriteText("Aux-FileCreation", "%A - %T", HKEY_CURRENT_USER, kSuite.c_str());
    const std::string lists = root_ + "Lists\\Deeper\\";
    struct Case
    {
        uint32_t type;
        std::string folder;
        std::string playlist;
        std::string text;
    } cases[] = {
        // Beside the recordings: entries relative to the playlist's folder.
        {kPlaylistM3u, output_, output_ + "Varnette - Glasshouse.m3u",
         "#EXTM3U\r\n#EXTINF:0,Varnette - One\r\nVarnette - One.mp3\r\n"
         "#EXTINF:0,Varnette - Three\r\nVarnette - Three.mp3\r\n"},
        // In a folder of its own (created): entries from the drive's root.
        {kPlaylistPls, lists, lists + "Varnette - Glasshouse.pls",
         "[playlist]\r\nFile1=" + output_.substr(2) +
             "Varnette - One.mp3\r\nTitle1=Varnette - One\r\nLength1=0\r\n" + "File2=" + output_.substr(2) +
             "Varnette - Three.mp3\r\nTitle2=Varnette - Three\r\nLength2=0\r\n" +
             "NumberOfEntries=2\r\nVersion=2\r\n"},
    };
    const std::vector<std::string> logsBefore = LogFiles();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.playlist);
        RecordingRequest request = Request({{"One", "", true}, {"Two", "", true}, {"Three", "", true}});
        request.playlist = {true, c.type, c.folder, "%a - %l"};
        EXPECT_EQ(StartRecording(request, true), RecordingOutcome::ConverterRan);
        EXPECT_EQ(ReadAll(c.playlist), c.text);
    }
    EXPECT_EQ(LogFiles(), logsBefore) << "each run deletes its log file";
}

TEST(AuxInputLevel, OpensAndClosesOneRecordingObjectOfTheAuxDecoder)
{
    auxiliary::testing::CallLog calls;
    const std::string decoders = dsp::testing::ScratchDir(CB_TEST_TMP);
    ASSERT_TRUE(auxiliary::testing::CopyStandIn("StandInDecoder.dll", decoders + "Level.dll"));
    DecoderTable table;
    table.Build(decoders);
    calls.Clear();

    EXPECT_TRUE(OpenAndCloseLevelTest(table.Find(".aux")));
    EXPECT_EQ(calls.Lines(), (std::vector<std::string>{"Level.dll CreateANewDecoderObject \\Aux\\AuxTest.aux",
                                                       "Level.dll DeleteADecoderObject \\Aux\\AuxTest.aux"}));
    EXPECT_FALSE(OpenAndCloseLevelTest(nullptr));
    // With no decoders in this test program's folder nothing is called. The
    // environment tests leave theirs there (a process keeps its decoders
    // loaded until it ends), so they are removed first.
    const std::string programDecoders = auxiliary::InProgramFolder("Multiplayer\\Input\\");
    for (const char* name : {"Input.dll", "Later.dll"})
        DeleteFileA((programDecoders + name).c_str());
    RemoveDirectoryA(programDecoders.c_str());
    ASSERT_EQ(GetFileAttributesA(programDecoders.c_str()), INVALID_FILE_ATTRIBUTES);
    InputLevelTest(nullptr);
    EXPECT_EQ(calls.Lines().size(), 2u);
}

TEST(AuxRecordingPlaylist, TagsComeFromTheDecoderOrTheFileNameAndAnEarlierPlaylistIsReplaced)
{
    auxiliary::testing::CallLog calls;
    const std::string dir = dsp::testing::ScratchDir(CB_TEST_TMP);
    ASSERT_TRUE(auxiliary::testing::CopyStandIn("StandInDecoder.dll", dir + "Tones.dll"));
    DecoderTable table;
    table.Build(dir);
    const DecoderLookup lookup = [&](std::string_view extension) { return table.Find(extension); };
    const std::string log = dir + "LOG1.tmp";
    ASSERT_TRUE(WriteAll(log, "C:\\Rec\\Artist - Song.mp3\r\n"
                              "[ERROR] Could not convert \\\\Aux\\Track02.aux\r\n"
                              "\r\n"
                              "D:\\Rec\\x.SIN\r\n"
                              "C:\\Rec\\NoDash.ogg [ERROR]\r\n"));
    const std::string folder = dir + "New\\Lists";
    const std::string playlist = folder + "\\X - Y.m3u";
    const AlbumFields album{"X", "Y", "Rock", "", "2001"};
    MemoryUniqueSource unique;

    // Written twice (into missing folders, then over the first playlist).
    calls.Clear();
    for (int run = 0; run < 2; ++run) {
        EXPECT_EQ(WriteRecordingPlaylist(album, {true, kPlaylistM3u, folder, "%a - %l"}, log.c_str(), lookup,
                                         unique),
                  playlist);
        EXPECT_EQ(ReadAll(playlist), "#EXTM3U\r\n"
                                     "#EXTINF:0,Artist - Song\r\n"
                                     "C:\\Rec\\Artist - Song.mp3\r\n"
                                     "#EXTINF:187,Stand-in Artist - Stand-in Title\r\n"
                                     "D:\\Rec\\x.SIN\r\n");
    }
    EXPECT_EQ(calls.Lines(), (std::vector<std::string>{"Tones.dll GetTrackInfo D:\\Rec\\x.SIN",
                                                       "Tones.dll GetTrackInfo D:\\Rec\\x.SIN"}));
    EXPECT_FALSE(FileExists(playlist + "-Tmp"));

    // Writing switched off: nothing; an empty log: no entries.
    EXPECT_EQ(WriteRecordingPlaylist(album, {false, kPlaylistPls, folder, "%a"}, log.c_str(), lookup, unique),
              "");
    EXPECT_FALSE(FileExists(folder + "\\X.pls"));
    ASSERT_TRUE(WriteAll(log, ""));
    EXPECT_EQ(WriteRecordingPlaylist(album, {true, kPlaylistPls, folder, "%a"}, log.c_str(), lookup, unique),
              folder + "\\X.pls");
    EXPECT_EQ(ReadAll(folder + "\\X.pls"), "[playlist]\r\nNumberOfEntries=0\r\nVersion=2\r\n");

    // What the playlist does not show: the packed year and track number.
    TrackRecord record{};
    ReadTrackData(record, "D:\\Rec\\x.sin", lookup);
    EXPECT_EQ(record.year, 2001);
    EXPECT_EQ(record.trackNumber, 7);
    EXPECT_EQ(FieldText(record.album), "Stand-in Album");
    EXPECT_NE(record.timeStamp, 0u);
}

size_t Count(const std::string& text, const std::string& part)
{
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

// The converter's log and the playlist folder in every state they can be
// found in: the playlist is written whole with what the log can tell, or not
// at all, and an earlier playlist of the same name is never lost.
TEST(AuxRecordingPlaylist, DamagedLogsAndFoldersGiveAWholePlaylistOrNoneAndKeepTheEarlierOne)
{
    const std::string dir = dsp::testing::ScratchDir(CB_TEST_TMP);
    const DecoderLookup noDecoders = [](std::string_view) -> const DecoderPlugin* { return nullptr; };
    const AlbumFields album{"X", "Y", "Rock", "", "2001"};
    MemoryUniqueSource unique;
    const std::string earlier = "#EXTM3U\r\n#EXTINF:1,earlier\r\nC:\\earlier.mp3\r\n";

    std::string garbage;
    for (int i = 0; i < 20000; ++i)
        garbage += static_cast<char>(i * 131 % 256);
    std::string manyLines;
    for (int i = 0; i < 100000; ++i)
        manyLines += "C:\\Rec\\A - Song " + std::to_string(i) + ".mp3\r\n";
    const std::string path300 = "C:\\" + std::string(292, 'p') + ".mp3";
    const std::string path600 = "C:\\" + std::string(592, 'q') + ".mp3";

    struct Row
    {
        const char* what;
        const char* log; // nullptr: no log file
        std::string logText;
        std::string folder;                             // the playlist folder
        std::function<void(const std::string&)> inject; // given the playlist's path
        bool written;
        std::function<void(const std::string&)> check; // the playlist written
    } rows[] = {
        {"no log", nullptr, "", dir + "A", nullptr, true,
         [](const std::string& text) { EXPECT_EQ(text, "#EXTM3U\r\n"); }},
        {"an empty log", "log", "", dir + "B", nullptr, true,
         [](const std::string& text) { EXPECT_EQ(text, "#EXTM3U\r\n"); }},
        {"a garbage log", "log", garbage, dir + "C", nullptr, true,
         [](const std::string& text) {
             EXPECT_EQ(text.find('\0'), std::string::npos);
             EXPECT_EQ(text.rfind("#EXTM3U\r\n", 0), 0u);
         }},
        {"a log of 100000 lines", "log", manyLines, dir + "D", nullptr, true,
         [](const std::string& text) {
             EXPECT_EQ(Count(text, "#EXTINF:0,A - Song "), 100000u);
             EXPECT_NE(text.find("\r\nC:\\Rec\\A - Song 99999.mp3\r\n"), std::string::npos);
         }},
        {"paths longer than 259 characters", "log", path300 + "\r\n" + path600 + "\r\n", dir + "E", nullptr,
         true,
         [&](const std::string& text) {
             EXPECT_NE(text.find("\r\n" + path300 + "\r\n"), std::string::npos);
             EXPECT_NE(text.find("\r\n" + path600.substr(0, 520) + "\r\n"), std::string::npos);
             EXPECT_EQ(text.find(path600.substr(0, 521)), std::string::npos);
         }},
        {"the playlist folder a file", "log", "C:\\a.mp3\r\n", dir + "F\\File",
         [&](const std::string&) {
             CreateDirectoryA((dir + "F").c_str(), nullptr);
             ASSERT_TRUE(WriteAll(dir + "F\\File", "a file"));
         },
         false, nullptr},
        {"a playlist folder too long for its buffer", "log", "C:\\a.mp3\r\n", dir + std::string(280, 'G'),
         nullptr, false, nullptr},
        {"the playlist cannot be written over the earlier one", "log", "C:\\a.mp3\r\n", dir + "H",
         [&](const std::string& playlist) {
             CreateDirectoryA((dir + "H").c_str(), nullptr);
             ASSERT_TRUE(WriteAll(playlist, earlier));
             CreateDirectoryA((playlist + "-Tmp").c_str(), nullptr);
         },
         false, nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const std::string playlist = row.folder + "\\X - Y.m3u";
        if (row.inject)
            row.inject(playlist);
        const std::string log = dir + (row.log ? row.log : "none");
        DeleteFileA(log.c_str());
        if (row.log)
            ASSERT_TRUE(WriteAll(log, row.logText));
        const std::string written = WriteRecordingPlaylist(album, {true, kPlaylistM3u, row.folder, "%a - %l"},
                                                           log.c_str(), noDecoders, unique);
        EXPECT_EQ(written, row.written ? playlist : "");
        if (row.written)
            row.check(ReadAll(playlist));
        else if (FileExists(playlist + "-Tmp\\"))
            EXPECT_EQ(ReadAll(playlist), earlier);
        else
            EXPECT_FALSE(FileExists(playlist));
        EXPECT_FALSE(FileExists(playlist + "-Tmp") && !FileExists(playlist + "-Tmp\\"));
    }
    // Nothing was made in the folder whose name was too long, nor in what
    // was left of it after a cut.
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA((dir + "GGG*").c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE) << found.cFileName;
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
}

} // namespace
