// The main window driven in-process: list files written and read through the
// profile functions, the list-file commands and their prompts, the state
// refresh, and the hotkeys (registration, duplicates, dispatch of a press).
#include "Cubdfuncs.h"
#include "DialogDriver.h"
#include "Genericres.h"
#include "Mainres.h"
#include "TestFiles.h"
#include "Mainunit.h"
#include "Prompts.h"
#include "Shellopen.h"
#include "Statusunit.h"
#include "Treplacer.h"
#include "Tsettings.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <set>
#include <string>
#include <vector>

#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

// Every C++ allocation of this process is counted, so a test can show that a
// hotkey press allocates nothing.
static std::atomic<long> g_allocations{0};
void* operator new(std::size_t size)
{
    ++g_allocations;
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size)
{
    return operator new(size);
}
void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete[](void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept
{
    std::free(p);
}

namespace {

using testfiles::ReadAll;
using testfiles::RemoveTree;
using testfiles::WinPath;
using testfiles::WriteOrFail;

cb::TSound Sound(const std::string& file, std::uint16_t shortcut)
{
    cb::TSound s;
    s.Filename = file;
    s.SizeText = FileSizeText(file);
    s.ShortCut = shortcut;
    return s;
}

std::string RowText(HWND list, int row, int column)
{
    char text[512] = {};
    ListView_GetItemText(list, row, column, text, sizeof text);
    return text;
}

int RowImage(HWND list, int row)
{
    LVITEMA item{};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    ListView_GetItem(list, &item);
    return item.iImage;
}

bool ToolButtonEnabled(const TMainForm& form, int id)
{
    return SendMessageA(form.Toolbar(), TB_ISBUTTONENABLED, id, 0) != 0;
}

bool MenuItemEnabled(const TMainForm& form, int id)
{
    UINT state = GetMenuState(GetMenu(form.Handle()), id, MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && (state & (MF_GRAYED | MF_DISABLED)) == 0;
}

// Shortcuts that no other program on the test display uses.
constexpr std::uint16_t kCtrlAltF9 = 0xC000 | VK_F9;
constexpr std::uint16_t kCtrlAltF10 = 0xC000 | VK_F10;
constexpr std::uint16_t kCtrlAltF11 = 0xC000 | VK_F11;

class MainForm : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = WinPath(std::string(CB_TEST_TMP)) + "\\mainunit-" + info->name() + "-" +
               std::to_string(GetCurrentProcessId());
        RemoveTree(dir_);
        CreateDirectoryA(dir_.c_str(), nullptr);
        CreateDirectoryA((dir_ + "\\game").c_str(), nullptr);
        SetLogFileName(dir_ + "\\log.txt");
        WriteSettings(dir_ + "\\game");
    }
    void TearDown() override
    {
        form_.reset();
        replacer_.reset();
        settings_.reset();
        SetLogFileName("");
        RemoveTree(dir_);
    }
    void WriteSettings(const std::string& installPath, const std::string& extra = "")
    {
        WriteOrFail(dir_ + "\\Cuebinder.ini", "[Game]\r\nInstallPath=" + installPath +
                                                  "\r\n[App]\r\nLoadLastAtStart=0\r\nMinWhenActivated=0\r\n" +
                                                  extra);
    }
    TMainForm& Form()
    {
        if (!form_) {
            settings_ = std::make_unique<TSettings>(dir_ + "\\Cuebinder.ini");
            replacer_ = std::make_unique<TReplacer>();
            form_ = std::make_unique<TMainForm>(*settings_, *replacer_);
            EXPECT_TRUE(form_->Create(GetModuleHandleA(nullptr), SW_SHOWNOACTIVATE));
        }
        return *form_;
    }
    std::string Path(const std::string& name) const { return dir_ + "\\" + name; }
    std::string Log() const { return ReadAll(dir_ + "\\log.txt"); }

    std::string dir_;
    TScriptedPrompts prompts_;
    TPromptsScope scope_{prompts_};
    std::unique_ptr<TSettings> settings_;
    std::unique_ptr<TReplacer> replacer_;
    std::unique_ptr<TMainForm> form_;
};

// ---------------------------------------------------------------------------
// List files

TEST_F(MainForm, SavesTheExactFileForASmallListAndUpdatesTheState)
{
    TMainForm& form = Form();
    WriteOrFail(Path("a.wav"), std::string(1536, 'a'));
    form.AppendSound(Sound(Path("a.wav"), 0x4000 | VK_F1));
    form.AppendSound(Sound(Path("missing.wav"), 0));
    form.AppendSound(Sound(Path("c d.wav"), 0xE000 | 'Z'));
    form.Modified = true;
    const std::string file = Path("songs.qbl");
    form.SaveSoundList(file);
    EXPECT_EQ(ReadAll(file), "[Config]\r\nCount=3\r\n[Sounds]\r\n"
                             "Sound0=" +
                                 Path("a.wav") +
                                 ";Ctrl+F1\r\n"
                                 "Sound1=" +
                                 Path("missing.wav") +
                                 ";\r\n"
                                 "Sound2=" +
                                 Path("c d.wav") + ";Shift+Ctrl+Alt+Z\r\n");
    EXPECT_EQ(form.CurrentFile, file);
    EXPECT_FALSE(form.Modified);
    EXPECT_EQ(settings_->GetLastFile(), file);
    // the settings file was saved with the new LastFile
    TSettings reread(dir_ + "\\Cuebinder.ini");
    reread.Load();
    EXPECT_EQ(reread.GetLastFile(), file);
    char title[256] = {};
    GetWindowTextA(form.Handle(), title, sizeof title);
    EXPECT_STREQ(title, "songs - Cuebinder");

    // and it reads back as the same list, rows included
    form.LoadSoundList(file);
    ASSERT_EQ(form.Sounds().size(), 3u);
    const char* sizes[] = {"1 KB", "0 KB", "0 KB"};
    const char* shortcuts[] = {"Ctrl+F1", "", "Shift+Ctrl+Alt+Z"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(RowText(form.SoundsList(), i, 0), form.Sounds()[i].Filename);
        EXPECT_EQ(RowText(form.SoundsList(), i, 1), sizes[i]);
        EXPECT_EQ(RowText(form.SoundsList(), i, 2), shortcuts[i]);
        EXPECT_EQ(RowImage(form.SoundsList(), i), IMG_SOUND);
        EXPECT_EQ(form.Sounds()[i].ID, 0);
    }
    EXPECT_EQ(form.Sounds()[0].ShortCut, 0x4000 | VK_F1);
    EXPECT_EQ(form.Sounds()[1].ShortCut, 0);
    EXPECT_EQ(form.Sounds()[2].ShortCut, 0xE000 | 'Z');
}

TEST_F(MainForm, EmptyListSavesWithoutASoundsSection)
{
    TMainForm& form = Form();
    form.SaveSoundList(Path("empty.qbl"));
    EXPECT_EQ(ReadAll(Path("empty.qbl")), "[Config]\r\nCount=0\r\n");
}

TEST_F(MainForm, SavingOverAListRemovesSurplusKeysAndKeepsForeignSections)
{
    const std::string file = Path("old.qbl");
    WriteOrFail(file,
                "[Config]\r\nCount=4\r\nOwner=me\r\n[Sounds]\r\nSound0=x;A\r\nSound1=y;B\r\nSound2=z;C\r\n"
                "Sound3=w;D\r\nStray=1\r\n[Notes]\r\nkeep=this\r\n");
    TMainForm& form = Form();
    form.AppendSound(Sound(Path("one.wav"), 'Q'));
    form.SaveSoundList(file);
    EXPECT_EQ(ReadAll(file),
              "[Config]\r\nCount=1\r\nOwner=me\r\n[Notes]\r\nkeep=this\r\n[Sounds]\r\nSound0=" +
                  Path("one.wav") + ";Q\r\n");
}

TEST_F(MainForm, LoadingTakesDefaultsForWhatTheFileLacks)
{
    WriteOrFail(Path("1536.wav"), std::string(1536, 'x'));
    WriteOrFail(Path("1537.wav"), std::string(1537, 'x'));
    WriteOrFail(Path("0.wav"), "");
    struct Case
    {
        const char* name;
        std::string text;
        std::vector<std::string> files;
        std::vector<std::uint16_t> shortcuts;
        std::vector<std::string> sizes;
    };
    const std::vector<Case> cases = {
        {"count larger than the keys",
         "[Config]\r\nCount=3\r\n[Sounds]\r\nSound1=" + Path("1537.wav") + ";F3\r\n",
         {"", Path("1537.wav"), ""},
         {0, VK_F3, 0},
         {"0 KB", "2 KB", "0 KB"}},
        {"count smaller than the keys",
         "[Config]\r\nCount=1\r\n[Sounds]\r\nSound0=" + Path("1536.wav") + ";Alt+5\r\nSound1=b;F2\r\n",
         {Path("1536.wav")},
         {0x8000 | '5'},
         {"1 KB"}},
        {"a value without a semicolon",
         "[Config]\r\nCount=1\r\n[Sounds]\r\nSound0=Shift+Home\r\n",
         {""},
         {0x2000 | VK_HOME},
         {"0 KB"}},
        {"a path with a semicolon is cut there",
         "[Config]\r\nCount=1\r\n[Sounds]\r\nSound0=" + Path("0.wav") + ";x.wav;F2\r\n",
         {Path("0.wav")},
         {0},
         {"0 KB"}},
        {"keypad digits read back as main digits",
         "[Config]\r\nCount=2\r\n[Sounds]\r\nSound0=a;Ctrl+1\r\nSound1=b;9\r\n",
         {"a", "b"},
         {0x4000 | '1', '9'},
         {"0 KB", "0 KB"}},
        {"no Count", "[Sounds]\r\nSound0=a;F1\r\n", {}, {}, {}},
        {"Count not a number", "[Config]\r\nCount=two\r\n[Sounds]\r\nSound0=a;F1\r\n", {}, {}, {}},
        {"keys in any case, blanks trimmed",
         "[config]\r\ncount = 1\r\n[SOUNDS]\r\nsound0 = " + Path("1536.wav") + ";ctrl+f1  \r\n",
         {Path("1536.wav")},
         {0x4000 | VK_F1},
         {"1 KB"}},
    };
    TMainForm& form = Form();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string file = Path("case.qbl");
        WriteOrFail(file, c.text);
        form.Modified = true;
        form.LoadSoundList(file);
        EXPECT_EQ(form.CurrentFile, file);
        EXPECT_FALSE(form.Modified);
        ASSERT_EQ(form.Sounds().size(), c.files.size());
        ASSERT_EQ(ListView_GetItemCount(form.SoundsList()), static_cast<int>(c.files.size()));
        for (std::size_t i = 0; i < c.files.size(); ++i) {
            EXPECT_EQ(form.Sounds()[i].Filename, c.files[i]);
            EXPECT_EQ(form.Sounds()[i].ShortCut, c.shortcuts[i]);
            EXPECT_EQ(form.Sounds()[i].SizeText, c.sizes[i]);
            EXPECT_EQ(RowText(form.SoundsList(), static_cast<int>(i), 1), c.sizes[i]);
        }
    }
    // a keypad digit is saved as the digit
    form.ClearSounds();
    form.AppendSound(Sound("k", 0x4000 | VK_NUMPAD7));
    form.SaveSoundList(Path("pad.qbl"));
    EXPECT_EQ(ReadAll(Path("pad.qbl")), "[Config]\r\nCount=1\r\n[Sounds]\r\nSound0=k;Ctrl+7\r\n");
    // a list file that does not exist reads as an empty list and becomes the current file
    form.AppendSound(Sound("k", 0));
    form.LoadSoundList(Path("nothing.qbl"));
    EXPECT_TRUE(form.Sounds().empty());
    EXPECT_EQ(form.CurrentFile, Path("nothing.qbl"));
}

