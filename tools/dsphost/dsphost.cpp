// dsphost: a stand-in for the suite's converter, the program that normally
// hosts the DSP plug-ins (it is not part of this system). It loads one
// plug-in and drives it the way the converter does:
//
//   dsphost [--quiet] [--progress-log] [--timings] PLUGIN.dll IN.wav OUT.wav
//       reads a PCM WAV, writes its samples to a raw file, calls
//       DSPWorkOnThisFile on a worker thread while it reads the progress value
//       "tVCDSPTellPCDone" and draws a progress bar, then writes OUT.wav in the
//       format the plug-in left in the format record. IN.wav is only read.
//   dsphost --raw PLUGIN.dll FILE --channels C --rate R --bits B [--block-align A]
//       runs the plug-in on a raw sample file in place and prints the resulting format.
//   dsphost --panel PLUGIN.dll [--close-after SECONDS]
//       opens a host window and shows the plug-in's settings panel in it
//       (ShowDSPSettings / RemoveDSPSettings).
//   dsphost --help
//
// Exit codes: 0 done, 1 bad command line, 2 plug-in not loadable, 3 input
// unusable, 4 the plug-in reported failure, 5 output could not be written.
#include <windows.h>
#include <mmreg.h>

#include "core/wav.h"
#include "core/wave_format.h"
#include "disk_file.h"
#include "file_steps.h"
#include "plugin.h"
#include "plugin_host.h"
#include "progress.h"
#include "replace.h"

#include "seconds_clock.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

enum Exit { kOk = 0, kUsage = 1, kNoPlugin = 2, kBadInput = 3, kPluginFailed = 4, kNoOutput = 5 };

constexpr uint32_t kCopyChunk = 1 << 20;
// How often the progress value is read while the plug-in works: often enough
// for a smooth bar, and each read is a round trip through the named mutex
// that competes with the plug-in's own work.
constexpr DWORD kPollMs = 50;

const char* const kUsageText =
    "dsphost - command-line host for Tonvask DSP plug-ins.\n"
    "A stand-in for the suite's converter, which normally loads the plug-ins.\n"
    "\n"
    "  dsphost [--quiet] [--progress-log] [--timings] PLUGIN.dll IN.wav OUT.wav\n"
    "      Applies the plug-in's effect (with its saved settings) to IN.wav and\n"
    "      writes the result to OUT.wav. IN.wav is never modified. Integer PCM\n"
    "      WAV files of 8, 16, 24 or 32 bits (plain or WAVE_FORMAT_EXTENSIBLE).\n"
    "      --quiet         no progress bar\n"
    "      --progress-log  print every progress value read while the plug-in works\n"
    "      --timings       print the seconds each step took (WAV to raw, effect,\n"
    "                      raw to WAV; with --raw the effect alone)\n"
    "  dsphost --raw PLUGIN.dll FILE --channels C --rate R --bits B [--block-align A]\n"
    "      Applies the effect to a raw sample file in place and prints the format\n"
    "      the plug-in reports.\n"
    "  dsphost --panel PLUGIN.dll [--close-after SECONDS]\n"
    "      Opens a host window showing the plug-in's settings panel; every change\n"
    "      is saved by the plug-in at once. Closes after SECONDS when given.\n"
    "  dsphost --help\n"
    "\n"
    "Exit codes: 0 done, 1 bad command line, 2 plug-in not loadable, 3 input\n"
    "unusable, 4 the plug-in reported failure, 5 output could not be written.\n";

int Fail(int code, const std::string& message)
{
    std::fprintf(stderr, "dsphost: %s\n", message.c_str());
    return code;
}

bool ParseNumber(const char* text, unsigned long max, unsigned long* value)
{
    if (!text || !*text)
        return false;
    for (const char* p = text; *p; ++p)
        if (*p < '0' || *p > '9')
            return false;
    errno = 0;
    const unsigned long long v = std::strtoull(text, nullptr, 10);
    if (errno == ERANGE || v > max)
        return false;
    *value = static_cast<unsigned long>(v);
    return true;
}

