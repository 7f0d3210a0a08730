// Fader.dll end to end: directly through its exports and through dsphost.exe,
// with the expected samples computed here from the ramp's definition.
#include "core/sample_view.h"
#include "core/wav.h"
#include "core/wave_format.h"
#include "progress.h"
#include "settings_store.h"
#include "testing/plugin_under_test.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace settings = dsp::settings;
using dsp::testing::HostWindow;
using dsp::testing::PluginUnderTest;
using dsp::testing::ReadFileBytes;
using dsp::testing::WriteFileBytes;

const std::vector<std::string> kNames = {"Vol-Fade-In", "Vol-Fade-InLength", "Vol-Fade-Out",
                                         "Vol-Fade-OutLength"};

struct Fades
{
    bool in = false;
    uint32_t inMs = 0; // 0: leave the value missing
    bool out = false;
    uint32_t outMs = 0;
};

void Store(const Fades& f)
{
    settings::WriteBool("Vol-Fade-In", f.in, HKEY_CURRENT_USER, settings::kPluginKey);
    settings::WriteBool("Vol-Fade-Out", f.out, HKEY_CURRENT_USER, settings::kPluginKey);
    if (f.inMs)
        settings::WriteNumber("Vol-Fade-InLength", f.inMs, HKEY_CURRENT_USER, settings::kPluginKey);
    if (f.outMs)
        settings::WriteNumber("Vol-Fade-OutLength", f.outMs, HKEY_CURRENT_USER, settings::kPluginKey);
}

dsp::WaveFormat AsFormat(const WAVEFORMATEX& w)
{
    dsp::WaveFormat f;
    std::memcpy(&f, &w, sizeof f);
    return f;
}

// One pass of the ramp over [start, start + region) against `ramp` bytes, as defined:
// x = p / L per sample, gain x (in) or 1 - x (out), truncated, until L < p.
void RampRegion(std::vector<uint8_t>& data, int bits, uint64_t start, uint64_t region, uint64_t ramp, bool in)
{
    const uint32_t sb = dsp::StoredSampleBytes(bits);
    dsp::SampleView view(data.data() + start, bits);
    for (uint64_t i = 0; i * sb + sb <= region; ++i) {
        const uint64_t p = i * sb;
        if (ramp < p)
            break;
        // v * x, x = p / L (in) or 1 - x (out), truncated toward zero.
        const int64_t part = in ? int64_t(p) : int64_t(ramp - p);
        view.Write(i, static_cast<int32_t>(int64_t(view.Read(i)) * part / int64_t(ramp ? ramp : 1)));
    }
}

std::vector<uint8_t> Expected(std::vector<uint8_t> data, const WAVEFORMATEX& w, uint32_t inMs, bool in,
                              uint32_t outMs, bool out)
{
    const dsp::WaveFormat f = AsFormat(w);
    const uint64_t size = data.size();
    if (in) {
        const uint64_t L = dsp::BytesForMilliseconds(f, inMs);
        if (L && size)
            RampRegion(data, f.bitsPerSample, 0, size, L, true);
    }
    if (out) {
        const uint64_t L = dsp::BytesForMilliseconds(f, outMs);
        if (L && size) {
            const uint64_t start = size > L ? dsp::WholeFrames(size - L, f) : 0;
            RampRegion(data, f.bitsPerSample, start, size - start, size > L ? size - start : L, false);
        }
    }
    return data;
}

std::vector<uint8_t> Noise(size_t n, uint32_t seed)
{
    std::vector<uint8_t> v(n);
    for (auto& b : v) {
        seed = seed * 1103515245u + 12345u;
        b = uint8_t(seed >> 16);
    }
    return v;
}

// -1 when equal, else the first differing index (or the shorter size).
long FirstDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b)
{
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i)
        if (a[i] != b[i])
            return long(i);
    return a.size() == b.size() ? -1 : long(n);
}

class FaderTest : public testing::Test
{
protected:
    dsp::testing::RegistryScope registry{kNames};
};

