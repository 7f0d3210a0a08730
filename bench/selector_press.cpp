// Times a hotkey press of Cuebinder against a plain CopyFileA of the same WAV
// file in the same run, for a 1 MB and a 20 MB file: the voice-file replacer
// alone at the smallest and largest buffer, then the whole press through the
// main window (hook, replacer, status bar).
// Usage: selector_press FOLDER   (the folder receives the scratch files)
#include "seconds_clock.h"
#include "Mainunit.h"
#include "Treplacer.h"
#include "Tsettings.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <algorithm>
#include <string>
#include <vector>

namespace {

// A PCM WAV file (44.1 kHz, 16-bit stereo) of `bytes` bytes in all.
bool MakeWav(const std::string& path, std::size_t bytes)
{
    std::vector<unsigned char> data(bytes);
    auto put32 = [&](std::size_t at, unsigned v) {
        for (int i = 0; i < 4; ++i)
            data[at + i] = static_cast<unsigned char>(v >> (8 * i));
    };
    std::memcpy(data.data(), "RIFF", 4);
    put32(4, static_cast<unsigned>(bytes - 8));
    std::memcpy(data.data() + 8, "WAVEfmt ", 8);
    put32(16, 16);
    put32(20, 1 | (2u << 16));
    put32(24, 44100);
    put32(28, 44100 * 4);
    put32(32, 4 | (16u << 16));
    std::memcpy(data.data() + 36, "data", 4);
    put32(40, static_cast<unsigned>(bytes - 44));
    unsigned x = 12345;
    for (std::size_t i = 44; i < bytes; ++i) {
        x = x * 1103515245u + 12345u;
        data[i] = static_cast<unsigned char>(x >> 16);
    }
    HANDLE f =
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(f, data.data(), static_cast<DWORD>(bytes), &written, nullptr);
    CloseHandle(f);
    return ok && written == bytes;
}

// Median of the whole press and of a plain copy (milliseconds) over `reps`
// presses of the entry `index` of an active main window.
void TimePresses(TMainForm& form, std::size_t index, const std::string& copyTarget, int reps)
{
    const cb::TSound& sound = form.Sounds()[index];
    std::vector<double> press, copy;
    for (int i = 0; i < reps; ++i) {
        MSG msg{};
        msg.hwnd = form.Handle();
        msg.message = WM_HOTKEY;
        msg.wParam = static_cast<WPARAM>(sound.ID);
        bool handled = false;
        double t0 = Now();
        form.ApplicationEvents1Message(msg, handled);
        double t1 = Now();
        CopyFileA(sound.Filename.c_str(), copyTarget.c_str(), FALSE);
        double t2 = Now();
        press.push_back((t1 - t0) * 1000.0);
        copy.push_back((t2 - t1) * 1000.0);
    }
    std::sort(press.begin(), press.end());
    std::sort(copy.begin(), copy.end());
    const double p = press[press.size() / 2], c = copy[copy.size() / 2];
    std::printf("%-6s %-8s %12.3f %12.3f %12s %8.2f\n", index == 0 ? "1 MB" : "20 MB", "press", p, c, "",
                p / c);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: selector_press FOLDER\n");
        return 1;
    }
    const std::string dir = argv[1];
    const std::string target = dir + "\\voice_input.wav";
    const std::string copyTarget = dir + "\\copy_target.wav";
    struct Run
    {
        const char* name;
        std::size_t bytes;
        int reps;
    };
    const Run runs[] = {{"1 MB", 1u << 20, 100}, {"20 MB", 20u << 20, 20}};

    std::printf("%-6s %-8s %12s %12s %12s %8s\n", "file", "buffer", "replace ms", "CopyFile ms",
                "replace MB/s", "ratio");
    for (const Run& run : runs) {
        const std::string source = dir + "\\source_" + std::to_string(run.bytes) + ".wav";
        if (!MakeWav(source, run.bytes)) {
            std::fprintf(stderr, "cannot write %s\n", source.c_str());
            return 2;
        }
        for (int kilobytes : {128, 2048}) {
            TReplacer replacer;
            replacer.ApplyBufferSizeSetting(kilobytes);
            replacer.SetFilename(target);
            // Warm both paths once (file cache, first allocation of the target's blocks).
            if (!replacer.Replace(source) || !CopyFileA(source.c_str(), copyTarget.c_str(), FALSE)) {
                std::fprintf(stderr, "copy failed\n");
                return 3;
            }
            double replaceTime = 0, copyTime = 0;
            // Interleaved, so both see the same state of the machine.
            for (int i = 0; i < run.reps; ++i) {
                double t0 = Now();
                replacer.Replace(source);
                double t1 = Now();
                CopyFileA(source.c_str(), copyTarget.c_str(), FALSE);
                double t2 = Now();
                replaceTime += t1 - t0;
                copyTime += t2 - t1;
            }
            double r = replaceTime / run.reps * 1000.0;
            double c = copyTime / run.reps * 1000.0;
            std::printf("%-6s %5d KB %12.3f %12.3f %12.1f %8.2f\n", run.name, kilobytes, r, c,
                        static_cast<double>(run.bytes) / (1 << 20) / (r / 1000.0), r / c);
        }
    }

    // The whole press: a main window over a settings file that names the folder
    // as the game directory, one entry per file, activated.
    {
        TSettings settings(dir + "\\Cuebinder.ini");
        settings.SetInstallPath(dir);
        settings.Save();
        TReplacer replacer;
        TMainForm form(settings, replacer);
        if (!form.Create(GetModuleHandleA(nullptr), SW_SHOWNOACTIVATE)) {
            std::fprintf(stderr, "no main window\n");
            return 4;
        }
        const std::uint16_t shortcuts[] = {0xC000 | VK_F9, 0xC000 | VK_F10};
        for (std::size_t i = 0; i < 2; ++i) {
            cb::TSound sound;
            sound.Filename = dir + "\\source_" + std::to_string(runs[i].bytes) + ".wav";
            sound.ShortCut = shortcuts[i];
            form.AppendSound(sound);
        }
        if (!form.ActivateHotKeys()) {
            std::fprintf(stderr, "cannot register the hotkeys\n");
            return 5;
        }
        for (std::size_t i = 0; i < 2; ++i)
            TimePresses(form, i, copyTarget, runs[i].reps);
        form.DeactivateHotKeys();
    }
    for (const Run& run : runs)
        DeleteFileA((dir + "\\source_" + std::to_string(run.bytes) + ".wav").c_str());
    DeleteFileA(target.c_str());
    DeleteFileA(copyTarget.c_str());
    DeleteFileA((dir + "\\Cuebinder.ini").c_str());
    return 0;
}
