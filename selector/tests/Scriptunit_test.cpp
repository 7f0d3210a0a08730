// Script Setup end to end: the real modal window driven by a timer the way a
// player would click it, the files it appends to in a throw-away game folder,
// and the messages it shows through the prompt seam.
#include "Scriptunit.h"

#include "Prompts.h"
#include "Tsettings.h"
#include "core/ScriptText.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

using testfiles::Exists;
using testfiles::ReadAll;
using testfiles::ScratchDir;
using testfiles::WriteAll;

namespace {

const char* const kSuccess = "The script has been setup! You may now hold down INSERT to play a .WAV or "
                             "press DELETE to toggle a .WAV on "
                             "and off.";
const char* const kFailed = "The Script Setup feature failed.";

// What the timer does once the window is up: click a radio button (0 = none),
// type into the "Other" box, then press Setup or Cancel.
struct Player
{
    int radio = 0;
    const char* typed = nullptr;
    int button = IDOK;
    bool sawWindow = false;
    HWND owner = nullptr;
    HWND seenOwner = nullptr;
};
Player g_player;

void CALLBACK PlayerTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND form = FindWindowA("#32770", "Script Setup");
    if (!form || !IsWindowVisible(form))
        return; // not up yet: try again at the next tick
    KillTimer(nullptr, id);
    g_player.sawWindow = true;
    g_player.seenOwner = GetWindow(form, GW_OWNER);
    if (g_player.radio)
        SendMessageA(GetDlgItem(form, g_player.radio), BM_CLICK, 0, 0);
    if (g_player.typed)
        SetDlgItemTextA(form, TScriptForm::IdOtherEdit, g_player.typed);
    SendMessageA(GetDlgItem(form, g_player.button), BM_CLICK, 0, 0);
}

// Runs the whole command with the window answered by `player`.
TScriptSetupResult RunAnswered(const TSettings& settings, Player player)
{
    g_player = player;
    UINT_PTR timer = SetTimer(nullptr, 0, 50, &PlayerTimer);
    TScriptSetupResult result = RunScriptSetup(player.owner, settings);
    KillTimer(nullptr, timer);
    return result;
}

// A throw-away game folder with the engine's marker file and some mod folders.
struct GameFolder
{
    ScratchDir dir;
    std::string root = dir / "Veltrane";
    GameFolder()
    {
        CreateDirectoryA(root.c_str(), nullptr);
        WriteAll(root + "\\WONAuth.dll", "marker");
        for (const char* mod : {"mainline", "skarrow", "tkf", "dwd", "rebound", "custom mod"})
            CreateDirectoryA((root + "\\" + mod).c_str(), nullptr);
    }
};

} // namespace