TEST_F(FaderTest, FadesBothEndsAtEveryDepthMonoAndStereo)
{
    Store({true, 1200, true, 700});
    PluginUnderTest fader("Fader.dll");
    ASSERT_TRUE(fader.Loaded()) << fader.Path();
    for (int bits : {8, 16, 24, 32})
        for (int channels : {1, 2}) {
            SCOPED_TRACE(testing::Message() << bits << " bits, " << channels << " channels");
            WAVEFORMATEX w = dsp::testing::MakeFormat(channels, 8000, bits);
            const std::vector<uint8_t> in = Noise(w.nBlockAlign * 20000, uint32_t(bits * channels)); // 2.5 s
            const std::string path = dsp::testing::ScratchFile("audio.raw");
            ASSERT_TRUE(WriteFileBytes(path, in));
            EXPECT_EQ(fader.Work(path, w), 1);
            const std::vector<uint8_t> got = ReadFileBytes(path);
            const std::vector<uint8_t> want = Expected(in, w, 1200, true, 700, true);
            ASSERT_EQ(got.size(), in.size());
            EXPECT_TRUE(got == want);
            EXPECT_FALSE(got == in);
            // The middle, outside both regions, is untouched.
            const size_t a = w.nBlockAlign * 9700, b = w.nBlockAlign * 14300;
            EXPECT_TRUE(std::equal(got.begin() + a, got.begin() + b, in.begin() + a));
            EXPECT_EQ(w.nChannels, channels); // the format is left as it was
        }
}

TEST_F(FaderTest, FilesShorterThanTheFadeAreRampedAgainstTheFullLength)
{
    Store({true, 0, false, 0}); // lengths missing: 6000 ms
    PluginUnderTest fadeIn("Fader.dll");
    WAVEFORMATEX w = dsp::testing::MakeFormat(2, 8000, 16);
    std::vector<uint8_t> constant(4 * 8000); // 1 s of 0x4000
    for (size_t i = 0; i < constant.size(); i += 2) {
        constant[i] = 0x00;
        constant[i + 1] = 0x40;
    }
    const std::string path = dsp::testing::ScratchFile("short.raw");
    ASSERT_TRUE(WriteFileBytes(path, constant));
    EXPECT_EQ(fadeIn.Work(path, w), 1);
    std::vector<uint8_t> got = ReadFileBytes(path);
    EXPECT_EQ(FirstDifference(got, Expected(constant, w, 6000, true, 0, false)), -1);
    auto sample = [&](size_t i) { return int16_t(got[2 * i] | got[2 * i + 1] << 8); };
    EXPECT_EQ(sample(0), 0);
    EXPECT_LT(sample(16000 - 1), 0x4000 / 5); // ends at gain 1/6
    EXPECT_GT(sample(16000 - 1), 0);

    Store({false, 0, true, 0});
    ASSERT_TRUE(fadeIn.Reload());
    ASSERT_TRUE(WriteFileBytes(path, constant));
    EXPECT_EQ(fadeIn.Work(path, w), 1);
    got = ReadFileBytes(path);
    EXPECT_EQ(FirstDifference(got, Expected(constant, w, 0, false, 6000, true)), -1);
    EXPECT_EQ(sample(0), 0x4000);                 // gain 1 at the first byte
    EXPECT_GT(sample(16000 - 1), 0x4000 * 4 / 5); // still above 0 at the last
}

TEST_F(FaderTest, NothingSwitchedOnOrNothingToDoLeavesTheFileAndSucceeds)
{
    Store({false, 100, false, 100});
    PluginUnderTest fader("Fader.dll");
    WAVEFORMATEX w = dsp::testing::MakeFormat(1, 8000, 16);
    const std::vector<uint8_t> in = Noise(4000, 3);
    const std::string path = dsp::testing::ScratchFile("same.raw");
    ASSERT_TRUE(WriteFileBytes(path, in));
    EXPECT_EQ(fader.Work(path, w), 1);
    EXPECT_EQ(ReadFileBytes(path), in);

    Store({true, 100, true, 100});
    ASSERT_TRUE(fader.Reload());
    const std::string empty = dsp::testing::ScratchFile("empty.raw");
    ASSERT_TRUE(WriteFileBytes(empty, {}));
    EXPECT_EQ(fader.Work(empty, w), 1);
    EXPECT_TRUE(ReadFileBytes(empty).empty());
}

