#include "testing/plugin_under_test.h"

#include "settings_store.h"
#include "temp_file.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace dsp::testing {

PluginUnderTest::PluginUnderTest(const char* dllName, const char* directory)
    : plugin_(std::string(directory) + "/" + dllName)
{}

int PluginUnderTest::Work(const std::string& path, WAVEFORMATEX& format)
{
    if (!plugin_.work)
        return -1;
    std::string copy = path;
    return plugin_.work(copy.data(), &format) & 0xFF;
}

HWND PluginUnderTest::Show(HWND parent)
{
    if (!plugin_.show)
        return nullptr;
    HWND before = GetWindow(parent, GW_CHILD);
    showResult_ = plugin_.show(parent);
    // The newest child of the parent is the panel (children are added on top).
    HWND panel = GetWindow(parent, GW_CHILD);
    return panel != before ? panel : nullptr;
}

int PluginUnderTest::Remove()
{
    return plugin_.remove ? plugin_.remove() : -1;
}

bool PluginUnderTest::Reload()
{
    plugin_.Load();
    return Loaded();
}

HostWindow::HostWindow(bool visible, const char* title) : window_("DspTestHostWindow", title, visible) {}

HostWindow::~HostWindow()
{
    if (HWND frame = window_.Frame())
        DestroyWindow(frame);
    PumpMessages();
}

void PumpMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

WAVEFORMATEX MakeFormat(int channels, int rate, int bits)
{
    WAVEFORMATEX f{};
    f.wFormatTag = WAVE_FORMAT_PCM;
    f.nChannels = static_cast<WORD>(channels);
    f.nSamplesPerSec = static_cast<DWORD>(rate);
    f.wBitsPerSample = static_cast<WORD>(bits);
    f.nBlockAlign = static_cast<WORD>(channels * ((bits + 7) / 8));
    f.nAvgBytesPerSec = f.nBlockAlign * f.nSamplesPerSec;
    f.cbSize = 0;
    return f;
}

bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

std::vector<uint8_t> ReadFileBytes(const std::string& path)
{
    std::vector<uint8_t> bytes;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return bytes;
    uint8_t chunk[65536];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + n);
    std::fclose(f);
    return bytes;
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ScratchDir(const char* root)
{
    std::string name = "scratch";
    if (const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info()) {
        name = std::string(info->test_suite_name()) + "." + info->name();
        for (char& c : name)
            if (c == '/' || c == '\\' || c == ':' || c == '*' || c == '?')
                c = '_';
    }
    std::string dir = std::string(root) + "/" + name;
    for (char& c : dir)
        if (c == '/')
            c = '\\';
    CreateAllDirectories(dir.c_str());
    EmptyDirectory(dir.c_str());
    return dir + "\\";
}

RegistryScope::RegistryScope(std::initializer_list<const char*> names)
{
    for (const char* n : names)
        names_.emplace_back(n);
    Clear();
}

RegistryScope::RegistryScope(std::vector<std::string> names) : names_(std::move(names))
{
    Clear();
}

RegistryScope::~RegistryScope()
{
    Clear();
}

void RegistryScope::Clear()
{
    for (const std::string& n : names_)
        settings::DeleteValue(n.c_str(), HKEY_CURRENT_USER, settings::kPluginKey);
}

} // namespace dsp::testing
