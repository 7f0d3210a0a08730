// The panel's position files and file dialogs, with the plug-in's sources
// linked into this program so the dialogs are answered from a script.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "core/bands.h"
#include "panel_ids.h"
#include "equaliser_settings.h"
#include "plugin.h"
#include "prompts.h"
#include "settings_store.h"
#include "testing/plugin_under_test.h"

namespace {

using eq::Positions;

// Records the file dialogs' requests in full and answers from a script.
class FileDialogs final : public dsp::Prompts
{
public:
    struct Request
    {
        std::string kind, title, filter, defaultExtension;
        DWORD flags = 0;
        HWND owner = nullptr;
    };
    std::deque<std::string> answers;
    std::vector<Request> Calls;

    int Message(HWND, const char* text, const char*, UINT) override
    {
        ADD_FAILURE() << "unexpected message box: " << text;
        return IDOK;
    }
    bool OpenFileName(OPENFILENAMEA* r) override { return Answer("open", r); }
    bool SaveFileName(OPENFILENAMEA* r) override { return Answer("save", r); }

private:
    bool Answer(const char* kind, OPENFILENAMEA* r)
    {
        Request q{kind,     r->lpstrTitle ? r->lpstrTitle : "",
                  "",       r->lpstrDefExt ? r->lpstrDefExt : "",
                  r->Flags, r->hwndOwner};
        // The filter's texts and patterns, each followed by "|".
        for (const char* p = r->lpstrFilter; p && *p; p += std::strlen(p) + 1)
            q.filter += std::string(p) + "|";
        Calls.push_back(q);
        if (answers.empty())
            return false;
        const std::string a = answers.front();
        answers.pop_front();
        if (a.empty() || a.size() >= r->nMaxFile)
            return false;
        std::memcpy(r->lpstrFile, a.c_str(), a.size() + 1);
        return true;
    }
};

std::vector<std::string> PositionNames()
{
    std::vector<std::string> names;
    for (int band = 0; band < eq::kBands; ++band)
        names.push_back("EQ-Pos" + std::to_string(band));
    return names;
}

class EqualiserPositionFiles : public ::testing::Test
{
protected:
    void SetUp() override
    {
        plugin::g_instance = GetModuleHandleA(nullptr);
        dsp::settings::SetDefault(HKEY_CURRENT_USER, dsp::settings::kPluginKey);
        plugin::LoadSettings();
        ShowDSPSettings(host_.Handle());
        panel_ = plugin::g_panel;
        ASSERT_NE(panel_, nullptr);
    }
    void TearDown() override { RemoveDSPSettings(); }

    void Click(int id) { SendMessageA(GetDlgItem(panel_, id), BM_CLICK, 0, 0); }
    void SetPositions(const Positions& p)
    {
        equaliser::g_positions = p;
        SendMessageA(panel_, WM_COMMAND, MAKEWPARAM(IDC_RESET, 0), 0); // stores zeros
        equaliser::g_positions = p;
        for (int band = 0; band < eq::kBands; ++band) {
            SendMessageA(GetDlgItem(panel_, IDC_BAND_FIRST + band), TBM_SETPOS, TRUE, -p[band]);
        }
        SendMessageA(panel_, WM_VSCROLL, TB_ENDTRACK, 0);
    }
    Positions Sliders() const
    {
        Positions p{};
        for (int band = 0; band < eq::kBands; ++band) {
            p[band] = -static_cast<int32_t>(
                SendMessageA(GetDlgItem(panel_, IDC_BAND_FIRST + band), TBM_GETPOS, 0, 0));
        }
        return p;
    }
    static Positions Stored()
    {
        Positions p{};
        for (int band = 0; band < eq::kBands; ++band) {
            p[band] =
                static_cast<int32_t>(dsp::settings::ReadNumber(("EQ-Pos" + std::to_string(band)).c_str()));
        }
        return p;
    }
    // Loads `path` through the panel's Load button.
    void Load(const std::string& path)
    {
        dialogs_.answers.push_back(path);
        Click(IDC_LOAD);
    }