TEST_F(FaderTest, EightBitSamplesFadeTowards128)
{
    Store({true, 250, true, 250});
    PluginUnderTest fader("Fader.dll");
    WAVEFORMATEX w = dsp::testing::MakeFormat(1, 8000, 8);
    std::vector<uint8_t> in(8000);
    for (size_t i = 0; i < in.size(); ++i)
        in[i] = i % 2 ? 255 : 1;
    const std::string path = dsp::testing::ScratchFile("eight.raw");
    ASSERT_TRUE(WriteFileBytes(path, in));
    EXPECT_EQ(fader.Work(path, w), 1);
    const std::vector<uint8_t> got = ReadFileBytes(path);
    EXPECT_EQ(FirstDifference(got, Expected(in, w, 250, true, 250, true)), -1);
    EXPECT_EQ(got[0], 128);                      // silence in 8 bits is 128, not 0
    EXPECT_EQ(got.back(), 128 + 127 * 2 / 2000); // gain 1/2000 of +127: 128
    EXPECT_EQ(got[4000], 1);                     // the middle keeps its value
    for (size_t i = 2; i < 2000; ++i)
        EXPECT_LE(std::abs(int(got[i]) - 128), std::abs(int(got[i + 2]) - 128)) << i;
}

TEST_F(FaderTest, FadeOutStartsOnAWholeFrame)
{
    // 24-bit stereo at 22050 Hz: 7 ms is 926 bytes, not a whole number of 6-byte frames.
    Store({false, 0, true, 7});
    PluginUnderTest fader("Fader.dll");
    WAVEFORMATEX w = dsp::testing::MakeFormat(2, 22050, 24);
    ASSERT_EQ(dsp::BytesForMilliseconds(AsFormat(w), 7), 926u);
    const std::vector<uint8_t> in = Noise(6000, 24);
    const std::string path = dsp::testing::ScratchFile("frames.raw");
    ASSERT_TRUE(WriteFileBytes(path, in));
    EXPECT_EQ(fader.Work(path, w), 1);
    const std::vector<uint8_t> got = ReadFileBytes(path);
    // The region starts at 5070 (6000 - 926 = 5074 rounded down to a frame).
    EXPECT_TRUE(std::equal(in.begin(), in.begin() + 5070, got.begin()));
    EXPECT_TRUE(std::equal(in.begin() + 5070, in.begin() + 5073, got.begin() + 5070)); // gain 1 at p = 0
    dsp::SampleView before(const_cast<uint8_t*>(in.data()) + 5070, 24);
    dsp::SampleView after(const_cast<uint8_t*>(got.data()) + 5070, 24);
    // Both channels of the frame are in the region; every sample of it is ramped to the end.
    for (size_t i = 0; i < 310; ++i) {
        // 24 bits keep the top 24 of the truncated product v * (930 - p) / 930.
        const int64_t faded = int64_t(before.Read(i)) * int64_t(930 - i * 3) / 930;
        EXPECT_EQ(after.Read(i), static_cast<int32_t>(faded) & ~0xFF) << "sample " << i;
    }
    EXPECT_EQ(FirstDifference(got, Expected(in, w, 0, false, 7, true)), -1);
}

TEST_F(FaderTest, RefusesUnusableFormatsAndUnopenableFiles)
{
    Store({true, 100, true, 100});
    PluginUnderTest fader("Fader.dll");
    const std::vector<uint8_t> in = Noise(8000, 5);
    const std::string path = dsp::testing::ScratchFile("kept.raw");
    ASSERT_TRUE(WriteFileBytes(path, in));
    struct
    {
        int channels, rate, bits;
    } bad[] = {{0, 8000, 16}, {2, 8000, 4}, {2, 0, 16}, {200, 400000, 32}};
    for (const auto& b : bad) {
        WAVEFORMATEX w = dsp::testing::MakeFormat(b.channels, b.rate, b.bits);
        EXPECT_EQ(fader.Work(path, w), 0) << b.channels << " ch " << b.rate << " Hz " << b.bits << " bits";
    }
    EXPECT_EQ(ReadFileBytes(path), in);

    WAVEFORMATEX w = dsp::testing::MakeFormat(1, 8000, 16);
    EXPECT_EQ(fader.Work(path + ".missing", w), 0);
    HANDLE lock = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    EXPECT_EQ(fader.Work(path, w), 0);
    CloseHandle(lock);
    EXPECT_EQ(ReadFileBytes(path), in);
}

