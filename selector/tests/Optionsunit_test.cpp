// The Options window driven through its own modal loop: what it shows for the
// stored settings, what OK writes back, Escape, the folder picker.
#include "Optionsunit.h"

#include "DialogDriver.h"
#include "LogCapture.h"
#include "Prompts.h"
#include "TestFiles.h"
#include "Tpathfinder.h"
#include "Tsettings.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace testfiles;

namespace {

const char* const kTitle = "Options";

std::string Profile(const std::string& file, const char* section, const char* key)
{
    char buf[512] = {};
    GetPrivateProfileStringA(section, key, "<missing>", buf, sizeof buf, file.c_str());
    return buf;
}

// What the controls show.
struct Shown
{
    std::string directory;
    bool minWhenActivated = false;
    bool loadLastAtStart = false;
    int barAlignItem = -1;
    int bufferPosition = -1;
};

Shown ReadControls(HWND dlg)
{
    Shown s;
    s.directory = WindowText(GetDlgItem(dlg, IDC_OPT_DIRECTORY));
    s.minWhenActivated = IsDlgButtonChecked(dlg, IDC_OPT_MINWHENACTIVATED) == BST_CHECKED;
    s.loadLastAtStart = IsDlgButtonChecked(dlg, IDC_OPT_LOADLASTATSTART) == BST_CHECKED;
    s.barAlignItem = static_cast<int>(SendDlgItemMessageA(dlg, IDC_OPT_BARALIGN, CB_GETCURSEL, 0, 0));
    s.bufferPosition = static_cast<int>(SendDlgItemMessageA(dlg, IDC_OPT_BUFFERSIZE, TBM_GETPOS, 0, 0));
    return s;
}

void Click(HWND dlg, int id)
{
    SendMessageA(GetDlgItem(dlg, id), BM_CLICK, 0, 0);
}

class OptionsWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ini_ = dir_ / "Cuebinder.ini";
        prompts_ = std::make_unique<TPromptsScope>(scripted_);
    }
    // Writes the settings file and loads it into a fresh settings object.
    TSettings& Stored(const std::string& text)
    {
        EXPECT_TRUE(WriteAll(ini_, text));
        settings_ = std::make_unique<TSettings>(ini_);
        settings_->Load();
        return *settings_;
    }
    // Runs the Options command with `steps` acting on its window.
    bool RunOptions(std::deque<DialogDriver::Step> steps)
    {
        DialogDriver script(std::move(steps));
        bool changed = RunOptionsWindow(nullptr, *settings_, finder_);
        EXPECT_EQ(script.Pending(), 0u) << "the window closed before the script ended";
        EXPECT_FALSE(script.TimedOut()) << "a dialog was still open after the script ended";
        return changed;
    }

    ScratchDir dir_;
    std::string ini_;
    std::unique_ptr<TSettings> settings_;
    PathFinder finder_;
    TScriptedPrompts scripted_;
    std::unique_ptr<TPromptsScope> prompts_;
};