    dsp::testing::RegistryScope registry_{PositionNames()};
    dsp::testing::HostWindow host_;
    FileDialogs dialogs_;
    dsp::PromptsScope prompts_{dialogs_};
    HWND panel_ = nullptr;
};

TEST_F(EqualiserPositionFiles, SavedFileHoldsTheBandRecordAndLoadsBack)
{
    const Positions p = {-200, 150, -3, 0, 77, 12, -60, 200, 5, -5, 100, -100, 42, 0, 1, -1, 180, -150};
    SetPositions(p);
    ASSERT_EQ(Stored(), p);
    const std::string dir = dsp::testing::ScratchDir();
    dialogs_.answers.push_back(dir + "mine");
    Click(IDC_SAVE);

    ASSERT_EQ(dialogs_.Calls.size(), 1u);
    EXPECT_EQ(dialogs_.Calls[0].kind, "save");
    EXPECT_EQ(dialogs_.Calls[0].title, "Save Graphic Equalizer Positions");
    EXPECT_EQ(dialogs_.Calls[0].filter, "Tonvask Graphic Equalizer|;*.deq|");
    EXPECT_TRUE(dialogs_.Calls[0].flags & OFN_OVERWRITEPROMPT);
    EXPECT_EQ(dialogs_.Calls[0].owner, panel_);

    // ".deq" appended; slots 9 and 16 repeat bands 6 and 12.
    const auto bytes = dsp::testing::ReadFileBytes(dir + "mine.deq");
    const auto want = eq::EncodeRecord(eq::FileRecord(p));
    ASSERT_EQ(bytes, std::vector<uint8_t>(want.begin(), want.end()));
    EXPECT_EQ(eq::DecodeRecord(bytes.data())[9], -60);
    EXPECT_EQ(eq::DecodeRecord(bytes.data())[16], 42);

    // A name that already ends in ".DEQ" keeps it.
    dialogs_.answers.push_back(dir + "Other.DEQ");
    Click(IDC_SAVE);
    EXPECT_TRUE(dsp::testing::FileExists(dir + "Other.DEQ"));
    EXPECT_FALSE(dsp::testing::FileExists(dir + "Other.DEQ.deq"));

    Click(IDC_RESET);
    ASSERT_EQ(Stored(), Positions{});
    Load(dir + "mine.deq");
    EXPECT_EQ(Stored(), p);
    EXPECT_EQ(Sliders(), p);
    EXPECT_EQ(equaliser::g_positions, p);
    ASSERT_EQ(dialogs_.Calls.size(), 3u);
    EXPECT_EQ(dialogs_.Calls[2].kind, "open");
    EXPECT_EQ(dialogs_.Calls[2].title, "Load Graphic Equalizer Positions");
    EXPECT_EQ(dialogs_.Calls[2].filter, "Tonvask Graphic Equalizer|;*.deq|WinAmp EQF|*.eqf|");
    const DWORD must = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    EXPECT_EQ(dialogs_.Calls[2].flags & must, must);
}

TEST_F(EqualiserPositionFiles, EqfAndTenBandFilesFillTheOddBands)
{
    const std::string dir = dsp::testing::ScratchDir();
    struct Case
    {
        uint8_t value;
        int32_t position;
    } cases[] = {{31, 4}, {32, -3}, {0, 200}, {63, -200}};
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.value));
        // A header of its own before the last 11 bytes; the extension in any case.
        std::vector<uint8_t> eqf(299, 7);
        eqf.insert(eqf.end(), 10, c.value);
        eqf.push_back(40);
        ASSERT_TRUE(dsp::testing::WriteFileBytes(dir + "preset.EqF", eqf));
        Load(dir + "preset.EqF");
        Positions want;
        want.fill(c.position);
        EXPECT_EQ(Stored(), want);
        EXPECT_EQ(Sliders(), want);
    }

    eq::BandRecord ten{};
    ten[0] = 1;
    const int32_t values[10] = {-200, 100, 0, 30, -31, 7, 200, -200, 60, -60};
    for (int i = 0; i < 10; ++i)
        ten[2 + i] = values[i];
    const auto bytes = eq::EncodeRecord(ten);
    ASSERT_TRUE(
        dsp::testing::WriteFileBytes(dir + "ten.deq", std::vector<uint8_t>(bytes.begin(), bytes.end())));
    Load(dir + "ten.deq");
    const Positions want = {-200, -50, 100, 50, 0, 15, 30, 0, -31, -12, 7, 103, 200, 0, -200, -70, 60, -60};
    EXPECT_EQ(Stored(), want);
    EXPECT_EQ(Sliders(), want);
}

TEST_F(EqualiserPositionFiles, ShortMissingOrCancelledFilesChangeNothing)
{
    const Positions p = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};
    SetPositions(p);
    const std::string dir = dsp::testing::ScratchDir();
    ASSERT_TRUE(dsp::testing::WriteFileBytes(dir + "short.deq", std::vector<uint8_t>(87, 0)));
    ASSERT_TRUE(dsp::testing::WriteFileBytes(dir + "short.eqf", std::vector<uint8_t>(10, 0)));
    for (const std::string& name :
         {dir + "short.deq", dir + "short.eqf", dir + "missing.deq", std::string()}) {
        SCOPED_TRACE(name);
        Load(name);
        EXPECT_EQ(Stored(), p);
        EXPECT_EQ(Sliders(), p);
    }
    // A cancelled save writes nothing.
    dialogs_.answers.push_back("");
    Click(IDC_SAVE);
    EXPECT_FALSE(dsp::testing::FileExists(dir + ".deq"));
}

// While the preset menu is open: walks down to the item and chooses it.
int g_menuSteps = 0;
void CALLBACK ChooseFromMenu(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND menu = FindWindowA("#32768", nullptr);
    if (menu == nullptr || !IsWindowVisible(menu))
        return;
    KillTimer(nullptr, timer);
    for (int i = 0; i < g_menuSteps; ++i) {
        PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageA(menu, WM_KEYUP, VK_DOWN, 0);
    }
    PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
    PostMessageA(menu, WM_KEYUP, VK_RETURN, 0);
}

TEST_F(EqualiserPositionFiles, PresetButtonOffersTheMenuAndAppliesTheChoice)
{
    // The menu opens with nothing selected: the first press selects the first
    // item, the sixth "Super Base".
    g_menuSteps = 6;
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, ChooseFromMenu);
    Click(IDC_PRESET);
    KillTimer(nullptr, timer);
    dsp::testing::PumpMessages();
    const Positions want = eq::PresetForCommand(IDM_PRESET_SUPER_BASE)->positions;
    EXPECT_EQ(Stored(), want);
    EXPECT_EQ(Sliders(), want);
}

} // namespace