// A file handle closed on scope exit.
struct Handle
{
    HANDLE h = INVALID_HANDLE_VALUE;
    Handle() = default;
    explicit Handle(HANDLE handle) : h(handle) {}
    ~Handle() { Close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool Ok() const { return h != INVALID_HANDLE_VALUE; }
    void Close()
    {
        if (Ok())
            CloseHandle(h);
        h = INVALID_HANDLE_VALUE;
    }
};

bool SameFile(const char* a, const char* b)
{
    Handle x(CreateFileA(a, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                         0, nullptr));
    Handle y(CreateFileA(b, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                         0, nullptr));
    if (!x.Ok() || !y.Ok())
        return false;
    BY_HANDLE_FILE_INFORMATION ix{}, iy{};
    if (!GetFileInformationByHandle(x.h, &ix) || !GetFileInformationByHandle(y.h, &iy))
        return false;
    return ix.dwVolumeSerialNumber == iy.dwVolumeSerialNumber && ix.nFileIndexHigh == iy.nFileIndexHigh &&
           ix.nFileIndexLow == iy.nFileIndexLow;
}

struct WorkCall
{
    DSPWorkOnThisFileFn work;
    std::string path;
    WAVEFORMATEX* format;
    int result;
};

DWORD WINAPI WorkThread(void* parameter)
{
    auto* call = static_cast<WorkCall*>(parameter);
    call->result = call->work(call->path.data(), call->format) & 0xFF;
    return 0;
}

void DrawBar(uint32_t percent, bool finished)
{
    constexpr int kWidth = 40;
    const uint32_t shown = percent > 100 ? 100 : percent;
    const int filled = finished ? kWidth : static_cast<int>(shown * kWidth / 100);
    char bar[kWidth + 1];
    for (int i = 0; i < kWidth; ++i)
        bar[i] = i < filled ? '#' : '.';
    bar[kWidth] = '\0';
    if (finished)
        std::fprintf(stderr, "\r[%s] done\n", bar);
    else
        std::fprintf(stderr, "\r[%s] %3u%%", bar, shown);
    std::fflush(stderr);
}

// What the command line asks for besides the files.
struct Options
{
    bool bar = true;      // draw the progress bar
    bool log = false;     // print every progress value read
    bool timings = false; // print the seconds each step took
};

// Processor seconds (user and kernel) this process has used so far.
double ProcessorSeconds()
{
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user))
        return 0.0;
    const auto seconds = [](const FILETIME& t) {
        return static_cast<double>((static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime) * 1e-7;
    };
    return seconds(kernel) + seconds(user);
}

// The seconds each named step took, in wall time and in processor time of
// this process, printed on one line when asked for.
class StepTimes
{
public:
    explicit StepTimes(bool print) : print_(print) {}
    ~StepTimes()
    {
        if (print_ && !line_.empty())
            std::printf("timings:%s\n", line_.c_str());
    }
    // Ends the step running since the last call (or since construction).
    void End(const char* step)
    {
        const double now = Now(), processor = ProcessorSeconds();
        char text[96];
        std::snprintf(text, sizeof text, "%s %s %.3f s (processor %.3f s)", line_.empty() ? "" : ",", step,
                      now - start_, processor - processor_);
        line_ += text;
        start_ = now;
        processor_ = processor;
    }

private:
    bool print_;
    double start_ = Now();
    double processor_ = ProcessorSeconds();
    std::string line_;
};