TEST_F(OptionsWindow, ConfirmedUnchangedRewritesTheSameValuesNormalised)
{
    struct Case
    {
        const char* stored; // the settings file
        Shown shown;        // what the window shows for it
        const char* installPath;
        const char* bufferSize;
        const char* barAlign;
        const char* minWhenActivated;
        const char* loadLastAtStart;
    };
    const Case cases[] = {
        {"[Game]\r\nInstallPath=C:\\Games\\X\r\nBarAlign=1\r\n[App]\r\nBufferSize=2048\r\nMinWhenActivated="
         "0\r\n"
         "LoadLastAtStart=1\r\n",
         {"C:\\Games\\X\\", false, true, 1, 6},
         "C:\\Games\\X\\",
         "2048",
         "1",
         "0",
         "1"},
        {"[Game]\r\nInstallPath=D:\\Veltrane\\\r\nBarAlign=2\r\n[App]\r\nBufferSize=32\r\nMinWhenActivated="
         "1\r\n"
         "LoadLastAtStart=0\r\n",
         {"D:\\Veltrane\\", true, false, 2, 0},
         "D:\\Veltrane\\",
         "32",
         "2",
         "1",
         "0"},
        // Values the window cannot show become 1 MB and Top.
        {"[Game]\r\nBarAlign=5\r\n[App]\r\nBufferSize=100\r\nMinWhenActivated=2\r\nLoadLastAtStart=0\r\n",
         {"", true, false, 0, 5},
         "",
         "1024",
         "0",
         "1",
         "0"},
        {"[Game]\r\nBarAlign=-1\r\n[App]\r\nBufferSize=0x40\r\n",
         {"", true, true, 0, 1},
         "",
         "64",
         "0",
         "1",
         "1"},
        // An empty file: the defaults.
        {"", {"", true, true, 0, 2}, "", "128", "0", "1", "1"},
    };
    for (const Case& c : cases) {
        Stored(c.stored);
        Shown shown;
        bool changed = RunOptions({[&] {
            HWND dlg = FindDialog(kTitle);
            ASSERT_NE(dlg, nullptr);
            shown = ReadControls(dlg);
            Click(dlg, IDOK);
        }});
        EXPECT_TRUE(changed) << c.stored;
        EXPECT_EQ(shown.directory, c.shown.directory) << c.stored;
        EXPECT_EQ(shown.minWhenActivated, c.shown.minWhenActivated) << c.stored;
        EXPECT_EQ(shown.loadLastAtStart, c.shown.loadLastAtStart) << c.stored;
        EXPECT_EQ(shown.barAlignItem, c.shown.barAlignItem) << c.stored;
        EXPECT_EQ(shown.bufferPosition, c.shown.bufferPosition) << c.stored;
        EXPECT_EQ(Profile(ini_, "Game", "InstallPath"), c.installPath) << c.stored;
        EXPECT_EQ(Profile(ini_, "App", "BufferSize"), c.bufferSize) << c.stored;
        EXPECT_EQ(Profile(ini_, "Game", "BarAlign"), c.barAlign) << c.stored;
        EXPECT_EQ(Profile(ini_, "App", "MinWhenActivated"), c.minWhenActivated) << c.stored;
        EXPECT_EQ(Profile(ini_, "App", "LoadLastAtStart"), c.loadLastAtStart) << c.stored;
        EXPECT_EQ(Profile(ini_, "Window", "iW"), "470") << "the whole file is written";
    }
}

TEST_F(OptionsWindow, EveryBufferPositionAndBarItemIsWrittenBack)
{
    const char* const sizes[] = {"32", "64", "128", "256", "512", "1024", "2048"};
    for (int position = 0; position < 7; ++position) {
        const int item = position % 3;
        Stored("[App]\r\nBufferSize=128\r\n");
        RunOptions({[&] {
            HWND dlg = FindDialog(kTitle);
            SendDlgItemMessageA(dlg, IDC_OPT_BUFFERSIZE, TBM_SETPOS, TRUE, position);
            SendDlgItemMessageA(dlg, IDC_OPT_BARALIGN, CB_SETCURSEL, item, 0);
            CheckDlgButton(dlg, IDC_OPT_MINWHENACTIVATED, BST_UNCHECKED);
            Click(dlg, IDOK);
        }});
        EXPECT_EQ(Profile(ini_, "App", "BufferSize"), sizes[position]) << "position " << position;
        EXPECT_EQ(Profile(ini_, "Game", "BarAlign"), std::to_string(item)) << "position " << position;
        EXPECT_EQ(Profile(ini_, "App", "MinWhenActivated"), "0");
        EXPECT_EQ(settings_->GetBufferSize(), std::stoi(sizes[position]));
    }
}

