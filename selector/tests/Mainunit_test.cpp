// The main window driven in-process: list files written and read through the
// profile functions, the list-file commands and their prompts, the state
// refresh, and the hotkeys (registration, duplicates, dispatch of a press).
#include "Cubdfuncs.h"
#include "Mainres.h"
#include "TestFiles.h"
#include "Mainunit.h"
#include "Prompts.h"
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
        EXPECT_FALSE(handled);
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

    // the same press delivered as a real message reaches OnHotKey through the hook
    PostMessageA(form.Handle(), WM_HOTKEY, static_cast<WPARAM>(form.Sounds()[0].ID), 0);
    MSG msg;
    while (PeekMessageA(&msg, form.Handle(), WM_HOTKEY, WM_HOTKEY, PM_REMOVE)) {
        bool handled = false;
        form.ApplicationEvents1Message(msg, handled);
        DispatchMessageA(&msg);
    }
    EXPECT_EQ(ReadAll(voice), one);
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

} // namespace