// The progress values the plug-in would write for a pass, block by block.
void PassValues(std::set<uint32_t>& values, uint64_t region, uint64_t ramp, uint64_t block, bool both,
                bool second)
{
    for (uint64_t done = 0; done < region;) {
        const uint32_t p = dsp::Progress::Percent(done, ramp);
        values.insert(!both ? p : second ? dsp::Progress::SecondHalf(p) : dsp::Progress::FirstHalf(p));
        const uint64_t n = std::min(region - done, block);
        if (done + n > ramp)
            break;
        done += n;
    }
}

struct WorkCall
{
    PluginUnderTest* plugin;
    std::string path;
    WAVEFORMATEX format;
    int result;
};

DWORD WINAPI WorkThread(void* p)
{
    auto* call = static_cast<WorkCall*>(p);
    call->result = call->plugin->Work(call->path, call->format);
    return 0;
}

TEST_F(FaderTest, HostSeesProgressClimbThroughBothHalves)
{
    // 8-bit mono at 1000 Hz: 1000-byte blocks, 600 of them over the two regions.
    Store({true, 299500, true, 299500});
    PluginUnderTest fader("Fader.dll");
    const std::string path = dsp::testing::ScratchFile("long.raw");
    ASSERT_TRUE(WriteFileBytes(path, std::vector<uint8_t>(700000, 200)));
    std::set<uint32_t> allowed;
    PassValues(allowed, 700000, 299500, 1000, true, false);
    PassValues(allowed, 299500, 299500, 1000, true, true);

    dsp::ProgressReader reader;
    WorkCall call{&fader, path, dsp::testing::MakeFormat(1, 1000, 8), -1};
    HANDLE thread = CreateThread(nullptr, 0, WorkThread, &call, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    std::vector<uint32_t> seen;
    while (WaitForSingleObject(thread, 0) != WAIT_OBJECT_0) {
        const uint32_t v = reader.Read();
        if (seen.empty() || seen.back() != v)
            seen.push_back(v);
    }
    CloseHandle(thread);
    EXPECT_EQ(call.result, 1);
    ASSERT_FALSE(seen.empty());
    for (size_t i = 0; i < seen.size(); ++i) {
        EXPECT_TRUE(allowed.count(seen[i]) || (i == 0 && seen[i] == 0)) << "value " << seen[i];
        if (i) {
            EXPECT_LE(seen[i - 1], seen[i]);
        }
    }
    EXPECT_TRUE(std::any_of(seen.begin(), seen.end(), [](uint32_t v) { return v > 0 && v < 50; }));
    EXPECT_TRUE(std::any_of(seen.begin(), seen.end(), [](uint32_t v) { return v >= 50; }));
    EXPECT_LT(*std::max_element(seen.begin(), seen.end()), 100u);
    EXPECT_EQ(*allowed.rbegin(), 99u);
    EXPECT_EQ(*std::max_element(allowed.begin(), allowed.find(50)), 49u);
}

// ---- through dsphost.exe ----

struct HostRun
{
    DWORD code = 999;
    std::string out, err;
};

// Appends whatever the pipe holds now, without waiting. True when it read something.
bool Drain(HANDLE pipe, std::string& into)
{
    DWORD avail = 0;
    if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &avail, nullptr) || avail == 0)
        return false;
    char buf[4096];
    DWORD n = 0;
    if (!ReadFile(pipe, buf, std::min<DWORD>(avail, sizeof buf), &n, nullptr) || n == 0)
        return false;
    into.append(buf, n);
    return true;
}