// Calls DSPWorkOnThisFile on a worker thread and reads the progress value
// until it returns. Returns the plug-in's result, or -1 when no thread starts.
int RunPlugin(const dsp::LoadedPlugin& plugin, const std::string& rawPath, WAVEFORMATEX* format, bool bar,
              bool log)
{
    dsp::ProgressReader progress;
    WorkCall call{plugin.work, rawPath, format, 0};
    HANDLE thread = CreateThread(nullptr, 0, WorkThread, &call, 0, nullptr);
    if (!thread)
        return -1;
    uint32_t last = 0xFFFFFFFFu;
    for (;;) {
        const bool finished = WaitForSingleObject(thread, kPollMs) == WAIT_OBJECT_0;
        const uint32_t percent = progress.Read();
        if (percent != last) {
            if (log)
                std::printf("progress %u\n", percent);
            if (bar)
                DrawBar(percent, false);
            last = percent;
        }
        if (finished)
            break;
    }
    CloseHandle(thread);
    if (bar)
        DrawBar(100, true);
    return call.result;
}

void PrintFormat(const WAVEFORMATEX& f)
{
    std::printf("format: channels=%u rate=%lu bits=%u blockAlign=%u avgBytesPerSec=%lu tag=%u\n", f.nChannels,
                static_cast<unsigned long>(f.nSamplesPerSec), f.wBitsPerSample, f.nBlockAlign,
                static_cast<unsigned long>(f.nAvgBytesPerSec), f.wFormatTag);
}

int RunWav(const char* pluginPath, const char* inPath, const char* outPath, const Options& options)
{
    dsp::LoadedPlugin plugin(pluginPath);
    if (!plugin.Complete())
        return Fail(kNoPlugin, plugin.Problem());

    dsp::DiskFile in;
    uint64_t size = 0;
    if (!dsp::OpenWithSize(in, inPath, GENERIC_READ, &size))
        return Fail(kBadInput, std::string("cannot open '") + inPath + "': " + dsp::LastErrorText());
    wav::Info info;
    const wav::Reader reader = [&](uint64_t offset, void* buffer, size_t n) -> size_t {
        if (!in.Seek(static_cast<int64_t>(offset), FILE_BEGIN))
            return 0;
        bool error = false;
        const uint32_t got = in.Read(buffer, static_cast<uint32_t>(n), dsp::kCurrent, &error);
        return error ? 0 : got;
    };
    const wav::Error parsed = wav::Parse(reader, size, &info);
    if (parsed != wav::Error::None)
        return Fail(kBadInput, std::string(inPath) + ": " + wav::Describe(parsed));
    if (SameFile(inPath, outPath))
        return Fail(kUsage, "the output must not be the input file");

    // The samples go to a raw file beside the output; it is removed whatever happens.
    StepTimes times(options.timings);
    const std::string rawPath = dsp::SiblingPath(outPath, ".dsphost.raw");
    dsp::RemoveOnExit rawGuard(rawPath);
    {
        dsp::DiskFile raw;
        if (!raw.Open(rawPath.c_str(), GENERIC_WRITE, CREATE_ALWAYS, false, false))
            return Fail(kNoOutput, "cannot create '" + rawPath + "': " + dsp::LastErrorText());
        if (!dsp::CopyRange(in, info.dataOffset, info.dataBytes, raw, kCopyChunk, nullptr))
            return Fail(kNoOutput, "cannot write the samples to '" + rawPath + "': " + dsp::LastErrorText());
    }
    in.Close();
    times.End("wav-to-raw");

    WAVEFORMATEX format{};
    std::memcpy(&format, &info.format, sizeof format);
    const int result = RunPlugin(plugin, rawPath, &format, options.bar, options.log);
    times.End("effect");
    if (result < 0)
        return Fail(kPluginFailed, "cannot start the worker thread");
    if (result == 0)
        return Fail(kPluginFailed,
                    std::string("the plug-in reported failure (DSPWorkOnThisFile returned 0) for '") +
                        inPath + "'; no output written");
    dsp::WaveFormat out;
    std::memcpy(&out, &format, sizeof out);
    if (!dsp::FormatDescribesAudio(out))
        return Fail(kPluginFailed, "the plug-in left a format record that describes no audio");

    // The raw file becomes OUT.wav where it lies: its samples move up by the
    // header's length (rewriting pages the file already has, which costs
    // less than writing a second file), the header goes in front, and the
    // complete file takes OUT.wav's name in one step. It is dsphost's own
    // file, so a failure half-way harms nothing: it is removed and OUT.wav,
    // if there is one, stays as it was. A file about to be replaced is
    // replaced only by a result already on the disk.
    {
        dsp::DiskFile raw;
        bool rawError = !raw.Open(rawPath.c_str(), GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING, false, false);
        const uint64_t rawSize = rawError ? 0 : raw.Size(&rawError);
        if (rawError)
            return Fail(kNoOutput, "cannot read back '" + rawPath + "'");
        const uint64_t dataBytes = dsp::WholeFrames(rawSize, out);
        const std::vector<uint8_t> header = wav::MakeHeader(out, dataBytes);
        if (header.empty())
            return Fail(kNoOutput, "the result is too large for a WAV file");
        const uint64_t end = header.size() + dataBytes;
        const uint8_t pad = 0;
        if (!raw.TruncateAt(dataBytes) ||
            !raw.ShiftTail(0, static_cast<int64_t>(header.size()), kCopyChunk) ||
            !raw.Write(header.data(), static_cast<uint32_t>(header.size()), dsp::kFromStart) ||
            (wav::PadBytes(dataBytes) && (!raw.Seek(static_cast<int64_t>(end)) || !raw.Write(&pad, 1))))
            return Fail(kNoOutput, "cannot write the result to '" + rawPath + "': " + dsp::LastErrorText());
        if (GetFileAttributesA(outPath) != INVALID_FILE_ATTRIBUTES && !FlushFileBuffers(raw.Handle()))
            return Fail(kNoOutput, "cannot write the result to the disk: " + dsp::LastErrorText());
    }
    if (!dsp::ReplaceInput(rawPath, outPath))
        return Fail(kNoOutput,
                    std::string("cannot move the result to '") + outPath + "': " + dsp::LastErrorText());
    rawGuard.Release();
    times.End("raw-to-wav");
    PrintFormat(format);
    return kOk;
}