TEST_F(MainForm, ARefusedWriteRaisesAndKeepsTheListState)
{
    TMainForm& form = Form();
    form.AppendSound(Sound("a", 'A'));
    form.CurrentFile = Path("before.qbl");
    form.Modified = true;
    const std::string bad = Path("no such folder\\x.qbl");
    try {
        form.SaveSoundList(bad);
        ADD_FAILURE() << "no error raised";
    } catch (const EIniWriteError& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + bad);
    }
    EXPECT_EQ(form.CurrentFile, Path("before.qbl"));
    EXPECT_TRUE(form.Modified);
    EXPECT_EQ(settings_->GetLastFile(), "");

    // through the menu, the default error handler shows the text
    prompts_.FileAnswers.push_back(bad);
    form.RunCommand(IDM_SAVEAS);
    ASSERT_EQ(prompts_.Calls.size(), 2u);
    EXPECT_EQ(prompts_.Calls[1].kind, TPromptCall::Message);
    EXPECT_EQ(prompts_.Calls[1].text, "Unable to write to " + bad);
    EXPECT_EQ(prompts_.Calls[1].caption, "Exception");
    EXPECT_TRUE(form.Modified);
}

// ---------------------------------------------------------------------------
// Commands and the unsaved-changes prompt

TEST_F(MainForm, NewAndOpenAskAboutUnsavedChanges)
{
    TMainForm& form = Form();
    const std::string named = Path("named.qbl");
    WriteOrFail(named, "[Config]\r\nCount=1\r\n[Sounds]\r\nSound0=n;F5\r\n");
    const UINT promptType = MB_YESNOCANCEL | MB_ICONWARNING;

    // Cancel: nothing changes
    form.AppendSound(Sound("a", 'A'));
    form.Modified = true;
    prompts_.MessageAnswers.push_back(IDCANCEL);
    form.NewMenuClick();
    ASSERT_EQ(prompts_.Calls.size(), 1u);
    EXPECT_EQ(prompts_.Calls[0].text,
              "The data in the Untitled file has changed.\n\nDo you want to save the changes?");
    EXPECT_EQ(prompts_.Calls[0].caption, "Cuebinder");
    EXPECT_EQ(prompts_.Calls[0].type, promptType);
    EXPECT_EQ(form.Sounds().size(), 1u);
    EXPECT_TRUE(form.Modified);

    // Yes with a named list: the save dialog is still shown; cancelling it stops
    form.CurrentFile = named;
    prompts_.Calls.clear();
    prompts_.MessageAnswers.push_back(IDYES);
    prompts_.FileAnswers.push_back(std::nullopt);
    form.NewMenuClick();
    ASSERT_EQ(prompts_.Calls.size(), 2u);
    EXPECT_EQ(prompts_.Calls[0].text,
              "The data in the named file has changed.\n\nDo you want to save the changes?");
    EXPECT_EQ(prompts_.Calls[1].kind, TPromptCall::SaveFile);
    EXPECT_EQ(prompts_.Calls[1].caption, "Save As");
    EXPECT_EQ(prompts_.Calls[1].filter, "CUBD Scripts|*.qbl|All Files|*.*");
    EXPECT_EQ(prompts_.Calls[1].defExt, "qbl");
    EXPECT_EQ(form.Sounds().size(), 1u);
    EXPECT_EQ(form.CurrentFile, named);

    // Yes and a name: saved there, then emptied and untitled
    prompts_.Calls.clear();
    prompts_.MessageAnswers.push_back(IDYES);
    prompts_.FileAnswers.push_back(Path("kept.qbl"));
    form.NewMenuClick();
    EXPECT_EQ(ReadAll(Path("kept.qbl")), "[Config]\r\nCount=1\r\n[Sounds]\r\nSound0=a;A\r\n");
    EXPECT_TRUE(form.Sounds().empty());
    EXPECT_EQ(form.CurrentFile, "");
    EXPECT_FALSE(form.Modified);
    char title[256] = {};
    GetWindowTextA(form.Handle(), title, sizeof title);
    EXPECT_STREQ(title, "Untitled - Cuebinder");

    // Open, unmodified: no prompt; a cancelled open dialog changes nothing
    prompts_.Calls.clear();
    form.AppendSound(Sound("b", 'B'));
    prompts_.FileAnswers.push_back(std::nullopt);
    form.OpenMenuClick();
    ASSERT_EQ(prompts_.Calls.size(), 1u);
    EXPECT_EQ(prompts_.Calls[0].kind, TPromptCall::OpenFile);
    EXPECT_EQ(prompts_.Calls[0].filter, "CUBD Scripts|*.qbl|All Files|*.*");
    EXPECT_EQ(form.Sounds().size(), 1u);

    // Open, modified, No: the chosen file replaces the list without saving
    form.Modified = true;
    prompts_.Calls.clear();
    prompts_.MessageAnswers.push_back(IDNO);
    prompts_.FileAnswers.push_back(named);
    form.OpenMenuClick();
    ASSERT_EQ(prompts_.Calls.size(), 2u);
    EXPECT_EQ(prompts_.Calls[1].kind, TPromptCall::OpenFile);
    ASSERT_EQ(form.Sounds().size(), 1u);
    EXPECT_EQ(form.Sounds()[0].Filename, "n");
    EXPECT_EQ(form.CurrentFile, named);
    EXPECT_FALSE(form.Modified);
    EXPECT_EQ(prompts_.Unanswered, 0);
}

