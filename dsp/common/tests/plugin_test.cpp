// The plug-in shell (DllMain and the three exports) and the panel pattern,
// driven through a small probe plug-in built for these tests.
#include "panel.h"
#include "settings_store.h"
#include "testing/plugin_under_test.h"

#include <gtest/gtest.h>

#include <string>

namespace {

namespace settings = dsp::settings;
using dsp::testing::HostWindow;
using dsp::testing::PluginUnderTest;

constexpr const char* kKey = "Software\\DspFrameworkTests\\Probe";
constexpr const char* kProbeDir = CB_BINARY_DIR "/dsp/common/tests";

class PluginShell : public testing::Test
{
protected:
    void SetUp() override
    {
        settings::DeleteKeyTree(HKEY_CURRENT_USER, "Software\\DspFrameworkTests", "Probe");
    }
    void TearDown() override
    {
        settings::DeleteKeyTree(HKEY_CURRENT_USER, "Software\\DspFrameworkTests", "Probe");
    }
    static uint32_t Loads() { return settings::ReadNumber("Loads", HKEY_CURRENT_USER, kKey); }
};

DWORD WINAPI Idle(void*)
{
    return 0;
}

TEST_F(PluginShell, StartUpSetsTheDefaultKeyAndRunsAgainForEachNewThread)
{
    PluginUnderTest probe("Probe.dll", kProbeDir);
    ASSERT_TRUE(probe.Loaded()) << probe.Path();
    EXPECT_EQ(Loads(), 1u);
    EXPECT_EQ(settings::ReadText("DefaultPath", HKEY_CURRENT_USER, kKey),
              "Software\\Marrowby\\Tonvask\\tVC-DSP");
    HANDLE thread = CreateThread(nullptr, 0, Idle, nullptr, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    WaitForSingleObject(thread, 10000);
    CloseHandle(thread);
    EXPECT_EQ(Loads(), 2u); // the thread's attach reloaded the settings
    ASSERT_TRUE(probe.Reload());
    EXPECT_EQ(Loads(), 3u);
}

TEST_F(PluginShell, WorkReturnsOneByteTruthAndNothingThrownGetsOut)
{
    PluginUnderTest probe("Probe.dll", kProbeDir);
    ASSERT_TRUE(probe.Loaded());
    WAVEFORMATEX f = dsp::testing::MakeFormat(2, 44100, 16);
    EXPECT_EQ(probe.Work("C:\\ok.raw", f), 1);
    EXPECT_EQ(f.nChannels, 1); // the record came back changed
    EXPECT_EQ(probe.Work("C:\\throw.raw", f), 0);
    EXPECT_EQ(probe.Work("C:\\nomemory.raw", f), 0);
    EXPECT_EQ(probe.Work("C:\\fail.raw", f), 0);
    auto work = reinterpret_cast<DSPWorkOnThisFileFn>(GetProcAddress(probe.Module(), "DSPWorkOnThisFile"));
    ASSERT_NE(work, nullptr);
    EXPECT_EQ(work(nullptr, &f), 0);
    char path[] = "C:\\ok.raw";
    EXPECT_EQ(work(path, nullptr), 0);
}

TEST_F(PluginShell, PanelSitsAt20x208AndSavesOnEveryChangeButNotWhileFilling)
{
    settings::WriteNumber("Number", 42, HKEY_CURRENT_USER, kKey);
    PluginUnderTest probe("Probe.dll", kProbeDir);
    ASSERT_TRUE(probe.Loaded());
    settings::DeleteValue("Number", HKEY_CURRENT_USER, kKey); // loaded: 42 is in the globals now

    HostWindow host(true);
    ASSERT_NE(host.Handle(), nullptr);
    HWND panel = probe.Show(host.Handle());
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(probe.ShowResult(), 0); // ShowWindow's answer: the panel was hidden before
    EXPECT_TRUE(IsWindowVisible(panel));
    EXPECT_EQ(GetParent(panel), host.Handle());
    EXPECT_TRUE(GetWindowLongA(panel, GWL_STYLE) & WS_CHILD);
    RECT r{};
    GetWindowRect(panel, &r);
    POINT topLeft{r.left, r.top};
    ScreenToClient(host.Handle(), &topLeft);
    EXPECT_EQ(topLeft.x, 20);
    EXPECT_EQ(topLeft.y, 208);

    // Filling the controls wrote nothing.
    EXPECT_EQ(dsp::GetDlgNumber(panel, 1001), 42);
    EXPECT_FALSE(settings::ValueExists("Number", HKEY_CURRENT_USER, kKey));
    EXPECT_FALSE(settings::ValueExists("Switch", HKEY_CURRENT_USER, kKey));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(panel, 1001)));

    // The check box: saved at once, and it enables the edit field.
    SendDlgItemMessageA(panel, 1002, BM_CLICK, 0, 0);
    EXPECT_EQ(settings::ReadNumber("Switch", HKEY_CURRENT_USER, kKey), 0xFFFFFFFFu);
    EXPECT_EQ(settings::ReadNumber("Number", HKEY_CURRENT_USER, kKey), 42u);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(panel, 1001)));

    // Keystrokes in the edit field save each time; it takes digits only.
    HWND edit = GetDlgItem(panel, 1001);
    SendMessageA(edit, EM_SETSEL, 2, 2);
    SendMessageA(edit, WM_CHAR, '7', 1);
    EXPECT_EQ(settings::ReadNumber("Number", HKEY_CURRENT_USER, kKey), 427u);
    SendMessageA(edit, WM_CHAR, 'x', 1);
    EXPECT_EQ(dsp::GetDlgNumber(panel, 1001), 427);
    SetDlgItemTextA(panel, 1001, "");
    EXPECT_EQ(settings::ReadNumber("Number", HKEY_CURRENT_USER, kKey), 0u); // empty reads as 0

    // A command the panel throws on is caught at the dialog procedure; the panel
    // keeps working afterwards.
    SendMessageA(panel, WM_COMMAND, MAKEWPARAM(1003, BN_CLICKED), 0);
    EXPECT_TRUE(IsWindow(panel));
    SetDlgItemTextA(panel, 1001, "5");
    EXPECT_EQ(settings::ReadNumber("Number", HKEY_CURRENT_USER, kKey), 5u);

    EXPECT_NE(probe.Remove(), 0);
    EXPECT_FALSE(IsWindow(panel));
    EXPECT_EQ(probe.Remove(), 0); // no panel: harmless failure
}

TEST(PanelHelpers, ParseDecimalTakesWholeNumbersOnly)
{
    struct
    {
        const char* text;
        long value;
    } cases[] = {{"6000", 6000},    {"", 0},      {"0", 0},
                 {"-12", -12},      {"12abc", 0}, {"abc", 0},
                 {" 5", 0},         {"+7", 7},    {"2147483647", 2147483647},
                 {"2147483648", 0}, {nullptr, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(dsp::ParseDecimal(c.text), c.value) << (c.text ? c.text : "(null)");
}

} // namespace
