// dsphost.exe driving Fader.dll: WAV files in and out, raw files in place,
// the progress it reads, the files it refuses and the panel in its window.
#include "core/wav.h"
#include "core/wave_format.h"
#include "fade_oracle.h"
#include "settings_store.h"
#include "fader_test_support.h"
#include "testing/plugin_support.h"
#include "testing/plugin_under_test.h"
#include "testing/run_program.h"
#include "testing/test_bytes.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace settings = dsp::settings;
using namespace fader::testing;
using dsp::testing::FirstDifference;
using dsp::testing::Pattern;
using dsp::testing::ProgramRun;
using dsp::testing::Quote;
using dsp::testing::ReadFileBytes;
using dsp::testing::WriteFileBytes;

ProgramRun RunHost(const std::string& args, DWORD timeoutMs = 60000)
{
    return dsp::testing::RunProgram(std::string(CB_TOOLS_DIR) + "/dsphost.exe", args, timeoutMs);
}

class DsphostTest : public testing::Test
{
protected:
    dsp::testing::RegistryScope registry{kNames};
};

const std::string kFaderDll = std::string(CB_DIST_DIR) + "/Fader.dll";

TEST_F(DsphostTest, FadesWavFilesAndKeepsTheInput)
{
    Store({true, 300, true, 200});
    struct
    {
        int channels, bits;
    } cases[] = {{2, 16}, {1, 8}, {2, 24}, {1, 32}};
    const std::string dir = dsp::testing::ScratchDir();
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.bits << " bits, " << c.channels << " channels");
        const dsp::WaveFormat f = dsp::MakePcmFormat(uint16_t(c.channels), 11025, uint16_t(c.bits));
        const std::vector<uint8_t> samples =
            Pattern(f.blockAlign * (11025 * 3 / 2), uint32_t(c.bits)); // 1.5 s of whole frames
        const std::vector<uint8_t> input = wav::MakeFile(f, samples);
        const std::string in = dir + "in.wav", out = dir + "out.wav";
        ASSERT_TRUE(WriteFileBytes(in, input));
        const ProgramRun run = RunHost("--quiet " + Quote(kFaderDll) + " " + Quote(in) + " " + Quote(out));
        ASSERT_EQ(run.code, 0u) << run.err;
        EXPECT_NE(run.out.find("format: channels=" + std::to_string(c.channels) +
                               " rate=11025 bits=" + std::to_string(c.bits)),
                  std::string::npos)
            << run.out;
        EXPECT_EQ(ReadFileBytes(in), input);
        WAVEFORMATEX w = dsp::testing::MakeFormat(c.channels, 11025, c.bits);
        EXPECT_EQ(
            FirstDifference(ReadFileBytes(out), wav::MakeFile(f, Expected(samples, w, 300, true, 200, true))),
            -1);
        EXPECT_FALSE(dsp::testing::FileExists(out + ".dsphost.raw"));
    }
    // The result cannot take the place of a folder: the folder stays, nothing is left over.
    const std::string in = dir + "in.wav", folder = dir + "taken.wav";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    const ProgramRun run = RunHost("--quiet " + Quote(kFaderDll) + " " + Quote(in) + " " + Quote(folder));
    EXPECT_EQ(run.code, 5u) << run.err;
    EXPECT_NE(run.err.find("cannot move the result"), std::string::npos) << run.err;
    EXPECT_TRUE(GetFileAttributesA(folder.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_FALSE(dsp::testing::FileExists(folder + ".dsphost.raw"));
    RemoveDirectoryA(folder.c_str());
}

TEST_F(DsphostTest, ReportsTheProgressItReadsAndRunsRawFiles)
{
    Store({true, 299500, true, 299500});
    const std::string dir = dsp::testing::ScratchDir();
    const std::string raw = dir + "long.raw";
    const std::vector<uint8_t> in(700000, 60);
    ASSERT_TRUE(WriteFileBytes(raw, in));
    const ProgramRun run = RunHost("--raw " + Quote(kFaderDll) + " " + Quote(raw) +
                                   " --channels 1 --rate 1000 --bits 8 --quiet --progress-log");
    ASSERT_EQ(run.code, 0u) << run.err;
    EXPECT_NE(run.out.find("format: channels=1 rate=1000 bits=8 blockAlign=1 avgBytesPerSec=1000"),
              std::string::npos)
        << run.out;
    WAVEFORMATEX w = dsp::testing::MakeFormat(1, 1000, 8);
    EXPECT_EQ(FirstDifference(ReadFileBytes(raw), Expected(in, w, 299500, true, 299500, true)), -1);

    std::set<uint32_t> allowed = {0};
    PassValues(allowed, 700000, 299500, 1000, true, false);
    PassValues(allowed, 299500, 299500, 1000, true, true);
    std::istringstream lines(run.out);
    std::string word;
    uint32_t value = 0, last = 0, count = 0;
    while (lines >> word) {
        if (word != "progress")
            continue;
        lines >> value;
        EXPECT_TRUE(allowed.count(value)) << value;
        EXPECT_LE(last, value);
        last = value;
        ++count;
    }
    EXPECT_GE(count, 1u) << run.out;
    EXPECT_LT(last, 100u);
}

TEST_F(DsphostTest, RefusesUnusableWavFiles)
{
    const std::string dir = dsp::testing::ScratchDir();
    const dsp::WaveFormat f = dsp::MakePcmFormat(2, 8000, 16);
    std::vector<uint8_t> good = wav::MakeFile(f, Pattern(400, 9));
    std::vector<uint8_t> floatWav = good;
    floatWav[20] = 3;
    std::vector<uint8_t> adpcm = good;
    adpcm[20] = 2;
    std::vector<uint8_t> pastEnd = good;
    pastEnd[40] = 0xFF;
    pastEnd[41] = 0xFF;
    struct
    {
        const char* name;
        std::vector<uint8_t> bytes;
        const char* message;
    } cases[] = {
        {"text.wav", std::vector<uint8_t>(100, 'x'), "not a WAV file"},
        {"float.wav", floatWav, "floating-point samples are not supported"},
        {"adpcm.wav", adpcm, "compressed or non-PCM audio is not supported"},
        {"cut.wav", std::vector<uint8_t>(good.begin(), good.begin() + 30), "the WAV header is truncated"},
        {"past.wav", pastEnd, "the data chunk runs past the end of the file"},
        {"tiny.wav", {'R', 'I'}, "too short to be a WAV file"},
    };
    Store({true, 100, false, 0});
    for (const auto& c : cases) {
        const std::string in = dir + c.name, out = dir + "out.wav";
        ASSERT_TRUE(WriteFileBytes(in, c.bytes));
        const ProgramRun run = RunHost(Quote(kFaderDll) + " " + Quote(in) + " " + Quote(out));
        EXPECT_EQ(run.code, 3u) << c.name;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.name << ": " << run.err;
        EXPECT_EQ(ReadFileBytes(in), c.bytes);
        EXPECT_FALSE(dsp::testing::FileExists(out));
    }
    ProgramRun run = RunHost(Quote(kFaderDll) + " " + Quote(dir + "none.wav") + " " + Quote(dir + "out.wav"));
    EXPECT_EQ(run.code, 3u);
    EXPECT_NE(run.err.find("cannot open"), std::string::npos) << run.err;

    // A plug-in that reports failure: no output, exit 4.
    const std::string probe = std::string(CB_BINARY_DIR) + "/dsp/common/tests/Probe.dll";
    ASSERT_TRUE(WriteFileBytes(dir + "good.wav", good));
    run = RunHost("--quiet " + Quote(probe) + " " + Quote(dir + "good.wav") + " " + Quote(dir + "fail.wav"));
    EXPECT_EQ(run.code, 4u);
    EXPECT_NE(run.err.find("the plug-in reported failure"), std::string::npos) << run.err;
    EXPECT_FALSE(dsp::testing::FileExists(dir + "fail.wav"));
    EXPECT_FALSE(dsp::testing::FileExists(dir + "fail.wav.dsphost.raw"));

    // Not a plug-in, bad command lines, the input as output.
    run = RunHost(Quote(dir + "good.wav") + " " + Quote(dir + "good.wav") + " " + Quote(dir + "x.wav"));
    EXPECT_EQ(run.code, 2u) << run.err;
    run = RunHost(Quote(kFaderDll) + " " + Quote(dir + "good.wav") + " " + Quote(dir + "good.wav"));
    EXPECT_EQ(run.code, 1u);
    EXPECT_EQ(ReadFileBytes(dir + "good.wav"), good);
    run = RunHost(Quote(kFaderDll) + " only-two.wav");
    EXPECT_EQ(run.code, 1u);
    run = RunHost("--help");
    EXPECT_EQ(run.code, 0u);
    EXPECT_NE(run.out.find("stand-in"), std::string::npos);
}

// The first window below `parent` (at any depth) with the control id `id`.
HWND FindDescendant(HWND parent, int id)
{
    struct Search
    {
        int id;
        HWND found;
    } search{id, nullptr};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM p) CALLBACK -> BOOL {
            auto* s = reinterpret_cast<Search*>(p);
            if (GetDlgCtrlID(child) != s->id)
                return TRUE;
            s->found = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

TEST_F(DsphostTest, ShowsThePanelInItsWindowSizedToIt)
{
    Store({true, 1500, false, 0});
    HANDLE started = nullptr;
    ProgramRun run;
    struct Call
    {
        ProgramRun* run;
    } call{&run};
    started = CreateThread(
        nullptr, 0,
        [](void* p) WINAPI -> DWORD {
            *static_cast<Call*>(p)->run = RunHost("--panel \"" + kFaderDll + "\" --close-after 6", 60000);
            return 0;
        },
        &call, 0, nullptr);
    ASSERT_NE(started, nullptr);
    HWND window = nullptr;
    for (int i = 0; i < 100 && !window; ++i) {
        Sleep(100);
        window = FindWindowA("DspHostWindow", "dsphost - Fader.dll");
    }
    ASSERT_NE(window, nullptr);
    HWND panel = nullptr;
    for (int i = 0; i < 50 && !panel; ++i) {
        Sleep(100);
        HWND field = FindDescendant(window, 1004);
        panel = field ? GetParent(field) : nullptr;
    }
    ASSERT_NE(panel, nullptr);
    // The window is sized to the panel: all of it shows, 20 pixels from the
    // client area's top left, with nothing but a margin around it.
    RECT client{}, shown{};
    GetClientRect(window, &client);
    GetWindowRect(panel, &shown);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&shown), 2);
    EXPECT_EQ(shown.left, 20);
    EXPECT_EQ(shown.top, 20);
    EXPECT_EQ(client.right, shown.right + 20);
    EXPECT_EQ(client.bottom, shown.bottom + 20);
    EXPECT_EQ(dsp::testing::Text(panel, 1004), "1500");
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(panel, 1004)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(panel, 1005)));
    // A keystroke in the host's panel is saved by the plug-in in the other process.
    SendMessageA(GetDlgItem(panel, 1004), EM_SETSEL, 0, -1);
    SendMessageA(GetDlgItem(panel, 1004), WM_CHAR, '9', 1);
    EXPECT_EQ(settings::ReadNumber("Vol-Fade-InLength", HKEY_CURRENT_USER, settings::kPluginKey), 9u);
    WaitForSingleObject(started, 60000);
    CloseHandle(started);
    EXPECT_EQ(run.code, 0u) << run.err;
    EXPECT_NE(run.out.find("ShowDSPSettings returned 0"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("RemoveDSPSettings returned 1"), std::string::npos) << run.out;
}

} // namespace