TEST_F(MainForm, SaveAskForANameOnlyWhenUntitled)
{
    TMainForm& form = Form();
    form.AppendSound(Sound("a", 'A'));
    form.Modified = true;
    prompts_.FileAnswers.push_back(std::nullopt);
    form.SaveMenuClick();
    ASSERT_EQ(prompts_.Calls.size(), 1u);
    EXPECT_EQ(prompts_.Calls[0].kind, TPromptCall::SaveFile);
    EXPECT_TRUE(form.Modified);
    EXPECT_EQ(form.CurrentFile, "");

    prompts_.FileAnswers.push_back(Path("first.qbl"));
    form.SaveMenuClick();
    EXPECT_EQ(form.CurrentFile, Path("first.qbl"));
    form.AppendSound(Sound("b", 'B'));
    form.Modified = true;
    prompts_.Calls.clear();
    form.SaveMenuClick(); // no dialog now
    EXPECT_TRUE(prompts_.Calls.empty());
    EXPECT_EQ(ReadAll(Path("first.qbl")), "[Config]\r\nCount=2\r\n[Sounds]\r\nSound0=a;A\r\nSound1=b;B\r\n");

    prompts_.FileAnswers.push_back(Path("second.qbl"));
    form.SaveAsMenuClick(); // always asks
    ASSERT_EQ(prompts_.Calls.size(), 1u);
    EXPECT_EQ(prompts_.Calls[0].caption, "Save As");
    EXPECT_EQ(form.CurrentFile, Path("second.qbl"));
}

