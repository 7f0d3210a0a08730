// The real Cuebinder.exe, started under Wine and driven from outside: a list
// of two WAV files is loaded at start (or, from a first start, the game
// directory set in Options and the list put together through the Add dialog
// and saved), activated through the menu command, and real key presses
// (xdotool) while the stand-in game window holds the focus replace the game's
// voice_input.wav and show the sound in the status bar.
#include "CuebinderDriver.h"

namespace {

using namespace cbdriver;
using namespace std::chrono_literals;
using testfiles::ReadAll;
using testfiles::WriteOrFail;

TEST_F(CuebinderRun, RealKeyPressesPlayTheChosenSounds)
{
    ASSERT_TRUE(Free(kF9) && Free(kF10)) << "another program holds the test's shortcuts";
    WriteList({{Sound("alpha.wav"), kF9.text}, {Sound("beta.wav"), kF10.text}});
    StartCuebinder(false);

    // the list as the window shows it
    ASSERT_EQ(ListView_GetItemCount(list_), 2);
    EXPECT_EQ(RemoteItemText(cuebinder_->Handle(), list_, 0, 0), Sound("alpha.wav"));
    EXPECT_EQ(RemoteItemText(cuebinder_->Handle(), list_, 0, 1), "29 KB"); // 30044 bytes
    EXPECT_EQ(RemoteItemText(cuebinder_->Handle(), list_, 0, 2), "Shift+Ctrl+F9");
    EXPECT_EQ(RemoteItemText(cuebinder_->Handle(), list_, 1, 1), "68 KB"); // 70044 bytes
    EXPECT_EQ(RemoteItemText(cuebinder_->Handle(), list_, 1, 2), "Shift+Ctrl+F10");
    EXPECT_EQ(RemoteStatusText(cuebinder_->Handle(), status_), "Game Directory is \"" + root_ + "\\game\\\"");
    EXPECT_FALSE(Active());

    Command(IDM_ACTIVATE);
    ASSERT_TRUE(WaitFor([&] { return Active(); })) << "not activated";
    EXPECT_FALSE(ActivateEnabled());
    EXPECT_FALSE(Free(kF9));
    EXPECT_FALSE(IsIconic(main_));
    EXPECT_EQ(ReadAll(Voice()).size(), 0u); // created empty at activation

    StartGame();
    ASSERT_TRUE(Press(kF9)) << "xdotool failed";
    EXPECT_TRUE(WaitFor([&] { return ReadAll(Voice()) == a_; })) << "voice file does not hold alpha.wav";
    EXPECT_TRUE(WaitFor([&] { return StatusBarWindowText() == "Current Sound: " + Sound("alpha.wav"); }))
        << StatusBarWindowText();
    ASSERT_TRUE(Press(kF10));
    EXPECT_TRUE(WaitFor([&] { return ReadAll(Voice()) == b_; })) << "voice file does not hold beta.wav";
    EXPECT_TRUE(WaitFor([&] { return StatusBarWindowText() == "Current Sound: " + Sound("beta.wav"); }))
        << StatusBarWindowText();
    ASSERT_TRUE(Press(kF9));
    EXPECT_TRUE(WaitFor([&] { return ReadAll(Voice()) == a_; })) << "a shorter sound left a tail";

    // About left open in Cuebinder (a modal loop of its own) while the player
    // is in the game: the keys still play
    Command(IDM_ABOUT);
    HWND about = WaitForDialog("About");
    ASSERT_NE(about, nullptr) << "About did not open";
    ASSERT_TRUE(Press(kF10));
    EXPECT_TRUE(WaitFor([&] { return ReadAll(Voice()) == b_; }))
        << "a press while About was open played nothing";
    ASSERT_TRUE(Press(kF9));
    EXPECT_TRUE(WaitFor([&] { return ReadAll(Voice()) == a_; }))
        << "a press while About was open played nothing";
    PostMessageA(about, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(about); })) << "About did not close";

    // deactivated, the keys do nothing
    Command(IDM_DEACTIVATE);
    ASSERT_TRUE(WaitFor([&] { return !Active(); }));
    EXPECT_TRUE(ActivateEnabled());
    EXPECT_TRUE(Free(kF9) && Free(kF10));
    ASSERT_TRUE(Press(kF10));
    std::this_thread::sleep_for(700ms);
    EXPECT_TRUE(ReadAll(Voice()) == a_) << "a press after deactivation replaced the voice file";

    // and activated again, they play once more
    Command(IDM_ACTIVATE);
    ASSERT_TRUE(WaitFor([&] { return Active(); }));
    ASSERT_TRUE(Press(kF10));
    EXPECT_TRUE(WaitFor([&] { return ReadAll(Voice()) == b_; }));
    const std::string log = ReadAll(App("log.txt"));
    EXPECT_EQ(log.find("Bad index"), std::string::npos) << log;
    EXPECT_EQ(log.find("Replace() failed."), std::string::npos) << log;
}

