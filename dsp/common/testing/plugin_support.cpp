#include "testing/plugin_support.h"

#include <algorithm>

#include "settings_store.h"
#include "testing/plugin_under_test.h"

namespace dsp::testing {

Outcome WorkIn(const std::string& dir, PluginUnderTest& plugin, const std::vector<uint8_t>& audio,
               WAVEFORMATEX format)
{
    const std::string file = dir + "audio.raw";
    WriteFileBytes(file, audio);
    Outcome outcome;
    outcome.result = plugin.Work(file, format);
    outcome.bytes = ReadFileBytes(file);
    outcome.folder = FolderEntries(dir);
    return outcome;
}

std::string Text(HWND dialog, int id)
{
    char buffer[MAX_PATH] = {};
    GetDlgItemTextA(dialog, id, buffer, sizeof buffer);
    return buffer;
}

std::string ClockText(HWND dialog, int minutes, int seconds, int milliseconds)
{
    return Text(dialog, minutes) + "," + Text(dialog, seconds) + "," + Text(dialog, milliseconds);
}

void SetNumber(const char* name, uint32_t value)
{
    dsp::settings::WriteNumber(name, value, HKEY_CURRENT_USER, dsp::settings::kPluginKey);
}

uint32_t GetNumber(const char* name)
{
    return dsp::settings::ReadNumber(name, HKEY_CURRENT_USER, dsp::settings::kPluginKey);
}

HeldFile::HeldFile(const std::string& path)
    : handle_(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr))
{}

HeldFile::~HeldFile()
{
    if (handle_ != INVALID_HANDLE_VALUE)
        CloseHandle(handle_);
}

OpenElsewhere::OpenElsewhere(const std::string& path)
    : handle_(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr))
{}

OpenElsewhere::~OpenElsewhere()
{
    if (handle_ != INVALID_HANDLE_VALUE)
        CloseHandle(handle_);
}

ReadOnlyFile::ReadOnlyFile(const std::string& path) : path_(path)
{
    SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_READONLY);
}

ReadOnlyFile::~ReadOnlyFile()
{
    SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
}

std::vector<std::string> FolderEntries(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace dsp::testing