HostRun RunHost(const std::string& args, DWORD timeoutMs = 60000)
{
    HostRun run;
    const std::string exe = std::string(CB_TOOLS_DIR) + "/dsphost.exe";
    std::string cmd = "\"" + exe + "\" " + args;
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    HANDLE outRead, outWrite, errRead, errWrite;
    CreatePipe(&outRead, &outWrite, &sa, 0);
    CreatePipe(&errRead, &errWrite, &sa, 0);
    SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = outWrite;
    si.hStdError = errWrite;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION pi{};
    const BOOL started =
        CreateProcessA(exe.c_str(), cmd.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
    CloseHandle(outWrite);
    CloseHandle(errWrite);
    if (!started) {
        CloseHandle(outRead);
        CloseHandle(errRead);
        run.err = "cannot start " + exe;
        return run;
    }
    // Drain both pipes while the program runs, and stop when it has ended and
    // the pipes are empty. Waiting for the pipes to close is not enough: Wine
    // may pass the program's standard handles on to a helper process it starts
    // for it (its desktop process), which outlives the program.
    const DWORD begin = GetTickCount();
    bool ended = false;
    for (;;) {
        const bool any = Drain(outRead, run.out) | Drain(errRead, run.err);
        if (ended && !any)
            break;
        if (!ended)
            ended = WaitForSingleObject(pi.hProcess, any ? 0 : 10) == WAIT_OBJECT_0;
        if (GetTickCount() - begin > timeoutMs)
            break;
    }
    if (!ended)
        TerminateProcess(pi.hProcess, 999);
    GetExitCodeProcess(pi.hProcess, &run.code);
    CloseHandle(outRead);
    CloseHandle(errRead);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return run;
}

std::string Quote(const std::string& s)
{
    return "\"" + s + "\"";
}

const std::string kFaderDll = std::string(CB_DIST_DIR) + "/Fader.dll";

TEST_F(FaderTest, DsphostFadesWavFilesAndKeepsTheInput)
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
            Noise(f.blockAlign * (11025 * 3 / 2), uint32_t(c.bits)); // 1.5 s of whole frames
        const std::vector<uint8_t> input = wav::MakeFile(f, samples);
        const std::string in = dir + "in.wav", out = dir + "out.wav";
        ASSERT_TRUE(WriteFileBytes(in, input));
        const HostRun run = RunHost("--quiet " + Quote(kFaderDll) + " " + Quote(in) + " " + Quote(out));
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
        EXPECT_FALSE(dsp::testing::FileExists(out + ".dsphost.part"));
    }
}