TEST_F(CuebinderRun, DuplicateShortcutsAreRefusedWithTheLaterIndex)
{
    ASSERT_TRUE(Free(kF9) && Free(kF10));
    WriteList({{Sound("alpha.wav"), kF9.text}, {Sound("beta.wav"), kF9.text}});
    StartCuebinder(false);
    Command(IDM_ACTIVATE);
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = FindWindowOf(cuebinder_->Id(), "#32770", "Error")) != nullptr; }))
        << "no error message";
    char text[2048] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    EXPECT_EQ(
        std::string(text),
        "Index: 1\nFilename: " + Sound("beta.wav") +
            "\n\nThere was a problem. A duplicate shortcut (Shift+Ctrl+F9) was detected. Please make sure "
            "there are no duplicate shortcuts in your sounds list. Also make sure that no other programs "
            "are using shortcuts which you have chosen for your sounds.");
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }));
    EXPECT_TRUE(WaitFor([&] { return Free(kF9); })) << "the first entry's hotkey stayed registered";
    EXPECT_FALSE(Active());
    EXPECT_TRUE(ActivateEnabled());
    EXPECT_NE(ReadAll(App("log.txt")).find(" - Failure in TMainForm::ActivateHotKeys()\r\n"),
              std::string::npos);
}

TEST_F(CuebinderRun, AnEmptyListActivatesAndMinimises)
{
    WriteList({});
    StartCuebinder(true);
    EXPECT_EQ(ListView_GetItemCount(list_), 0);
    Command(IDM_ACTIVATE);
    ASSERT_TRUE(WaitFor([&] { return Active(); }));
    EXPECT_FALSE(ActivateEnabled());
    EXPECT_TRUE(WaitFor([&] { return IsIconic(main_) != FALSE; })) << "not minimised";
    EXPECT_EQ(FindWindowOf(cuebinder_->Id(), "#32770"), nullptr);

    // Exit ends the program (nothing unsaved, so no question)
    Command(IDM_EXIT);
    EXPECT_TRUE(cuebinder_->WaitExit(10000)) << "still running after Exit";
    main_ = nullptr;
}