TEST_F(MainForm, CloseQueryAnswers)
{
    TMainForm& form = Form();
    EXPECT_TRUE(form.FormCloseQuery());
    EXPECT_TRUE(prompts_.Calls.empty());

    form.AppendSound(Sound("a", 'A'));
    struct Case
    {
        const char* name;
        std::string currentFile;
        int answer;
        std::optional<std::string> dialog; // answer of the save dialog, if one is expected
        bool closes;
        std::size_t calls;
    };
    const std::vector<Case> cases = {
        {"cancel", "", IDCANCEL, std::nullopt, false, 1},
        {"no", "", IDNO, std::nullopt, true, 1},
        {"yes, untitled, dialog cancelled", "", IDYES, std::nullopt, false, 2},
        {"yes, untitled, named", "", IDYES, Path("closing.qbl"), true, 2},
        {"yes, named", Path("named.qbl"), IDYES, std::nullopt, true, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prompts_.Calls.clear();
        form.CurrentFile = c.currentFile;
        form.Modified = true;
        prompts_.MessageAnswers.push_back(c.answer);
        if (c.calls == 2)
            prompts_.FileAnswers.push_back(c.dialog);
        EXPECT_EQ(form.FormCloseQuery(), c.closes);
        EXPECT_EQ(prompts_.Calls.size(), c.calls);
    }
    EXPECT_EQ(ReadAll(Path("closing.qbl")), "[Config]\r\nCount=1\r\n[Sounds]\r\nSound0=a;A\r\n");
    EXPECT_EQ(ReadAll(Path("named.qbl")), "[Config]\r\nCount=1\r\n[Sounds]\r\nSound0=a;A\r\n");

    // a save that fails keeps the window open: WM_CLOSE shows the error and the window stays
    form.CurrentFile = Path("no such folder\\x.qbl");
    form.Modified = true;
    prompts_.Calls.clear();
    prompts_.MessageAnswers.push_back(IDYES);
    SendMessageA(form.Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(form.Handle()));
    ASSERT_EQ(prompts_.Calls.size(), 2u);
    EXPECT_EQ(prompts_.Calls[1].caption, "Exception");
    EXPECT_EQ(prompts_.Calls[1].text, "Unable to write to " + form.CurrentFile);
}

// ---------------------------------------------------------------------------
// State

TEST_F(MainForm, RefreshStateWithAndWithoutAGameDirectory)
{
    TMainForm& form = Form();
    EXPECT_TRUE(prompts_.Calls.empty());
    EXPECT_EQ(form.StatusBarText(), "Game Directory is \"" + dir_ + "\\game\\\"");
    for (int id : {IDM_NEW, IDM_OPEN, IDM_ACTIVATE}) {
        EXPECT_TRUE(MenuItemEnabled(form, id)) << id;
        EXPECT_TRUE(ToolButtonEnabled(form, id)) << id;
    }
    EXPECT_FALSE(MenuItemEnabled(form, IDM_DEACTIVATE));
    EXPECT_FALSE(ToolButtonEnabled(form, IDM_DEACTIVATE));
    for (int id : {IDM_SAVE, IDM_SAVEAS, IDM_SCRIPTSETUP, IDM_EXIT})
        EXPECT_TRUE(MenuItemEnabled(form, id)) << id;
    char title[256] = {};
    GetWindowTextA(form.Handle(), title, sizeof title);
    EXPECT_STREQ(title, "Untitled - Cuebinder");
}

TEST_F(MainForm, StartWithoutAGameDirectoryNoticesAndWithholdsTheListCommands)
{
    WriteSettings("");
    TMainForm& form = Form();
    ASSERT_EQ(prompts_.Calls.size(), 1u);
    EXPECT_EQ(prompts_.Calls[0].text,
              "You currently have no game directory defined. Use the Options window to select a game "
              "directory.\n\nFor more help, use the help file provided with this program.");
    EXPECT_EQ(prompts_.Calls[0].caption, "Notice");
    EXPECT_EQ(prompts_.Calls[0].type, static_cast<UINT>(MB_OK | MB_ICONWARNING));
    EXPECT_NE(Log().find(" - No game directory set. User informed.\r\n"), std::string::npos);
    EXPECT_EQ(form.StatusBarText(), "There is no game directory set. Set one in the Options window.");
    for (int id : {IDM_NEW, IDM_OPEN, IDM_ACTIVATE, IDM_DEACTIVATE}) {
        EXPECT_FALSE(MenuItemEnabled(form, id)) << id;
        EXPECT_FALSE(ToolButtonEnabled(form, id)) << id;
    }
    for (int id : {IDM_SAVE, IDM_SAVEAS, IDM_SCRIPTSETUP, IDM_EXIT})
        EXPECT_TRUE(MenuItemEnabled(form, id)) << id;
    // a disabled command does nothing even when its message arrives
    form.RunCommand(IDM_OPEN);
    EXPECT_EQ(prompts_.Calls.size(), 1u);
    // Script Setup stays available and refuses to run without a game directory
    form.RunCommand(IDM_SCRIPTSETUP);
    ASSERT_EQ(prompts_.Calls.size(), 2u);
    EXPECT_EQ(prompts_.Calls[1].caption, "Error");
    EXPECT_EQ(prompts_.Calls[1].text,
              "This feature only works when there is a game directory set. Please set "
              "your game directory and try again.");
}

TEST_F(MainForm, LoadsTheLastListAtStartWhenAsked)
{
    const std::string file = Path("last.qbl");
    WriteOrFail(file, "[Config]\r\nCount=1\r\n[Sounds]\r\nSound0=z;Ctrl+Z\r\n");
    WriteOrFail(dir_ + "\\Cuebinder.ini", "[Game]\r\nInstallPath=" + dir_ + "\r\n[App]\r\nLastFile=" + file +
                                              "\r\nLoadLastAtStart=1\r\n");
    TMainForm& form = Form();
    ASSERT_EQ(form.Sounds().size(), 1u);
    EXPECT_EQ(form.Sounds()[0].ShortCut, 0x4000 | 'Z');
    EXPECT_EQ(form.CurrentFile, file);
    char title[256] = {};
    GetWindowTextA(form.Handle(), title, sizeof title);
    EXPECT_STREQ(title, "last - Cuebinder");
}

// ---------------------------------------------------------------------------
// Hotkeys

// A window of the test's own, to check whether a combination is free.
class Probe
{
public:
    Probe()
    {
        hwnd_ = CreateWindowExA(0, "STATIC", "probe", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    }
    ~Probe() { DestroyWindow(hwnd_); }
    bool Free(std::uint16_t shortcut)
    {
        if (!RegisterHotKey(hwnd_, 1, cb::HotKeyModifiers(shortcut), cb::HotKeyKey(shortcut)))
            return false;
        UnregisterHotKey(hwnd_, 1);
        return true;
    }

private:
    HWND hwnd_;
};

TEST_F(MainForm, ActivationRegistersEveryShortcutAndDeactivationReleasesThem)
{
    TMainForm& form = Form();
    WriteOrFail(Path("one.wav"), "RIFF one");
    WriteOrFail(Path("two.wav"), "RIFF two, longer");
    form.AppendSound(Sound(Path("one.wav"), kCtrlAltF9));
    form.AppendSound(Sound(Path("two.wav"), kCtrlAltF10));
    Probe probe;
    ASSERT_TRUE(probe.Free(kCtrlAltF9));
    ASSERT_TRUE(probe.Free(kCtrlAltF10));

    ASSERT_TRUE(form.ActivateHotKeys());
    EXPECT_TRUE(prompts_.Calls.empty());
    EXPECT_FALSE(probe.Free(kCtrlAltF9));
    EXPECT_FALSE(probe.Free(kCtrlAltF10));
    std::vector<std::int32_t> first;
    for (const cb::TSound& s : form.Sounds()) {
        EXPECT_GE(s.ID, 1);
        EXPECT_LE(s.ID, 16000);
        first.push_back(s.ID);
    }
    EXPECT_NE(first[0], first[1]);
    EXPECT_TRUE(form.IsActive());
    EXPECT_TRUE(MenuItemEnabled(form, IDM_DEACTIVATE));
    for (int id : {IDM_NEW, IDM_OPEN, IDM_ACTIVATE}) {
        EXPECT_FALSE(MenuItemEnabled(form, id)) << id;
        EXPECT_FALSE(ToolButtonEnabled(form, id)) << id;
    }
    EXPECT_EQ(ReadAll(dir_ + "\\game\\voice_input.wav"), ""); // created empty
    EXPECT_NE(Log().find("File doens't exist in SetFilename(). Creating."), std::string::npos);
    EXPECT_FALSE(IsIconic(form.Handle()));

    // Save while active keeps the active state
    prompts_.FileAnswers.push_back(Path("active.qbl"));
    form.RunCommand(IDM_SAVEAS);
    EXPECT_TRUE(form.IsActive());
    EXPECT_FALSE(MenuItemEnabled(form, IDM_ACTIVATE));
    EXPECT_FALSE(probe.Free(kCtrlAltF9));

    form.RunCommand(IDM_DEACTIVATE);
    EXPECT_FALSE(form.IsActive());
    EXPECT_TRUE(MenuItemEnabled(form, IDM_ACTIVATE));
    EXPECT_FALSE(MenuItemEnabled(form, IDM_DEACTIVATE));
    EXPECT_TRUE(probe.Free(kCtrlAltF9));
    EXPECT_TRUE(probe.Free(kCtrlAltF10));
    EXPECT_EQ(form.Sounds()[0].ID, first[0]); // identifiers stay in place

    // activating again draws a fresh identifier for every entry
    form.RunCommand(IDM_ACTIVATE);
    ASSERT_TRUE(form.IsActive());
    EXPECT_NE(form.Sounds()[0].ID, first[0]);
    EXPECT_NE(form.Sounds()[1].ID, first[1]);
    EXPECT_NE(form.Sounds()[0].ID, form.Sounds()[1].ID);
    form.DeactivateHotKeys();
}

TEST_F(MainForm, ADuplicateShortcutNamesItsIndexAndLeavesNothingRegistered)
{
    TMainForm& form = Form();
    form.AppendSound(Sound(Path("a.wav"), kCtrlAltF9));
    form.AppendSound(Sound(Path("b.wav"), kCtrlAltF9));
    form.AppendSound(Sound(Path("c.wav"), kCtrlAltF11));
    EXPECT_FALSE(form.ActivateHotKeys());
    ASSERT_EQ(prompts_.Calls.size(), 1u);
    EXPECT_EQ(prompts_.Calls[0].caption, "Error");
    EXPECT_EQ(prompts_.Calls[0].type, static_cast<UINT>(MB_OK | MB_ICONERROR));
    EXPECT_EQ(
        prompts_.Calls[0].text,
        "Index: 1\nFilename: " + Path("b.wav") +
            "\n\nThere was a problem. A duplicate shortcut (Ctrl+Alt+F9) was detected. Please make sure "
            "there are no duplicate shortcuts in your sounds list. Also make sure that no other programs "
            "are using shortcuts which you have chosen for your sounds.");
    EXPECT_NE(Log().find(" - Failure in TMainForm::ActivateHotKeys()\r\n"), std::string::npos);
    Probe probe;
    EXPECT_TRUE(probe.Free(kCtrlAltF9));
    EXPECT_TRUE(probe.Free(kCtrlAltF11));
    EXPECT_FALSE(form.IsActive());
    EXPECT_TRUE(MenuItemEnabled(form, IDM_ACTIVATE));
}

TEST_F(MainForm, AnEmptyListActivatesAndMinimisesWhenSoSet)
{
    WriteOrFail(dir_ + "\\Cuebinder.ini",
                "[Game]\r\nInstallPath=" + dir_ +
                    "\\game\r\n[App]\r\nLoadLastAtStart=0\r\nMinWhenActivated=1\r\n");
    TMainForm& form = Form();
    EXPECT_TRUE(form.ActivateHotKeys());
    EXPECT_TRUE(form.IsActive());
    EXPECT_TRUE(IsIconic(form.Handle()));
    EXPECT_TRUE(prompts_.Calls.empty());
}

TEST_F(MainForm, APressCopiesTheSoundShowsItAndAllocatesNothing)
{
    TMainForm& form = Form();
    const std::string one = std::string(200000, '1');
    const std::string two = "RIFF short";
    WriteOrFail(Path("one.wav"), one);
    WriteOrFail(Path("a much longer name for the second sound.wav"), two);
    form.AppendSound(Sound(Path("one.wav"), kCtrlAltF9));
    form.AppendSound(Sound(Path("a much longer name for the second sound.wav"), kCtrlAltF10));
    form.AppendSound(Sound(Path("gone.wav"), kCtrlAltF11));
    ASSERT_TRUE(form.ActivateHotKeys());
    const std::string voice = dir_ + "\\game\\voice_input.wav";

    auto press = [&](std::int32_t id) {
        MSG msg{};
        msg.hwnd = form.Handle();
        msg.message = WM_HOTKEY;
        msg.wParam = static_cast<WPARAM>(id);
        bool handled = false;
        const long before = g_allocations.load();
        form.ApplicationEvents1Message(msg, handled);
        EXPECT_TRUE(handled) << "the application's loop would dispatch it as well and play it twice";
        return g_allocations.load() - before;
    };
    EXPECT_EQ(press(form.Sounds()[0].ID), 0);
    EXPECT_EQ(ReadAll(voice), one);
    EXPECT_EQ(form.StatusForm()->StatusText(), "Current Sound: " + Path("one.wav"));
    EXPECT_TRUE(form.StatusForm()->IsTimerEnabled());
    EXPECT_EQ(press(form.Sounds()[1].ID), 0);
    EXPECT_EQ(ReadAll(voice), two); // no trailing bytes of the longer sound
    EXPECT_EQ(form.StatusForm()->StatusText(),
              "Current Sound: " + Path("a much longer name for the second sound.wav"));

    // a missing source: logged, the voice file stays, the name is still shown
    press(form.Sounds()[2].ID);
    EXPECT_EQ(ReadAll(voice), two);
    EXPECT_EQ(form.StatusForm()->StatusText(), "Current Sound: " + Path("gone.wav"));
    const std::string log = Log();
    EXPECT_NE(log.find(" - Replace() failed.\r\n"), std::string::npos);

    // an unknown identifier: two log lines, nothing else
    std::int32_t unknown = 1;
    while (cb::IndexFromID(form.Sounds(), unknown) >= 0)
        ++unknown;
    press(unknown);
    EXPECT_EQ(ReadAll(voice), two);
    const std::string after = Log().substr(log.size());
    const std::size_t first = after.find(" - Bad index/ID in TMainForm::IndexFromID()\r\n");
    ASSERT_NE(first, std::string::npos);
    EXPECT_NE(after.find(" - Bad index in TMainForm::OnHotKey()\r\n", first), std::string::npos);

    // the same press delivered as a real message: through the application's
    // loop (the hook plays it and it goes no further), and dispatched by the
    // loop of a modal window, which the hook never sees (the window plays it)
    struct Loop
    {
        const char* what;
        bool throughHook;
    };
    for (const Loop loop : {Loop{"the application's loop", true}, Loop{"a modal window's loop", false}}) {
        SCOPED_TRACE(loop.what);
        for (const std::int32_t id : {form.Sounds()[0].ID, form.Sounds()[1].ID}) {
            PostMessageA(form.Handle(), WM_HOTKEY, static_cast<WPARAM>(id), 0);
            MSG msg;
            while (PeekMessageA(&msg, form.Handle(), WM_HOTKEY, WM_HOTKEY, PM_REMOVE)) {
                bool handled = false;
                if (loop.throughHook)
                    form.ApplicationEvents1Message(msg, handled);
                if (!handled)
                    DispatchMessageA(&msg);
            }
            EXPECT_EQ(ReadAll(voice), id == form.Sounds()[0].ID ? one : two);
        }
    }
    form.DeactivateHotKeys();
}

// ---------------------------------------------------------------------------
// Shortcut texts with this system's keyboard layout

TEST(ShortCutTexts, EveryKeyTheLayoutNamesReadsBackAsItself)
{
    int named = 0;
    for (int vk = 0; vk < 256; ++vk) {
        for (std::uint16_t mods : {0x0000, 0x2000, 0x4000, 0x8000, 0xE000}) {
            const std::uint16_t code = static_cast<std::uint16_t>(mods | vk);
            const std::string text = ShortCutToText(code);
            if (text.empty())
                continue;
            if (mods == 0)
                ++named;
            const bool keypadDigit = vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9;
            const std::uint16_t want =
                keypadDigit ? static_cast<std::uint16_t>(mods | (vk - VK_NUMPAD0 + '0')) : code;
            EXPECT_EQ(TextToShortCut(text), want) << "'" << text << "' vk " << vk;
        }
    }
    EXPECT_GE(named, 85); // at least the fixed table
    EXPECT_EQ(ShortCutToText(0x6000 | VK_F5), "Shift+Ctrl+F5");
    EXPECT_EQ(TextToShortCut("^f5"), 0x4000 | VK_F5);
}

// ---------------------------------------------------------------------------
// The whole window: commands, their states, menus, place and columns

std::string MenuText(HMENU menu, UINT id)
{
    char text[128] = {};
    GetMenuStringA(menu, id, text, sizeof text, MF_BYCOMMAND);
    return text;
}

bool PopupItemEnabled(const TMainForm& form, int id)
{
    HMENU popup = form.PopupMenu();
    UINT state = GetMenuState(popup, static_cast<UINT>(id), MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && (state & (MF_GRAYED | MF_DISABLED)) == 0;
}

TEST_F(MainForm, FirstStartWithAnEmptySettingsFileOffersOnlyOptionsAndTheCommandsNeverWithheld)
{
    WriteOrFail(dir_ + "\\Cuebinder.ini", "");
    TMainForm& form = Form();
    ASSERT_EQ(prompts_.Calls.size(), 1u);
    EXPECT_EQ(prompts_.Calls[0].caption, "Notice");
    EXPECT_EQ(prompts_.Calls[0].type, static_cast<UINT>(MB_OK | MB_ICONWARNING));
    const std::string log = Log();
    EXPECT_EQ(log.substr(log.find(" - ") + 3), "No game directory set. User informed.\r\n");
    EXPECT_EQ(form.StatusBarText(), "There is no game directory set. Set one in the Options window.");
    char title[256] = {};
    GetWindowTextA(form.Handle(), title, sizeof title);
    EXPECT_STREQ(title, "Untitled - Cuebinder");

    struct Command
    {
        int id;
        bool enabled;
        bool inMenu, onToolbar, inPopup;
    };
    const Command commands[] = {
        {IDM_NEW, false, true, true, false},        {IDM_OPEN, false, true, true, false},
        {IDM_SAVE, true, true, true, false},        {IDM_SAVEAS, true, true, false, false},
        {IDM_OPTIONS, true, true, true, false},     {IDM_SCRIPTSETUP, true, true, true, false},
        {IDM_EXIT, true, true, false, false},       {IDM_ADD, false, true, true, true},
        {IDM_EDIT, false, true, true, true},        {IDM_DELETE, false, true, false, true},
        {IDM_TB_DELETE, false, false, true, false}, {IDM_CLEAR, false, true, false, true},
        {IDM_ACTIVATE, false, true, true, false},   {IDM_DEACTIVATE, false, true, true, false},
        {IDM_ONLINEHELP, true, true, true, false},  {IDM_README, true, true, true, false},
        {IDM_ABOUT, true, true, true, false},
    };
    for (const Command& c : commands) {
        SCOPED_TRACE(c.id);
        if (c.inMenu) {
            EXPECT_EQ(MenuItemEnabled(form, c.id), c.enabled);
        }
        if (c.onToolbar) {
            EXPECT_EQ(ToolButtonEnabled(form, c.id), c.enabled);
        } else {
            EXPECT_EQ(SendMessageA(form.Toolbar(), TB_COMMANDTOINDEX, c.id, 0), -1);
        }
        if (c.inPopup) {
            EXPECT_EQ(PopupItemEnabled(form, c.id), c.enabled);
        }
    }
}

TEST_F(MainForm, MenusToolbarAndAcceleratorsMatchTheirCommands)
{
    TMainForm& form = Form();
    HMENU menu = GetMenu(form.Handle());
    const char* tops[] = {"&File", "&Sounds", "&Actions", "&Help"};
    ASSERT_EQ(GetMenuItemCount(menu), 4);
    for (int i = 0; i < 4; ++i) {
        char text[64] = {};
        GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        EXPECT_STREQ(text, tops[i]);
    }
    struct Item
    {
        int id;
        const char* caption;
        const char* shortcut; // "" for none
        WORD key;             // the accelerator's key
        BYTE modifiers;       // FCONTROL or 0
    };
    const Item items[] = {
        {IDM_NEW, "&New...", "Ctrl+N", 'N', FCONTROL},
        {IDM_OPEN, "&Open...", "Ctrl+O", 'O', FCONTROL},
        {IDM_SAVE, "&Save", "Ctrl+S", 'S', FCONTROL},
        {IDM_SAVEAS, "Save &As...", "", 0, 0},
        {IDM_OPTIONS, "O&ptions...", "Ctrl+P", 'P', FCONTROL},
        {IDM_SCRIPTSETUP, "S&cript Setup...", "", 0, 0},
        {IDM_EXIT, "E&xit...", "", 0, 0},
        {IDM_ADD, "&Add...", "Ctrl+G", 'G', FCONTROL},
        {IDM_EDIT, "&Edit...", "Ctrl+E", 'E', FCONTROL},
        {IDM_DELETE, "&Delete", "Del", VK_DELETE, 0},
        {IDM_CLEAR, "&Clear...", "", 0, 0},
        {IDM_ACTIVATE, "&Activate", "Ctrl+A", 'A', FCONTROL},
        {IDM_DEACTIVATE, "&Deactivate", "Ctrl+D", 'D', FCONTROL},
        {IDM_ONLINEHELP, "&Online Help", "Ctrl+H", 'H', FCONTROL},
        {IDM_README, "&Readme", "Ctrl+R", 'R', FCONTROL},
        {IDM_ABOUT, "&About...", "F1", VK_F1, 0},
    };
    HACCEL table = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_ACCELERATORS));
    std::vector<ACCEL> accels(static_cast<std::size_t>(CopyAcceleratorTableA(table, nullptr, 0)));
    CopyAcceleratorTableA(table, accels.data(), static_cast<int>(accels.size()));
    std::size_t withShortcut = 0;
    for (const Item& item : items) {
        SCOPED_TRACE(item.caption);
        const std::string want =
            *item.shortcut ? std::string(item.caption) + "\t" + item.shortcut : item.caption;
        EXPECT_EQ(MenuText(menu, static_cast<UINT>(item.id)), want);
        if (!*item.shortcut)
            continue;
        ++withShortcut;
        const auto found = std::find_if(accels.begin(), accels.end(), [&](const ACCEL& a) {
            return a.key == item.key && (a.fVirt & (FCONTROL | FSHIFT | FALT)) == item.modifiers &&
                   (a.fVirt & FVIRTKEY);
        });
        ASSERT_NE(found, accels.end());
        EXPECT_EQ(found->cmd, item.id);
    }
    EXPECT_EQ(accels.size(), withShortcut);

    const char* popup[] = {"&Add", "&Edit", "&Delete...", "", "&Clear..."};
    ASSERT_EQ(GetMenuItemCount(form.PopupMenu()), 5);
    for (int i = 0; i < 5; ++i) {
        char text[64] = {};
        GetMenuStringA(form.PopupMenu(), static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        EXPECT_STREQ(text, popup[i]);
    }

    // a toolbar button's hint is its command's name
    NMTTDISPINFOA info{};
    info.hdr.idFrom = IDM_README;
    info.hdr.code = TTN_GETDISPINFOA;
    SendMessageA(form.Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    ASSERT_NE(info.lpszText, nullptr);
    EXPECT_STREQ(info.lpszText, "View Readme");
    // the window: no maximise box, 470 by 312 at least
    EXPECT_EQ(GetWindowLongPtrA(form.Handle(), GWL_STYLE) & WS_MAXIMIZEBOX, 0);
    SetWindowPos(form.Handle(), nullptr, 0, 0, 200, 100, SWP_NOMOVE | SWP_NOZORDER);
    RECT r;
    GetWindowRect(form.Handle(), &r);
    EXPECT_EQ(r.right - r.left, 470);
    EXPECT_EQ(r.bottom - r.top, 312);
}

TEST_F(MainForm, ResizingSavesThePlaceMovingDoesNotAndColumnWidthsAreSavedOnClose)
{
    WriteSettings(dir_ + "\\game", "[Window]\r\niX=40\r\niY=30\r\niW=500\r\niH=340\r\nColumnWidth1=0\r\n");
    const std::string ini = dir_ + "\\Cuebinder.ini";
    {
        TMainForm& form = Form();
        RECT r;
        GetWindowRect(form.Handle(), &r);
        EXPECT_EQ(r.left, 40);
        EXPECT_EQ(r.top, 30);
        EXPECT_EQ(r.right - r.left, 500);
        EXPECT_EQ(r.bottom - r.top, 340);
        const std::string before = ReadAll(ini);
        // moving stores nothing
        SetWindowPos(form.Handle(), nullptr, 90, 70, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        EXPECT_EQ(ReadAll(ini), before);
        EXPECT_EQ(settings_->GetWindowBounds().Left, 40);
        // resizing writes the outer rectangle at once (with the place it has now)
        SetWindowPos(form.Handle(), nullptr, 0, 0, 520, 360, SWP_NOMOVE | SWP_NOZORDER);
        EXPECT_EQ(ReadProfileValue(ini, "Window", "iX"), "90");
        EXPECT_EQ(ReadProfileValue(ini, "Window", "iY"), "70");
        EXPECT_EQ(ReadProfileValue(ini, "Window", "iW"), "520");
        EXPECT_EQ(ReadProfileValue(ini, "Window", "iH"), "360");
        // minimising keeps the place to reopen at
        ShowWindow(form.Handle(), SW_MINIMIZE);
        ShowWindow(form.Handle(), SW_RESTORE);
        EXPECT_EQ(ReadProfileValue(ini, "Window", "iX"), "90");
        // the column widths of the design, then changed and saved on close
        EXPECT_EQ(ListView_GetColumnWidth(form.SoundsList(), 0), 270);
        EXPECT_EQ(ListView_GetColumnWidth(form.SoundsList(), 1), 65);
        EXPECT_EQ(ListView_GetColumnWidth(form.SoundsList(), 2), 100);
        ListView_SetColumnWidth(form.SoundsList(), 0, 300);
        ListView_SetColumnWidth(form.SoundsList(), 2, 80);
        SendMessageA(form.Handle(), WM_CLOSE, 0, 0);
        EXPECT_FALSE(IsWindow(form.Handle()));
        EXPECT_EQ(ReadProfileValue(ini, "Window", "ColumnWidth0"), "300");
        EXPECT_EQ(ReadProfileValue(ini, "Window", "ColumnWidth1"), "65");
        EXPECT_EQ(ReadProfileValue(ini, "Window", "ColumnWidth2"), "80");
    }
    form_.reset();
    // the next start reopens at the stored place with the stored widths; a 0 keeps the design width
    WriteProfileValue(ini, "Window", "ColumnWidth2", "0");
    TMainForm& again = Form();
    RECT r;
    GetWindowRect(again.Handle(), &r);
    EXPECT_EQ(r.left, 90);
    EXPECT_EQ(r.right - r.left, 520);
    EXPECT_EQ(ListView_GetColumnWidth(again.SoundsList(), 0), 300);
    EXPECT_EQ(ListView_GetColumnWidth(again.SoundsList(), 1), 65);
    EXPECT_EQ(ListView_GetColumnWidth(again.SoundsList(), 2), 100);
}

TEST_F(MainForm, DeleteRemovesExactlyTheSelectedRowsAfterAskingAndClearAsksOnlyWhenThereIsSomething)
{
    TMainForm& form = Form();
    for (const char* name : {"s0", "s1", "s2", "s3", "s4", "s5"})
        form.AppendSound(Sound(name, 0));
    auto select = [&](std::initializer_list<int> rows) {
        ListView_SetItemState(form.SoundsList(), -1, 0, LVIS_SELECTED);
        for (int row : rows)
            ListView_SetItemState(form.SoundsList(), row, LVIS_SELECTED, LVIS_SELECTED);
    };
    auto names = [&] {
        std::string list, rows;
        for (const cb::TSound& s : form.Sounds())
            list += s.Filename + " ";
        for (int i = 0; i < ListView_GetItemCount(form.SoundsList()); ++i)
            rows += RowText(form.SoundsList(), i, 0) + " ";
        EXPECT_EQ(list, rows);
        return list;
    };

    // nothing selected: no question
    form.RunCommand(IDM_DELETE);
    EXPECT_TRUE(prompts_.Calls.empty());
    // No keeps everything
    select({1, 2, 4});
    prompts_.MessageAnswers.push_back(IDNO);
    form.RunCommand(IDM_DELETE);
    ASSERT_EQ(prompts_.Calls.size(), 1u);
    EXPECT_EQ(prompts_.Calls[0].text, "Are you sure you want to delete the selected sound(s)?");
    EXPECT_EQ(prompts_.Calls[0].caption, "Question");
    EXPECT_EQ(prompts_.Calls[0].type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(names(), "s0 s1 s2 s3 s4 s5 ");
    EXPECT_FALSE(form.Modified);
    // Yes removes rows 1, 2 and 4 from list and view alike
    prompts_.MessageAnswers.push_back(IDYES);
    form.RunCommand(IDM_DELETE);
    EXPECT_EQ(names(), "s0 s3 s5 ");
    EXPECT_TRUE(form.Modified);
    // the toolbar's Delete button runs the same command
    form.Modified = false;
    select({2});
    prompts_.MessageAnswers.push_back(IDYES);
    SendMessageA(form.Handle(), WM_COMMAND, IDM_TB_DELETE, reinterpret_cast<LPARAM>(form.Toolbar()));
    EXPECT_EQ(names(), "s0 s3 ");
    EXPECT_TRUE(form.Modified);

    // Clear: No keeps the list, Yes empties it
    prompts_.Calls.clear();
    form.Modified = false;
    prompts_.MessageAnswers.push_back(IDNO);
    form.RunCommand(IDM_CLEAR);
    ASSERT_EQ(prompts_.Calls.size(), 1u);
    EXPECT_EQ(prompts_.Calls[0].text, "Are you absolutely sure you want to clear the sound list?");
    EXPECT_EQ(prompts_.Calls[0].caption, "Question");
    EXPECT_EQ(prompts_.Calls[0].type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(names(), "s0 s3 ");
    EXPECT_FALSE(form.Modified);
    prompts_.MessageAnswers.push_back(IDYES);
    form.RunCommand(IDM_CLEAR);
    EXPECT_EQ(names(), "");
    EXPECT_TRUE(form.Modified);
    // an empty list: no question, Modified untouched
    form.Modified = false;
    form.RunCommand(IDM_CLEAR);
    EXPECT_EQ(prompts_.Calls.size(), 2u);
    EXPECT_FALSE(form.Modified);
}

TEST_F(MainForm, AddAndEditTakeTheDialogsFileAndShortcut)
{
    TMainForm& form = Form();
    WriteOrFail(Path("one.wav"), std::string(3000, '1'));
    WriteOrFail(Path("two.wav"), std::string(600, '2'));
    CreateDirectoryA(Path("folder.wav").c_str(), nullptr);
    testfiles::DialogDriver driver;
    // Fills the dialog: a file name, optionally a Ctrl+key shortcut, then presses `button`.
    auto answer = [&](const char* caption, std::string file, UINT ctrlKey, int button) {
        driver.When(caption, [=](HWND dialog) {
            if (ctrlKey) {
                HWND hotkey = GetDlgItem(dialog, IDC_GENERIC_SHORTCUT);
                SendMessageA(hotkey, WM_KEYDOWN, VK_CONTROL, 0);
                SendMessageA(hotkey, WM_KEYDOWN, ctrlKey, 0);
            }
            SetDlgItemTextA(dialog, IDC_GENERIC_FILENAME, file.c_str());
            testfiles::DialogDriver::Click(dialog, button);
        });
    };
    const std::string badText = "The file doesn't exist. Please check the filename and try again.";
    struct Case
    {
        const char* name;
        std::string file;
        int button;
        bool added;
    };
    const Case refused[] = {
        {"Cancel", Path("one.wav"), IDCANCEL, false},
        {"empty name", "", IDOK, false},
        {"missing file", Path("gone.wav"), IDOK, false},
        {"a folder", Path("folder.wav"), IDOK, false},
    };
    for (const Case& c : refused) {
        SCOPED_TRACE(c.name);
        prompts_.Calls.clear();
        const std::size_t logBefore = Log().size();
        answer("Add Sound", c.file, 'J', c.button);
        form.RunCommand(IDM_ADD);
        EXPECT_EQ(driver.Pending(), 0u);
        EXPECT_TRUE(form.Sounds().empty());
        EXPECT_EQ(ListView_GetItemCount(form.SoundsList()), 0);
        EXPECT_FALSE(form.Modified);
        const std::string logged = Log().substr(logBefore);
        if (c.button == IDCANCEL) {
            EXPECT_TRUE(prompts_.Calls.empty());
            EXPECT_EQ(logged, "");
        } else {
            ASSERT_EQ(prompts_.Calls.size(), 1u);
            EXPECT_EQ(prompts_.Calls[0].text, badText);
            EXPECT_EQ(prompts_.Calls[0].caption, "Error");
            EXPECT_EQ(prompts_.Calls[0].type, static_cast<UINT>(MB_OK | MB_ICONERROR));
            EXPECT_EQ(logged.substr(logged.find(" - ") + 3), "Bad Filename in TMainForm::AddMenuClick()\r\n");
        }
    }

    // a valid file without a shortcut: an empty shortcut column
    prompts_.Calls.clear();
    answer("Add Sound", Path("one.wav"), 0, IDOK);
    form.RunCommand(IDM_ADD);
    answer("Add Sound", Path("two.wav"), 'K', IDOK);
    form.RunCommand(IDM_ADD);
    EXPECT_TRUE(prompts_.Calls.empty());
    ASSERT_EQ(form.Sounds().size(), 2u);
    EXPECT_TRUE(form.Modified);
    EXPECT_EQ(form.Sounds()[0].ShortCut, 0);
    EXPECT_EQ(RowText(form.SoundsList(), 0, 0), Path("one.wav"));
    EXPECT_EQ(RowText(form.SoundsList(), 0, 1), "3 KB");
    EXPECT_EQ(RowText(form.SoundsList(), 0, 2), "");
    EXPECT_EQ(RowImage(form.SoundsList(), 0), 18);
    EXPECT_EQ(form.Sounds()[1].ShortCut, 0x4000 | 'K');
    EXPECT_EQ(RowText(form.SoundsList(), 1, 2), "Ctrl+K");
    EXPECT_EQ(RowText(form.SoundsList(), 1, 1), "1 KB");

    // Edit: nothing selected, nothing shown; with two selected the first counts
    form.Modified = false;
    form.RunCommand(IDM_EDIT);
    ListView_SetItemState(form.SoundsList(), -1, LVIS_SELECTED, LVIS_SELECTED);
    std::string shownName;
    WORD shownKey = 0;
    driver.When("Edit Sound", [&](HWND dialog) {
        char text[512] = {};
        GetDlgItemTextA(dialog, IDC_GENERIC_FILENAME, text, sizeof text);
        shownName = text;
        shownKey = static_cast<WORD>(SendDlgItemMessageA(dialog, IDC_GENERIC_SHORTCUT, HKM_GETHOTKEY, 0, 0));
        testfiles::DialogDriver::Click(dialog, IDOK);
    });
    form.Modified = false;
    form.RunCommand(IDM_EDIT);
    EXPECT_EQ(driver.Pending(), 0u);
    EXPECT_EQ(shownName, Path("one.wav"));
    EXPECT_EQ(shownKey, 0);
    EXPECT_TRUE(form.Modified); // unchanged fields still count as a change
    EXPECT_EQ(RowText(form.SoundsList(), 0, 0), Path("one.wav"));

    // Edit to a missing file: the error, no log line, the entry unchanged
    const std::size_t logBefore = Log().size();
    ListView_SetItemState(form.SoundsList(), -1, 0, LVIS_SELECTED);
    ListView_SetItemState(form.SoundsList(), 1, LVIS_SELECTED, LVIS_SELECTED);
    answer("Edit Sound", Path("gone.wav"), 'L', IDOK);
    form.Modified = false;
    form.RunCommand(IDM_EDIT);
    ASSERT_EQ(prompts_.Calls.size(), 1u);
    EXPECT_EQ(prompts_.Calls[0].text, badText);
    EXPECT_EQ(prompts_.Calls[0].caption, "Error");
    EXPECT_EQ(Log().size(), logBefore);
    EXPECT_FALSE(form.Modified);
    EXPECT_EQ(form.Sounds()[1].Filename, Path("two.wav"));
    EXPECT_EQ(form.Sounds()[1].ShortCut, 0x4000 | 'K');

    // Edit to another file and shortcut, through a double click on the list
    answer("Edit Sound", Path("one.wav"), 'M', IDOK);
    NMITEMACTIVATE click{};
    click.hdr.hwndFrom = form.SoundsList();
    click.hdr.idFrom = IDC_SOUNDSLIST;
    click.hdr.code = NM_DBLCLK;
    click.iItem = 1;
    SendMessageA(form.Handle(), WM_NOTIFY, IDC_SOUNDSLIST, reinterpret_cast<LPARAM>(&click));
    EXPECT_EQ(driver.Pending(), 0u);
    EXPECT_EQ(form.Sounds()[1].Filename, Path("one.wav"));
    EXPECT_EQ(form.Sounds()[1].ShortCut, 0x4000 | 'M');
    EXPECT_EQ(RowText(form.SoundsList(), 1, 0), Path("one.wav"));
    EXPECT_EQ(RowText(form.SoundsList(), 1, 1), "3 KB");
    EXPECT_EQ(RowText(form.SoundsList(), 1, 2), "Ctrl+M");
    EXPECT_TRUE(form.Modified);

    // while active, Edit does nothing: not from the menu, not from a double click
    form.ClearSounds();
    form.AppendSound(Sound(Path("one.wav"), kCtrlAltF9));
    ASSERT_TRUE(form.ActivateHotKeys());
    ListView_SetItemState(form.SoundsList(), 0, LVIS_SELECTED, LVIS_SELECTED);
    bool shown = false;
    driver.When("Edit Sound", [&](HWND dialog) {
        shown = true;
        testfiles::DialogDriver::Click(dialog, IDCANCEL);
    });
    form.EditMenuClick();
    click.iItem = 0;
    SendMessageA(form.Handle(), WM_NOTIFY, IDC_SOUNDSLIST, reinterpret_cast<LPARAM>(&click));
    MSG msg;
    for (int i = 0; i < 20; ++i) { // give a dialog time to show, if one were coming
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        Sleep(10);
    }
    EXPECT_FALSE(shown);
    EXPECT_EQ(driver.Pending(), 1u);
    form.DeactivateHotKeys();
    driver.Missed.clear();
}

TEST_F(MainForm, HelpReadmeAndAboutCommands)
{
    TMainForm& form = Form();
    std::vector<TShellRequest> shell;
    SetShellHook([&](const TShellRequest& r) { shell.push_back(r); });
    std::string readme = ProgramPath();
    readme.erase(readme.find_last_of('\\') + 1);
    readme += "Readme.txt";
    DeleteFileA(readme.c_str());

    // no Readme.txt: one log line, nothing shown
    form.RunCommand(IDM_README);
    EXPECT_TRUE(shell.empty());
    EXPECT_TRUE(prompts_.Calls.empty());
    const std::string log = Log();
    EXPECT_EQ(log.substr(log.find(" - ") + 3), "Missing Readme.txt!\r\n");
    // with it: notepad, maximised
    WriteOrFail(readme, "read me");
    form.RunCommand(IDM_README);
    DeleteFileA(readme.c_str());
    form.RunCommand(IDM_ONLINEHELP);
    SetShellHook({});
    ASSERT_EQ(shell.size(), 2u);
    EXPECT_EQ(shell[0].verb, "open");
    EXPECT_EQ(shell[0].file, "notepad");
    EXPECT_EQ(shell[0].parameters, readme);
    EXPECT_EQ(shell[0].show, SW_SHOWMAXIMIZED);
    EXPECT_EQ(shell[1].verb, "open");
    EXPECT_EQ(shell[1].file, TMainForm::OnlineHelpAddress);
    EXPECT_EQ(shell[1].parameters, "");
    EXPECT_EQ(shell[1].directory, "");
    EXPECT_EQ(shell[1].show, SW_SHOWMAXIMIZED);

    // About opens modally over the main window and closes
    testfiles::DialogDriver driver;
    HWND owner = nullptr;
    driver.When("About", [&](HWND dialog) {
        owner = GetWindow(dialog, GW_OWNER);
        testfiles::DialogDriver::Click(dialog, IDOK);
    });
    form.RunCommand(IDM_ABOUT);
    EXPECT_EQ(owner, form.Handle());
    EXPECT_TRUE(driver.Missed.empty());
}

TEST_F(MainForm, LogoffAndShutdownAskAsClosingDoesAndSaveTheColumnWidths)
{
    TMainForm& form = Form();
    form.AppendSound(Sound("a", 'A'));
    const std::string list = Path("session.qbl");
    struct Case
    {
        const char* what;
        int answer;
        LRESULT endsSession;
    };
    const Case cases[] = {
        {"Cancel holds the session", IDCANCEL, FALSE},
        {"Yes saves the list, then the session ends", IDYES, TRUE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        form.CurrentFile = list;
        form.Modified = true;
        prompts_.Calls.clear();
        prompts_.MessageAnswers.push_back(c.answer);
        EXPECT_EQ(SendMessageA(form.Handle(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), c.endsSession);
        ASSERT_EQ(prompts_.Calls.size(), 1u);
        EXPECT_EQ(prompts_.Calls[0].caption, "Cuebinder");
    }
    EXPECT_EQ(ReadAll(list), "[Config]\r\nCount=1\r\n[Sounds]\r\nSound0=a;A\r\n");
    // nothing changed: no question
    prompts_.Calls.clear();
    EXPECT_EQ(SendMessageA(form.Handle(), WM_QUERYENDSESSION, 0, 0), TRUE);
    EXPECT_TRUE(prompts_.Calls.empty());

    // a session that goes on saves nothing; one that ends saves the widths
    const std::string ini = dir_ + "\\Cuebinder.ini";
    ListView_SetColumnWidth(form.SoundsList(), 0, 222);
    SendMessageA(form.Handle(), WM_ENDSESSION, FALSE, 0);
    EXPECT_NE(ReadProfileValue(ini, "Window", "ColumnWidth0"), "222");
    SendMessageA(form.Handle(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_EQ(ReadProfileValue(ini, "Window", "ColumnWidth0"), "222");
}

TEST_F(MainForm, ExitGoesThroughTheCloseCheck)
{
    TMainForm& form = Form();
    form.AppendSound(Sound("a", 'A'));
    form.Modified = true;
    auto pump = [] {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
    };
    prompts_.MessageAnswers.push_back(IDCANCEL);
    form.RunCommand(IDM_EXIT);
    pump();
    ASSERT_EQ(prompts_.Calls.size(), 1u);
    EXPECT_EQ(prompts_.Calls[0].caption, "Cuebinder");
    EXPECT_TRUE(IsWindow(form.Handle()));
    prompts_.MessageAnswers.push_back(IDNO);
    form.RunCommand(IDM_EXIT);
    pump();
    EXPECT_EQ(form.Handle(), nullptr);
    // FormClose ran: the column widths are in the settings file
    EXPECT_EQ(ReadProfileValue(dir_ + "\\Cuebinder.ini", "Window", "ColumnWidth0"), "270");
}

} // namespace
