// Test helpers for plug-ins: load a built plug-in from the dist folder and
// call its exports, raw-file helpers, a scratch folder per test and a
// registry scope that removes given values from the plug-in key.
//
//   TEST(Fader, FadesIn) {
//       dsp::testing::RegistryScope reg({"Vol-Fade-In", "Vol-Fade-InLength"});
//       dsp::settings::WriteBool("Vol-Fade-In", true, HKEY_CURRENT_USER, dsp::settings::kPluginKey);
//       dsp::testing::PluginUnderTest fader("Fader.dll");   // loads after the settings are written
//       const std::string file = dsp::testing::ScratchFile("in.raw");
//       dsp::testing::WriteFileBytes(file, bytes);
//       WAVEFORMATEX f = dsp::testing::MakeFormat(2, 44100, 16);
//       EXPECT_EQ(fader.Work(file, f), 1);
//   }
#pragma once

#include <windows.h>
#include <mmreg.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "plugin.h"
#include "plugin_host.h"

namespace dsp::testing {

class PluginUnderTest
{
public:
#ifdef CB_DIST_DIR
    explicit PluginUnderTest(const char* dllName) : PluginUnderTest(dllName, CB_DIST_DIR) {}
#endif
    PluginUnderTest(const char* dllName, const char* directory);
    PluginUnderTest(const PluginUnderTest&) = delete;
    PluginUnderTest& operator=(const PluginUnderTest&) = delete;

    bool Loaded() const
    {
        return plugin_.Complete();
    }
    HMODULE Module() const
    {
        return plugin_.Module();
    }
    const std::string& Path() const
    {
        return plugin_.Path();
    }

    // DSPWorkOnThisFile(path, &format): 1 applied, 0 failed, -1 not loaded.
    int Work(const std::string& path, WAVEFORMATEX& format);
    // ShowDSPSettings(parent); returns the panel window (the child of parent
    // made from dialog 101), or nullptr.
    HWND Show(HWND parent);
    int ShowResult() const
    {
        return showResult_;
    }
    int Remove();
    // FreeLibrary + LoadLibrary: the plug-in reads its settings again.
    bool Reload();

private:
    LoadedPlugin plugin_;
    int showResult_ = 0;
};

// A window to hold panels in tests (hidden unless shown): the host's frame
// of dsphost. Handle() is the parent to pass to Show().
class HostWindow
{
public:
    explicit HostWindow(bool visible = false, const char* title = "DSP test host");
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;
    HWND Handle() const { return window_.Parent(); }
    HWND Frame() const { return window_.Frame(); }

private:
    dsp::PanelHostWindow window_;
};

// Runs the message loop of this thread until it is empty.
void PumpMessages();

WAVEFORMATEX MakeFormat(int channels, int rate, int bits);

bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> ReadFileBytes(const std::string& path);
bool FileExists(const std::string& path);

// A folder private to the running test (created empty): <root>/<Suite>.<Test>/
std::string ScratchDir(const char* root);
#ifdef CB_TEST_TMP
inline std::string ScratchDir()
{
    return ScratchDir(CB_TEST_TMP);
}
inline std::string ScratchFile(const char* name)
{
    return ScratchDir() + name;
}
#endif

// Deletes the given value names from HKEY_CURRENT_USER\<kPluginKey> when
// made and again when destroyed.
class RegistryScope
{
public:
    RegistryScope(std::initializer_list<const char*> names);
    explicit RegistryScope(std::vector<std::string> names);
    ~RegistryScope();
    RegistryScope(const RegistryScope&) = delete;
    RegistryScope& operator=(const RegistryScope&) = delete;

private:
    void Clear();
    std::vector<std::string> names_;
};

} // namespace dsp::testing