// Takes an option that needs no value; false when `a` is none of them.
bool ParseFlag(const std::string& a, Options& options)
{
    if (a == "--quiet")
        options.bar = false;
    else if (a == "--progress-log")
        options.log = true;
    else if (a == "--timings")
        options.timings = true;
    else
        return false;
    return true;
}

int RunRaw(int argc, char** argv)
{
    // --raw PLUGIN FILE then options
    if (argc < 4)
        return Fail(kUsage, "--raw needs PLUGIN.dll FILE --channels C --rate R --bits B (see --help)");
    const char* pluginPath = argv[2];
    const char* file = argv[3];
    unsigned long channels = 0, rate = 0, bits = 0, align = 0;
    bool haveAlign = false;
    Options options;
    for (int i = 4; i < argc; ++i) {
        const std::string a = argv[i];
        unsigned long* target = nullptr;
        unsigned long max = 0xFFFF;
        if (a == "--channels")
            target = &channels;
        else if (a == "--rate")
            target = &rate, max = 0xFFFFFFFFul;
        else if (a == "--bits")
            target = &bits;
        else if (a == "--block-align")
            target = &align, haveAlign = true;
        else if (ParseFlag(a, options))
            continue;
        else
            return Fail(kUsage, "unknown option '" + a + "' (see --help)");
        if (i + 1 >= argc || !ParseNumber(argv[i + 1], max, target))
            return Fail(kUsage, "option " + a + " needs a number");
        ++i;
    }
    if (!channels || !rate || !bits)
        return Fail(kUsage, "--raw needs --channels, --rate and --bits");
    dsp::LoadedPlugin plugin(pluginPath);
    if (!plugin.Complete())
        return Fail(kNoPlugin, plugin.Problem());
    if (GetFileAttributesA(file) == INVALID_FILE_ATTRIBUTES)
        return Fail(kBadInput, std::string("cannot find '") + file + "'");
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = static_cast<WORD>(channels);
    format.nSamplesPerSec = rate;
    format.wBitsPerSample = static_cast<WORD>(bits);
    format.nBlockAlign =
        haveAlign ? static_cast<WORD>(align) : static_cast<WORD>(channels * ((bits + 7) / 8));
    format.nAvgBytesPerSec = format.nBlockAlign * rate;
    StepTimes times(options.timings);
    const int result = RunPlugin(plugin, file, &format, options.bar, options.log);
    times.End("effect");
    if (result <= 0)
        return Fail(kPluginFailed,
                    std::string("the plug-in reported failure (DSPWorkOnThisFile returned 0) for '") + file +
                        "'");
    PrintFormat(format);
    return kOk;
}