TEST_F(CuebinderRun, FromAFirstStartThroughOptionsAddSavePlayAndTheSavePromptOnTheWayOut)
{
    ASSERT_TRUE(Free(kF9) && Free(kF10));
    // A first start: no settings at all. The notice, then Options sets the game directory.
    WriteOrFail(App("Cuebinder.ini"), "");
    cuebinder_ = std::make_unique<Process>();
    ASSERT_TRUE(cuebinder_->Start(App("Cuebinder.exe"), "", root_ + "\\app"));
    HWND notice = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        return (notice = FindWindowOf(cuebinder_->Id(), "#32770", "Notice")) != nullptr;
    })) << "no notice at the first start";
    PostMessageA(notice, WM_COMMAND, IDOK, 0);
    Attach("Untitled - Cuebinder");
    EXPECT_EQ(RemoteStatusText(cuebinder_->Handle(), status_),
              "There is no game directory set. Set one in the Options window.");
    EXPECT_FALSE(SendMessageA(toolbar_, TB_ISBUTTONENABLED, IDM_ADD, 0));
    Command(IDM_OPTIONS);
    HWND options = WaitForDialog("Options");
    ASSERT_NE(options, nullptr) << "no Options window";
    SendMessageA(GetDlgItem(options, IDC_OPT_DIRECTORY), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>((root_ + "\\game\\").c_str()));
    PostMessageA(options, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] {
        return RemoteStatusText(cuebinder_->Handle(), status_) ==
               "Game Directory is \"" + root_ + "\\game\\\"";
    })) << RemoteStatusText(cuebinder_->Handle(), status_);
    EXPECT_TRUE(SendMessageA(toolbar_, TB_ISBUTTONENABLED, IDM_ADD, 0));
    EXPECT_NE(ReadAll(App("Cuebinder.ini")).find("InstallPath=" + root_ + "\\game\\\r\n"), std::string::npos);
    EXPECT_EQ(ListView_GetItemCount(list_), 0);

    // Add: the file name set in its box, the shortcut pressed on the keyboard, Enter.
    Command(IDM_ADD);
    HWND add = WaitForDialog("Add Sound");
    ASSERT_NE(add, nullptr) << "no Add dialog";
    SendMessageA(GetDlgItem(add, IDC_GENERIC_FILENAME), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(Sound("alpha.wav").c_str()));
    ASSERT_TRUE(TypeInto("Add Sound", "key Tab shift+ctrl+F9 Return"));
    ASSERT_TRUE(WaitFor([&] { return ListView_GetItemCount(list_) == 1; }))
        << "first sound not added; " << DialogState("Add Sound") << DialogState("Error");

    // Add, filled by messages: the box's text, the control's value, OK.
    Command(IDM_ADD);
    add = WaitForDialog("Add Sound");
    ASSERT_NE(add, nullptr);
    SendMessageA(GetDlgItem(add, IDC_GENERIC_FILENAME), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(Sound("beta.wav").c_str()));
    SendMessageA(GetDlgItem(add, IDC_GENERIC_SHORTCUT), HKM_SETHOTKEY,
                 MAKEWORD(VK_F10, HOTKEYF_SHIFT | HOTKEYF_CONTROL), 0);
    PostMessageA(add, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return ListView_GetItemCount(list_) == 2; })) << "second sound not added";
    const char* shortcuts[] = {"Shift+Ctrl+F9", "Shift+Ctrl+F10"};
    const char* sizes[] = {"29 KB", "68 KB"};
    const std::string files[] = {Sound("alpha.wav"), Sound("beta.wav")};
    for (int row = 0; row < 2; ++row) {
        EXPECT_EQ(RemoteItemText(cuebinder_->Handle(), list_, row, 0), files[row]);
        EXPECT_EQ(RemoteItemText(cuebinder_->Handle(), list_, row, 1), sizes[row]);
        EXPECT_EQ(RemoteItemText(cuebinder_->Handle(), list_, row, 2), shortcuts[row]);
    }

    // Save: untitled, so the Save As dialog asks for a name (the extension is added).
    Command(IDM_SAVE);
    HWND save = WaitForDialog("Save As");
    ASSERT_NE(save, nullptr) << "no Save As dialog";
    HWND name = GetDlgItem(save, 0x47C); // the file name box (cmb13)
    ASSERT_NE(name, nullptr);
    SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>((root_ + "\\mine").c_str()));
    PostMessageA(save, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return WindowText(main_) == "mine - Cuebinder"; })) << WindowText(main_);
    const std::string list = root_ + "\\mine.qbl";
    EXPECT_EQ(ReadAll(list), "[Config]\r\nCount=2\r\n[Sounds]\r\nSound0=" + files[0] +
                                 ";Shift+Ctrl+F9\r\nSound1=" + files[1] + ";Shift+Ctrl+F10\r\n");

    // Activate and play from the game's window.
    Command(IDM_ACTIVATE);
    ASSERT_TRUE(WaitFor([&] { return Active(); })) << "not activated";
    StartGame();
    ASSERT_TRUE(Press(kF10));
    EXPECT_TRUE(WaitFor([&] { return ReadAll(Voice()) == b_; })) << "voice file does not hold beta.wav";
    ASSERT_TRUE(Press(kF9));
    EXPECT_TRUE(WaitFor([&] { return ReadAll(Voice()) == a_; })) << "voice file does not hold alpha.wav";
    Command(IDM_DEACTIVATE);
    ASSERT_TRUE(WaitFor([&] { return !Active(); }));

    // Delete the first row (confirmed), then Exit: the save prompt, Yes saves and the program ends.
    DeleteFirstRow();
    ASSERT_EQ(ListView_GetItemCount(list_), 1);
    EXPECT_EQ(RemoteItemText(cuebinder_->Handle(), list_, 0, 0), files[1]);

    Command(IDM_EXIT);
    HWND prompt = WaitForDialog("Cuebinder");
    ASSERT_NE(prompt, nullptr) << "no save prompt";
    EXPECT_EQ(MessageText(prompt),
              "The data in the mine file has changed.\n\nDo you want to save the changes?");
    PostMessageA(prompt, WM_COMMAND, IDYES, 0);
    EXPECT_TRUE(cuebinder_->WaitExit(10000)) << "still running after the save prompt";
    main_ = nullptr;
    EXPECT_EQ(ReadAll(list), "[Config]\r\nCount=1\r\n[Sounds]\r\nSound0=" + files[1] + ";Shift+Ctrl+F10\r\n");
    const std::string ini = ReadAll(App("Cuebinder.ini"));
    EXPECT_NE(ini.find("LastFile=" + list + "\r\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("ColumnWidth0=270\r\n"), std::string::npos) << ini;
}

TEST_F(CuebinderRun, AStoredPlaceNoMonitorShowsOpensOnTheNearestMonitorAndAUsableOneAsItWas)
{
    struct Case
    {
        const char* what;
        int x, y, width, height;
        bool kept; // opens exactly at the stored rectangle
    };
    const Case cases[] = {
        {"on the screen", 40, 30, 500, 340, true},
        {"negative width and height", 100, 80, -300, -200, false},
        {"far off to the left", -20000, 100, 500, 340, false},
        {"far off to the right", 20000, 100, 500, 340, false},
        {"far off above", 100, -20000, 500, 340, false},
        {"far off below", 100, 20000, 500, 340, false},
        {"huge", 0, 0, 100000, 100000, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteOrFail(App("Cuebinder.ini"),
                    "[Game]\r\nInstallPath=" + root_ + "\\game\r\n[App]\r\nLoadLastAtStart=0\r\n" +
                        "[Window]\r\niX=" + std::to_string(c.x) + "\r\niY=" + std::to_string(c.y) +
                        "\r\niW=" + std::to_string(c.width) + "\r\niH=" + std::to_string(c.height) + "\r\n");
        Launch("Untitled - Cuebinder");
        RECT r{};
        GetWindowRect(main_, &r);
        if (c.kept) {
            EXPECT_EQ(r.left, c.x);
            EXPECT_EQ(r.top, c.y);
            EXPECT_EQ(r.right - r.left, c.width);
            EXPECT_EQ(r.bottom - r.top, c.height);
        } else {
            // wholly on a monitor's work area, at least the window's minimum size
            MONITORINFO monitor{};
            monitor.cbSize = sizeof monitor;
            ASSERT_TRUE(GetMonitorInfoA(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &monitor));
            const RECT& work = monitor.rcWork;
            EXPECT_TRUE(r.left >= work.left && r.top >= work.top && r.right <= work.right &&
                        r.bottom <= work.bottom)
                << r.left << "," << r.top << "-" << r.right << "," << r.bottom << " on " << work.left << ","
                << work.top << "-" << work.right << "," << work.bottom;
            EXPECT_GE(r.right - r.left, 470);
            EXPECT_GE(r.bottom - r.top, 312);
        }
        PostMessageA(main_, WM_CLOSE, 0, 0);
        EXPECT_TRUE(cuebinder_->WaitExit(10000)) << "still running after closing";
        main_ = nullptr;
    }
}

} // namespace