TEST_F(OptionsWindow, EscapeOnAnyControlAndCancelChangeNothing)
{
    const std::string stored =
        "[Game]\r\nInstallPath=C:\\Games\\X\r\nBarAlign=7\r\n[App]\r\nBufferSize=100\r\n";
    const int controls[] = {IDC_OPT_DIRECTORY,
                            IDC_OPT_BROWSEBUTTON,
                            IDC_OPT_MINWHENACTIVATED,
                            IDC_OPT_LOADLASTATSTART,
                            IDC_OPT_AUTOSEARCHBUTTON,
                            IDC_OPT_BARALIGN,
                            IDC_OPT_BUFFERSIZE,
                            IDOK,
                            IDCANCEL};
    for (int id : controls) {
        Stored(stored);
        bool changed = RunOptions({[&] {
            // Changes made before Escape are dropped with the window.
            HWND dlg = FindDialog(kTitle);
            SendDlgItemMessageA(dlg, IDC_OPT_BUFFERSIZE, TBM_SETPOS, TRUE, 0);
            PressKey(GetDlgItem(dlg, id), VK_ESCAPE);
        }});
        EXPECT_FALSE(changed) << "control " << id;
        EXPECT_EQ(FindDialog(kTitle), nullptr) << "control " << id;
        EXPECT_EQ(ReadAll(ini_), stored) << "control " << id;
        EXPECT_EQ(settings_->GetBufferSize(), 100);
    }
    Stored(stored);
    EXPECT_FALSE(RunOptions({[] { Click(FindDialog(kTitle), IDCANCEL); }}));
    EXPECT_EQ(ReadAll(ini_), stored);
}

TEST_F(OptionsWindow, EnterConfirmsFromTheDirectoryField)
{
    Stored("[App]\r\nBufferSize=100\r\n");
    bool changed =
        RunOptions({[] { PressKey(GetDlgItem(FindDialog(kTitle), IDC_OPT_DIRECTORY), VK_RETURN); }});
    EXPECT_TRUE(changed);
    EXPECT_EQ(Profile(ini_, "App", "BufferSize"), "1024");
}

TEST_F(OptionsWindow, TheFolderPickerAsksItsPromptAndAddsOneBackslash)
{
    struct Case
    {
        std::optional<std::string> picked;
        const char* shown;
    };
    const Case cases[] = {
        {std::string("C:\\Games\\X"), "C:\\Games\\X\\"},
        {std::string("D:\\"), "D:\\"},
        {std::nullopt, "E:\\Old\\"}, // cancelled: unchanged
    };
    for (const Case& c : cases) {
        Stored("[Game]\r\nInstallPath=E:\\Old\r\n");
        scripted_.Calls.clear();
        scripted_.FolderAnswers = {c.picked};
        std::string shown;
        HWND owner = nullptr;
        RunOptions({[&] {
            HWND dlg = FindDialog(kTitle);
            owner = dlg;
            Click(dlg, IDC_OPT_BROWSEBUTTON);
            shown = WindowText(GetDlgItem(dlg, IDC_OPT_DIRECTORY));
            Click(dlg, IDOK);
        }});
        EXPECT_EQ(shown, c.shown);
        EXPECT_EQ(Profile(ini_, "Game", "InstallPath"), c.shown);
        ASSERT_EQ(scripted_.Calls.size(), 1u);
        EXPECT_EQ(scripted_.Calls[0].kind, TPromptCall::BrowseFolder);
        EXPECT_EQ(scripted_.Calls[0].caption,
                  "Select the game directory.\nFor example, C:\\Halvern\\Veltrane or C:\\Halvern\\Skarrow.");
        EXPECT_EQ(scripted_.Calls[0].owner, owner);
    }
}

TEST_F(OptionsWindow, ARefusedSaveIsLoggedAndTheNewValuesStayInMemory)
{
    LogCapture log(dir_ / "log.txt");
    settings_ = std::make_unique<TSettings>(dir_ / "no such folder\\Cuebinder.ini");
    settings_->SetBufferSize(100);
    bool changed = RunOptions({[] { Click(FindDialog(kTitle), IDOK); }});
    EXPECT_TRUE(changed);
    EXPECT_EQ(settings_->GetBufferSize(), 1024);
    EXPECT_EQ(log.Messages(),
              std::vector<std::string>{"Unhandled exception in TMainForm::OptionsMenuClick()"});
}

} // namespace