// --panel: the plug-in's panel in a host window, until the window is closed
// (or, with --close-after, for that many seconds).
int RunPanel(int argc, char** argv)
{
    if (argc < 3)
        return Fail(kUsage, "--panel needs PLUGIN.dll (see --help)");
    unsigned long closeAfter = 0;
    for (int i = 3; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--close-after" && i + 1 < argc && ParseNumber(argv[i + 1], 86400, &closeAfter))
            ++i;
        else
            return Fail(kUsage, "unknown or incomplete option '" + a + "' (see --help)");
    }
    dsp::LoadedPlugin plugin(argv[2]);
    if (!plugin.Complete())
        return Fail(kNoPlugin, plugin.Problem());

    std::string name = argv[2];
    const size_t slash = name.find_last_of("\\/");
    if (slash != std::string::npos)
        name = name.substr(slash + 1);
    bool removed = false;
    // Closing the window takes the panel away first, as the converter does.
    const auto handler = [&](HWND window, UINT message, WPARAM, LPARAM, LRESULT* result) {
        switch (message) {
        case WM_TIMER:
            KillTimer(window, 1);
            PostMessageA(window, WM_CLOSE, 0, 0);
            return true;
        case WM_CLOSE:
            if (!removed) {
                removed = true;
                std::printf("RemoveDSPSettings returned %d\n", plugin.remove());
                std::fflush(stdout);
            }
            DestroyWindow(window);
            return true;
        case WM_DESTROY:
            PostQuitMessage(0);
            *result = 0;
            return true;
        }
        return false;
    };
    dsp::PanelHostWindow host("DspHostWindow", "dsphost - " + name, true, handler);
    if (!host.Frame())
        return Fail(kNoOutput, "cannot create the host window: " + dsp::LastErrorText());
    std::printf("ShowDSPSettings returned %d\n", plugin.show(host.Parent()));
    std::fflush(stdout);
    host.FitToPanel();
    if (closeAfter)
        SetTimer(host.Frame(), 1, closeAfter * 1000, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        HWND panel = host.Panel();
        if (panel && IsDialogMessageA(panel, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return kOk;
}

int Main(int argc, char** argv)
{
    if (argc < 2)
        return Fail(kUsage, "missing arguments (see --help)");
    const std::string first = argv[1];
    if (first == "--help" || first == "-h" || first == "/?") {
        std::fputs(kUsageText, stdout);
        return kOk;
    }
    if (first == "--raw")
        return RunRaw(argc, argv);
    if (first == "--panel")
        return RunPanel(argc, argv);
    Options options;
    std::vector<const char*> positional;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (ParseFlag(a, options))
            continue;
        if (a.size() > 2 && a.compare(0, 2, "--") == 0)
            return Fail(kUsage, "unknown option '" + a + "' (see --help)");
        positional.push_back(argv[i]);
    }
    if (positional.size() != 3)
        return Fail(kUsage, "expected PLUGIN.dll IN.wav OUT.wav (see --help)");
    return RunWav(positional[0], positional[1], positional[2], options);
}

} // namespace

int main(int argc, char** argv)
{
    try {
        return Main(argc, argv);
    } catch (const std::exception& e) {
        return Fail(kNoOutput, e.what());
    } catch (...) {
        return Fail(kNoOutput, "unexpected failure");
    }
}