TEST(ScriptSetup, AppendsTheExactScriptEachTime)
{
    GameFolder game;
    const std::string mod = game.root + "\\mainline\\";
    ASSERT_TRUE(WriteAll(mod + "autoexec.cfg", "exec userconfig.cfg")); // no line end at its end

    TScriptedPrompts prompts;
    TPromptsScope scope(prompts);
    EXPECT_EQ(InstallScript(nullptr, mod), TScriptSetupResult::Done);
    EXPECT_EQ(InstallScript(nullptr, mod), TScriptSetupResult::Done);

    // The texts themselves are pinned byte for byte by the core tests.
    const std::string block = cb::AutoexecScriptText();
    const std::string bindings = cb::ConfigBindingText();
    EXPECT_EQ(ReadAll(mod + "autoexec.cfg"), "exec userconfig.cfg" + block + block);
    EXPECT_EQ(ReadAll(mod + "config.cfg"), bindings + bindings) << "created when missing";

    ASSERT_EQ(prompts.Calls.size(), 2u);
    for (const TPromptCall& call : prompts.Calls) {
        EXPECT_EQ(call.kind, TPromptCall::Message);
        EXPECT_EQ(call.text, kSuccess);
        EXPECT_EQ(call.caption, "Success");
        EXPECT_EQ(call.type, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
    }
}

TEST(ScriptSetup, EachChoiceOfTheWindowWritesIntoItsFolder)
{
    struct Case
    {
        int radio;
        const char* typed;
        const char* folder;
    };
    const Case cases[] = {
        {0, nullptr, "mainline\\"}, // the choice checked at start
        {TScriptForm::IdSkarrow, nullptr, "skarrow\\"},
        {TScriptForm::IdHarrowkeep, "ignored", "tkf\\"},
        {TScriptForm::IdIronmarch, nullptr, "dwd\\"},
        {TScriptForm::IdRebound, nullptr, "rebound\\"},
        {TScriptForm::IdOther, "custom mod", "custom mod\\"},
        {TScriptForm::IdOther, "", ""}, // an empty box: the game directory itself
    };
    for (const Case& c : cases) {
        GameFolder game;
        TSettings settings(game.dir / "c.ini");
        settings.SetInstallPath(game.root); // stored without its backslash
        TScriptedPrompts prompts;
        TPromptsScope scope(prompts);
        Player player;
        player.radio = c.radio;
        player.typed = c.typed;
        EXPECT_EQ(RunAnswered(settings, player), TScriptSetupResult::Done) << c.folder;
        EXPECT_TRUE(g_player.sawWindow);
        const std::string folder = game.root + "\\" + c.folder;
        EXPECT_EQ(ReadAll(folder + "autoexec.cfg"), cb::AutoexecScriptText()) << c.folder;
        EXPECT_EQ(ReadAll(folder + "config.cfg"), cb::ConfigBindingText()) << c.folder;
        ASSERT_EQ(prompts.Calls.size(), 1u);
        EXPECT_EQ(prompts.Calls[0].caption, "Success");
        // Nothing went anywhere else.
        int written = 0;
        for (const char* mod : {"", "mainline\\", "skarrow\\", "tkf\\", "dwd\\", "rebound\\", "custom mod\\"})
            written += Exists(game.root + "\\" + mod + "autoexec.cfg") ? 1 : 0;
        EXPECT_EQ(written, 1) << c.folder;
    }
}

TEST(ScriptSetup, MissingModFolderFailsAndChangesNothing)
{
    GameFolder game;
    RemoveDirectoryA((game.root + "\\skarrow").c_str());
    TSettings settings(game.dir / "c.ini");
    settings.SetInstallPath(game.root + "\\");
    TScriptedPrompts prompts;
    TPromptsScope scope(prompts);
    Player player;
    player.radio = TScriptForm::IdSkarrow;
    EXPECT_EQ(RunAnswered(settings, player), TScriptSetupResult::Failed);
    EXPECT_FALSE(Exists(game.root + "\\skarrow"));
    EXPECT_FALSE(Exists(game.root + "\\autoexec.cfg"));
    ASSERT_EQ(prompts.Calls.size(), 1u);
    EXPECT_EQ(prompts.Calls[0].text, kFailed);
    EXPECT_EQ(prompts.Calls[0].caption, "Failure");
    EXPECT_EQ(prompts.Calls[0].type, static_cast<UINT>(MB_OK | MB_ICONERROR));
}

TEST(ScriptSetup, ConfigThatCannotBeOpenedFailsAfterTheScript)
{
    GameFolder game;
    const std::string mod = game.root + "\\dwd\\";
    ASSERT_TRUE(CreateDirectoryA((mod + "config.cfg").c_str(), nullptr)); // a folder in its place
    TScriptedPrompts prompts;
    TPromptsScope scope(prompts);
    EXPECT_EQ(InstallScript(nullptr, mod), TScriptSetupResult::Failed);
    EXPECT_EQ(ReadAll(mod + "autoexec.cfg"), cb::AutoexecScriptText()) << "the first append stays";
    ASSERT_EQ(prompts.Calls.size(), 1u);
    EXPECT_EQ(prompts.Calls[0].text, kFailed);
    EXPECT_EQ(prompts.Calls[0].caption, "Failure");
}

TEST(ScriptSetup, CancelWritesNothing)
{
    GameFolder game;
    TSettings settings(game.dir / "c.ini");
    settings.SetInstallPath(game.root);
    TScriptedPrompts prompts;
    TPromptsScope scope(prompts);
    Player player;
    player.radio = TScriptForm::IdOther;
    player.typed = "";
    player.button = IDCANCEL;
    EXPECT_EQ(RunAnswered(settings, player), TScriptSetupResult::Cancelled);
    EXPECT_TRUE(g_player.sawWindow);
    EXPECT_FALSE(Exists(game.root + "\\autoexec.cfg"));
    EXPECT_FALSE(Exists(game.root + "\\mainline\\autoexec.cfg"));
    EXPECT_TRUE(prompts.Calls.empty());
}

TEST(ScriptSetup, NoGameDirectoryShowsTheErrorAndNoWindow)
{
    for (const char* path : {"", "\\"}) {
        TSettings settings("unused.ini");
        settings.SetInstallPath(path);
        TScriptedPrompts prompts;
        TPromptsScope scope(prompts);
        Player player;
        EXPECT_EQ(RunAnswered(settings, player), TScriptSetupResult::NoGameDirectory);
        EXPECT_FALSE(g_player.sawWindow);
        ASSERT_EQ(prompts.Calls.size(), 1u);
        EXPECT_EQ(
            prompts.Calls[0].text,
            "This feature only works when there is a game directory set. Please set your game directory "
            "and try again.");
        EXPECT_EQ(prompts.Calls[0].caption, "Error");
        EXPECT_EQ(prompts.Calls[0].type, static_cast<UINT>(MB_OK | MB_ICONERROR));
    }
}

TEST(ScriptSetup, WindowLayoutAndTabOrder)
{
    // An owner to centre on.
    HWND owner = CreateWindowExA(0, "STATIC", "Owner", WS_POPUP | WS_VISIBLE, 100, 50, 470, 312, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(owner, nullptr);
    {
        TScriptForm form;
        ASSERT_TRUE(form.Show(owner));
        HWND h = form.Handle();
        char caption[64] = {};
        GetWindowTextA(h, caption, sizeof caption);
        EXPECT_STREQ(caption, "Script Setup");
        RECT client;
        GetClientRect(h, &client);
        EXPECT_EQ(client.right, 170);
        EXPECT_EQ(client.bottom, 245);
        LONG style = GetWindowLongA(h, GWL_STYLE);
        EXPECT_EQ(style & WS_SYSMENU, 0) << "no title-bar buttons";
        EXPECT_EQ(style & WS_THICKFRAME, 0) << "fixed border";
        EXPECT_EQ(GetWindow(h, GW_OWNER), owner);
        RECT wr;
        GetWindowRect(h, &wr);
        EXPECT_LE(std::abs((wr.left + wr.right) / 2 - (100 + 570) / 2), 1);
        EXPECT_LE(std::abs((wr.top + wr.bottom) / 2 - (50 + 362) / 2), 1);
        EXPECT_EQ(LOWORD(SendMessageA(h, DM_GETDEFID, 0, 0)), IDOK);

        auto text = [&](int id) {
            char t[128] = {};
            GetDlgItemTextA(h, id, t, sizeof t);
            return std::string(t);
        };
        EXPECT_EQ(text(TScriptForm::IdPromptLabel), "Please select the mod you use:");
        EXPECT_EQ(text(TScriptForm::IdOtherLabel), "If you chose other, enter the mod directory in the box:");
        EXPECT_EQ(text(TScriptForm::IdSetupButton), "Setup");
        EXPECT_EQ(text(TScriptForm::IdCancelButton), "&Cancel");
        EXPECT_EQ(text(TScriptForm::IdOtherEdit), "");
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(text(TScriptForm::IdMainline + i),
                      cb::ModChoiceCaptions()[static_cast<std::size_t>(i)]);
        EXPECT_EQ(IsDlgButtonChecked(h, TScriptForm::IdMainline), BST_CHECKED);

        // Creation order is the tab order: the six choices, the box, Cancel, Setup.
        std::vector<int> order;
        HWND child = GetWindow(h, GW_CHILD);
        for (; child; child = GetWindow(child, GW_HWNDNEXT))
            order.push_back(GetDlgCtrlID(child));
        EXPECT_EQ(order,
                  (std::vector<int>{TScriptForm::IdPromptLabel, 101, 102, 103, 104, 105, 106,
                                    TScriptForm::IdOtherLabel, TScriptForm::IdOtherEdit, IDCANCEL, IDOK}));
        // Tab stops: the checked choice stands for its group.
        HWND first = GetNextDlgTabItem(h, nullptr, FALSE);
        std::vector<int> tabs;
        HWND item = first;
        do {
            tabs.push_back(GetDlgCtrlID(item));
            item = GetNextDlgTabItem(h, item, FALSE);
        } while (item && item != first && tabs.size() < 20);
        EXPECT_EQ(tabs, (std::vector<int>{101, TScriptForm::IdOtherEdit, IDCANCEL, IDOK}));

        // Choosing "Ironmarch" and pressing Setup ends the window with OK.
        SendMessageA(GetDlgItem(h, TScriptForm::IdIronmarch), BM_CLICK, 0, 0);
        EXPECT_EQ(IsDlgButtonChecked(h, TScriptForm::IdMainline), BST_UNCHECKED);
        SendMessageA(GetDlgItem(h, IDOK), BM_CLICK, 0, 0);
        EXPECT_EQ(form.ModalResult(), IDOK);
        EXPECT_EQ(form.Choice(), cb::ModChoice::Ironmarch);
        EXPECT_EQ(form.ModFolder(), "dwd\\");
        EXPECT_EQ(form.Handle(), nullptr);
    }
    DestroyWindow(owner);
}
