// What the plug-in tests share: sample data, settings, files
// that are locked, partly locked or read-only, and a folder listing.
#pragma once

#include <windows.h>
#include <mmreg.h>

#include <cstdint>
#include <string>
#include <vector>

#include "testing/plugin_under_test.h"
#include "testing/test_bytes.h"

namespace dsp::testing {

// What one call of a plug-in did to a file.
struct Outcome
{
    int result;
    std::vector<uint8_t> bytes;      // the file afterwards
    std::vector<std::string> folder; // every file in its folder afterwards
};

// Writes `audio` to "audio.raw" in `folder` (emptied first) and runs the plug-in on it.
Outcome WorkIn(const std::string& folder, PluginUnderTest& plugin, const std::vector<uint8_t>& audio,
               WAVEFORMATEX format);
#ifdef CB_TEST_TMP
// The same in the running test's scratch folder.
inline Outcome WorkOn(PluginUnderTest& plugin, const std::vector<uint8_t>& audio, WAVEFORMATEX format)
{
    return WorkIn(ScratchDir(), plugin, audio, format);
}
#endif

// The folder of a lone input file: what a clean run leaves behind.
inline std::vector<std::string> OnlyInput()
{
    return {"audio.raw"};
}

// A control's text.
std::string Text(HWND dialog, int id);
// The texts of a row of minutes, seconds and milliseconds edits, as "m,s,ms".
std::string ClockText(HWND dialog, int minutes, int seconds, int milliseconds);

// Writes a number / removes a value in the plug-ins' key (before loading a plug-in).
void SetNumber(const char* name, uint32_t value);
uint32_t GetNumber(const char* name);

// Holds a file open without sharing while it lives, the way another program
// that locks a file does.
class HeldFile
{
public:
    explicit HeldFile(const std::string& path);
    ~HeldFile();
    bool Held() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

// Keeps a file open for reading the way a player does (sharing reading and
// writing, not deleting) while it lives: the file can be read and written,
// but not replaced.
class OpenElsewhere
{
public:
    explicit OpenElsewhere(const std::string& path);
    ~OpenElsewhere();
    bool Open() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

// Marks a file read-only while it lives.
class ReadOnlyFile
{
public:
    explicit ReadOnlyFile(const std::string& path);
    ~ReadOnlyFile();

private:
    std::string path_;
};

// The names of the files in a folder (path ending in a backslash), sorted.
std::vector<std::string> FolderEntries(const std::string& folder);

} // namespace dsp::testing