TEST_F(FaderTest, DsphostReportsTheProgressItReadsAndRunsRawFiles)
{
    Store({true, 299500, true, 299500});
    const std::string dir = dsp::testing::ScratchDir();
    const std::string raw = dir + "long.raw";
    const std::vector<uint8_t> in(700000, 60);
    ASSERT_TRUE(WriteFileBytes(raw, in));
    const HostRun run = RunHost("--raw " + Quote(kFaderDll) + " " + Quote(raw) +
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

TEST_F(FaderTest, DsphostRefusesUnusableWavFiles)
{
    const std::string dir = dsp::testing::ScratchDir();
    const dsp::WaveFormat f = dsp::MakePcmFormat(2, 8000, 16);
    std::vector<uint8_t> good = wav::MakeFile(f, Noise(400, 9));
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
        const HostRun run = RunHost(Quote(kFaderDll) + " " + Quote(in) + " " + Quote(out));
        EXPECT_EQ(run.code, 3u) << c.name;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.name << ": " << run.err;
        EXPECT_EQ(ReadFileBytes(in), c.bytes);
        EXPECT_FALSE(dsp::testing::FileExists(out));
    }
    HostRun run = RunHost(Quote(kFaderDll) + " " + Quote(dir + "none.wav") + " " + Quote(dir + "out.wav"));
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

// ---- the panel ----

std::string ControlText(HWND dialog, int id)
{
    char text[64] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

std::string StaticTexts(HWND dialog)
{
    std::string all;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        char cls[32] = {}, text[64] = {};
        GetClassNameA(c, cls, sizeof cls);
        GetWindowTextA(c, text, sizeof text);
        if (_stricmp(cls, "Static") == 0)
            all += std::string(text) + "|";
    }
    return all;
}

TEST_F(FaderTest, PanelShowsTheSettingsAndSavesEachChangeAtOnce)
{
    PluginUnderTest fader("Fader.dll"); // nothing stored: defaults
    HostWindow host(true);
    HWND panel = fader.Show(host.Handle());
    ASSERT_NE(panel, nullptr);
    for (const std::string& n : kNames)
        EXPECT_FALSE(settings::ValueExists(n.c_str(), HKEY_CURRENT_USER, settings::kPluginKey)) << n;

    EXPECT_EQ(ControlText(panel, 1009), "Fade In Over");
    EXPECT_EQ(ControlText(panel, 1010), "Fade Out");
    EXPECT_EQ(StaticTexts(panel), "mSec|mSec (from end)|");
    EXPECT_EQ(ControlText(panel, 1004), "6000");
    EXPECT_EQ(ControlText(panel, 1005), "6000");
    EXPECT_TRUE(GetWindowLongA(GetDlgItem(panel, 1004), GWL_STYLE) & ES_NUMBER);
    EXPECT_TRUE(GetWindowLongA(GetDlgItem(panel, 1005), GWL_STYLE) & ES_NUMBER);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(panel, 1004)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(panel, 1005)));
    RECT units{0, 0, 240, 56}, r{};
    MapDialogRect(panel, &units);
    GetWindowRect(panel, &r);
    EXPECT_EQ(r.right - r.left, units.right);
    EXPECT_EQ(r.bottom - r.top, units.bottom);

    SendDlgItemMessageA(panel, 1009, BM_CLICK, 0, 0);
    EXPECT_EQ(settings::ReadNumber("Vol-Fade-In", HKEY_CURRENT_USER, settings::kPluginKey), 0xFFFFFFFFu);
    EXPECT_EQ(settings::ReadNumber("Vol-Fade-InLength", HKEY_CURRENT_USER, settings::kPluginKey), 6000u);
    EXPECT_TRUE(settings::ValueExists("Vol-Fade-Out", HKEY_CURRENT_USER, settings::kPluginKey));
    EXPECT_EQ(settings::ReadNumber("Vol-Fade-OutLength", HKEY_CURRENT_USER, settings::kPluginKey), 6000u);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(panel, 1004)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(panel, 1005)));

    // Typing: every keystroke saves; letters are refused by the field.
    HWND edit = GetDlgItem(panel, 1004);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    SendMessageA(edit, WM_CHAR, '2', 1);
    EXPECT_EQ(settings::ReadNumber("Vol-Fade-InLength", HKEY_CURRENT_USER, settings::kPluginKey), 2u);
    SendMessageA(edit, WM_CHAR, '5', 1);
    EXPECT_EQ(settings::ReadNumber("Vol-Fade-InLength", HKEY_CURRENT_USER, settings::kPluginKey), 25u);
    SendMessageA(edit, WM_CHAR, 'k', 1);
    EXPECT_EQ(ControlText(panel, 1004), "25");
    // An EN_CHANGE from the out field saves too.
    SetDlgItemTextA(panel, 1005, "1234");
    EXPECT_EQ(settings::ReadNumber("Vol-Fade-OutLength", HKEY_CURRENT_USER, settings::kPluginKey), 1234u);

    SendDlgItemMessageA(panel, 1010, BM_CLICK, 0, 0);
    SendDlgItemMessageA(panel, 1009, BM_CLICK, 0, 0);
    EXPECT_EQ(settings::ReadNumber("Vol-Fade-Out", HKEY_CURRENT_USER, settings::kPluginKey), 0xFFFFFFFFu);
    EXPECT_EQ(settings::ReadNumber("Vol-Fade-In", HKEY_CURRENT_USER, settings::kPluginKey), 0u);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(panel, 1004)));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(panel, 1005)));

    // A 0 typed is stored as 0 and becomes 6000 again at the next load.
    SetDlgItemTextA(panel, 1005, "0");
    EXPECT_EQ(settings::ReadNumber("Vol-Fade-OutLength", HKEY_CURRENT_USER, settings::kPluginKey), 0u);
    EXPECT_NE(fader.Remove(), 0);
    ASSERT_TRUE(fader.Reload());
    panel = fader.Show(host.Handle());
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(ControlText(panel, 1005), "6000");
    EXPECT_EQ(ControlText(panel, 1004), "25");
    EXPECT_EQ(SendDlgItemMessageA(panel, 1010, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_NE(fader.Remove(), 0);
}

TEST_F(FaderTest, DsphostShowsThePanelInItsWindow)
{
    Store({true, 1500, false, 0});
    HANDLE started = nullptr;
    HostRun run;
    struct Call
    {
        HostRun* run;
    } call{&run};
    started = CreateThread(
        nullptr, 0,
        [](void* p) -> DWORD {
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
        for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            if (GetDlgItem(c, 1004))
                panel = c;
    }
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(ControlText(panel, 1004), "1500");
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
