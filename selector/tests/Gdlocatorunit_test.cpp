// The Game Directory Locator on the finder's test drives (run through
// finder-drives.sh): its states during and after a search, Stop, OK with and
// without a selection, and Auto-Find in the Options window.
#include "Gdlocatorunit.h"

#include "DialogDriver.h"
#include "FinderDrives.h"
#include "LogCapture.h"
#include "Optionsunit.h"
#include "Prompts.h"
#include "Tpathfinder.h"
#include "Tsettings.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

using namespace testfiles;

namespace {

const char* const kTitle = "Game Directory Locator";

bool Visible(HWND dlg, int id)
{
    return (GetWindowLongPtrA(GetDlgItem(dlg, id), GWL_STYLE) & WS_VISIBLE) != 0;
}

bool Enabled(HWND dlg, int id)
{
    return IsWindowEnabled(GetDlgItem(dlg, id)) != FALSE;
}

std::vector<std::string> Items(HWND dlg)
{
    std::vector<std::string> items;
    HWND list = GetDlgItem(dlg, IDC_LOC_RESULTS);
    int n = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        char buf[MAX_PATH * 2] = {};
        SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(buf));
        items.push_back(buf);
    }
    return items;
}

void Click(HWND dlg, int id)
{
    SendMessageA(GetDlgItem(dlg, id), BM_CLICK, 0, 0);
}

// Selects an item as a click in the list does.
void Select(HWND dlg, int index)
{
    HWND list = GetDlgItem(dlg, IDC_LOC_RESULTS);
    SendMessageA(list, LB_SETCURSEL, index, 0);
    SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDC_LOC_RESULTS, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

class Locator : public OnMappedDrives
{
protected:
    void SetUp() override
    {
        OnMappedDrives::SetUp();
        finder_.SetUpdateInterval(0);
    }
    PathFinder finder_;
};

TEST_F(Locator, TheWindowShowsTheSearchThenItsResults)
{
    Build({"D:\\Games\\Veltrane\\WONAuth.dll", "E:\\Skarrow\\wonauth.dll"});
    TGDLocatorForm form(finder_);
    ASSERT_TRUE(form.Show(nullptr));
    HWND dlg = form.Handle();

    // Idle: the description and three buttons, OK disabled, no title-bar buttons.
    EXPECT_EQ(WindowText(dlg), kTitle);
    RECT client;
    GetClientRect(dlg, &client);
    EXPECT_EQ(client.right, 397);
    EXPECT_EQ(client.bottom, 204);
    EXPECT_EQ(GetWindowLongPtrA(dlg, GWL_STYLE) & WS_SYSMENU, 0);
    EXPECT_EQ(
        WindowText(GetDlgItem(dlg, IDC_LOC_DESCLABEL)),
        "Click the Search button below to automatically locate your Veltrane or Skarrow Retail directory on "
        "your computer. It will take a few minutes to complete the search, so please be patient. When the "
        "search is complete select a directory and press OK.");
    EXPECT_EQ(GetFocus(), GetDlgItem(dlg, IDC_LOC_SEARCHBUTTON));
    for (int id : {IDC_LOC_RESULTSLABEL, IDC_LOC_SEARCHINGLABEL, IDC_LOC_CURDIRLABEL, IDC_LOC_RESULTS})
        EXPECT_FALSE(Visible(dlg, id)) << id;
    EXPECT_FALSE(Enabled(dlg, IDOK));
    EXPECT_TRUE(Enabled(dlg, IDCANCEL));
    EXPECT_TRUE(Enabled(dlg, IDC_LOC_SEARCHBUTTON));

    // Searching: the label follows the search; the Search button waits.
    int shown = 0;
    bool searchingState = true;
    finder_.SetProgressCallback([&](const std::string& dir) {
        ++shown;
        searchingState = searchingState && Visible(dlg, IDC_LOC_SEARCHINGLABEL) &&
                         Visible(dlg, IDC_LOC_CURDIRLABEL) && !Visible(dlg, IDC_LOC_RESULTS) &&
                         !Visible(dlg, IDC_LOC_RESULTSLABEL) && !Enabled(dlg, IDC_LOC_SEARCHBUTTON) &&
                         WindowText(GetDlgItem(dlg, IDC_LOC_CURDIRLABEL)) == dir;
    });
    Click(dlg, IDC_LOC_SEARCHBUTTON);
    EXPECT_GT(shown, 5);
    EXPECT_TRUE(searchingState);

    // Results: one per drive, in drive order, nothing selected, OK still disabled.
    EXPECT_EQ(Items(dlg), (std::vector<std::string>{"D:\\Games\\Veltrane\\", "E:\\Skarrow\\"}));
    EXPECT_TRUE(Visible(dlg, IDC_LOC_RESULTS));
    EXPECT_TRUE(Visible(dlg, IDC_LOC_RESULTSLABEL));
    EXPECT_FALSE(Visible(dlg, IDC_LOC_SEARCHINGLABEL));
    EXPECT_FALSE(Visible(dlg, IDC_LOC_CURDIRLABEL));
    EXPECT_TRUE(Enabled(dlg, IDC_LOC_SEARCHBUTTON));
    EXPECT_EQ(SendDlgItemMessageA(dlg, IDC_LOC_RESULTS, LB_GETCURSEL, 0, 0), LB_ERR);
    EXPECT_FALSE(Enabled(dlg, IDOK));
    // Enter while OK is disabled does nothing.
    SendMessageA(dlg, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(IsWindow(dlg));

    Select(dlg, 1);
    EXPECT_TRUE(Enabled(dlg, IDOK));

    // A second search replaces the list; OK keeps its state with nothing selected.
    ClearDrives();
    Build({"F:\\Third\\WONAuth.dll"});
    Click(dlg, IDC_LOC_SEARCHBUTTON);
    EXPECT_EQ(Items(dlg), std::vector<std::string>{"F:\\Third\\"});
    EXPECT_TRUE(Enabled(dlg, IDOK));
    EXPECT_EQ(SendDlgItemMessageA(dlg, IDC_LOC_RESULTS, LB_GETCURSEL, 0, 0), LB_ERR);
    Click(dlg, IDOK);
    EXPECT_FALSE(IsWindow(dlg));
    EXPECT_EQ(form.ModalResult(), IDOK);
    EXPECT_FALSE(form.SelectedDirectory().has_value());
    EXPECT_EQ(finder_.StatusLabel(), nullptr) << "the finder let go of the closed window's label";
}

TEST_F(Locator, AfterASearchTheFocusIsWhereTheUserGoesOnAndEnterTakesTheSelection)
{
    // Found something: the focus is on the list and OK is the button Enter
    // presses, so arrow keys pick and Enter confirms; found nothing: the focus
    // is back on Search.
    Build({"D:\\Games\\Veltrane\\WONAuth.dll", "E:\\Skarrow\\wonauth.dll"});
    TGDLocatorForm form(finder_);
    ASSERT_TRUE(form.Show(nullptr));
    HWND dlg = form.Handle();
    HWND list = GetDlgItem(dlg, IDC_LOC_RESULTS);
    Click(dlg, IDC_LOC_SEARCHBUTTON);
    EXPECT_EQ(GetFocus(), list);
    EXPECT_EQ(SendMessageA(dlg, DM_GETDEFID, 0, 0), MAKELRESULT(IDOK, DC_HASDEFID))
        << "Enter would press another button than OK";
    Select(dlg, 1);
    // Enter on the list, through the dialog manager as the window's loop hands it over.
    MSG enter{list, WM_KEYDOWN, VK_RETURN, 1, GetTickCount(), {}};
    EXPECT_TRUE(IsDialogMessageA(dlg, &enter));
    EXPECT_FALSE(IsWindow(dlg));
    EXPECT_EQ(form.ModalResult(), IDOK);
    EXPECT_EQ(form.SelectedDirectory().value_or(""), "E:\\Skarrow\\");

    ClearDrives();
    TGDLocatorForm empty(finder_);
    ASSERT_TRUE(empty.Show(nullptr));
    Click(empty.Handle(), IDC_LOC_SEARCHBUTTON);
    EXPECT_TRUE(Items(empty.Handle()).empty());
    EXPECT_EQ(GetFocus(), GetDlgItem(empty.Handle(), IDC_LOC_SEARCHBUTTON));
    Click(empty.Handle(), IDCANCEL);
}

TEST_F(Locator, ASearchThatThrowsLeavesSearchAvailable)
{
    Build({"D:\\One\\WONAuth.dll"});
    finder_.SetProgressCallback([](const std::string&) { throw std::runtime_error("lost the drive"); });
    EXPECT_THROW(finder_.Find(), std::runtime_error);
    EXPECT_FALSE(finder_.Searching()) << "the finder takes a new search";
    finder_.SetProgressCallback(nullptr);
    EXPECT_TRUE(finder_.Find());
    ASSERT_NE(finder_.ResultList(), nullptr);
    EXPECT_EQ(*finder_.ResultList(), std::vector<std::string>{"D:\\One\\"});
}

TEST_F(Locator, CancelOrEscapeDuringTheSearchStopsItAndCloses)
{
    struct Case
    {
        const char* what;
        void (*stop)(HWND dlg);
    };
    const Case cases[] = {
        {"Cancel clicked", [](HWND dlg) { PostMessageA(GetDlgItem(dlg, IDCANCEL), BM_CLICK, 0, 0); }},
        {"Escape pressed", [](HWND dlg) { PressKey(GetFocus() ? GetFocus() : dlg, VK_ESCAPE); }},
    };
    for (const Case& c : cases) {
        ClearDrives();
        Build({"D:\\One\\WONAuth.dll", "E:\\Two\\WONAuth.dll", "F:\\Three\\WONAuth.dll"});
        TGDLocatorForm form(finder_);
        std::vector<std::string> shown;
        // The stop arrives as the keyboard or the mouse sends it, while E:\ is
        // shown; the search handles it before it lists E:\.
        finder_.SetProgressCallback([&](const std::string& dir) {
            shown.push_back(dir);
            if (dir == "E:\\")
                c.stop(FindDialog(kTitle));
        });
        std::vector<std::string> listed;
        INT_PTR result = 0;
        {
            DialogDriver script({[&] {
                HWND dlg = FindDialog(kTitle);
                Click(dlg, IDC_LOC_SEARCHBUTTON);
                listed = Items(dlg);
            }});
            result = form.ShowModal(nullptr);
        }
        finder_.SetProgressCallback(nullptr);
        EXPECT_EQ(result, IDCANCEL) << c.what;
        EXPECT_FALSE(form.SelectedDirectory().has_value()) << c.what;
        ASSERT_NE(finder_.ResultList(), nullptr) << c.what;
        EXPECT_EQ(*finder_.ResultList(), std::vector<std::string>{"D:\\One\\"}) << c.what;
        EXPECT_EQ(listed, std::vector<std::string>{"D:\\One\\"}) << c.what << ": what was found is shown";
        for (const std::string& dir : shown)
            EXPECT_TRUE(dir.size() == 3 || dir[0] == 'D')
                << c.what << ": searched " << dir << " after the stop";
        EXPECT_EQ(FindDialog(kTitle), nullptr) << c.what;
    }
}

TEST_F(Locator, AutoFindPutsTheChosenDirectoryIntoOptions)
{
    ScratchDir dir;
    LogCapture log(dir / "log.txt");
    TScriptedPrompts prompts;
    TPromptsScope scope(prompts);
    Build({"D:\\Halvern\\Veltrane\\WONAuth.dll", "E:\\Halvern\\Skarrow\\WONAuth.dll"});

    struct Case
    {
        const char* what;
        std::vector<void (*)(HWND locator)> inLocator; // after the first search
        const char* directory;                         // Options' Directory afterwards
        std::vector<std::string> log;
    };
    auto selectSecond = [](HWND loc) { Select(loc, 1); };
    auto clickOK = [](HWND loc) { Click(loc, IDOK); };
    auto clickCancel = [](HWND loc) { Click(loc, IDCANCEL); };
    auto searchAgain = [](HWND loc) { Click(loc, IDC_LOC_SEARCHBUTTON); };
    const Case cases[] = {
        {"a directory selected and OK", {selectSecond, clickOK}, "E:\\Halvern\\Skarrow\\", {}},
        {"a directory selected and Cancel", {selectSecond, clickCancel}, "C:\\Old\\", {}},
        {"OK after a second search, nothing selected",
         {selectSecond, searchAgain, clickOK},
         "C:\\Old\\",
         {"Unhandled exception in TMainForm::AutoSearchButtonClick()"}},
    };
    for (const Case& c : cases) {
        const std::string ini = dir / "Cuebinder.ini";
        ASSERT_TRUE(WriteAll(ini, "[Game]\r\nInstallPath=C:\\Old\r\n"));
        DeleteFileA(log.File().c_str());
        TSettings settings(ini);
        settings.Load();
        std::deque<DialogDriver::Step> steps;
        // Options: Auto-Find (the locator's own loop runs the next steps).
        steps.push_back([] { Click(FindDialog("Options"), IDC_OPT_AUTOSEARCHBUTTON); });
        steps.push_back([] { Click(FindDialog(kTitle), IDC_LOC_SEARCHBUTTON); });
        for (auto action : c.inLocator)
            steps.push_back([action] { action(FindDialog(kTitle)); });
        std::string directory;
        steps.push_back([&] {
            HWND options = FindDialog("Options");
            directory = WindowText(GetDlgItem(options, IDC_OPT_DIRECTORY));
            Click(options, IDOK);
        });
        DialogDriver script(std::move(steps));
        script.WaitWhile([this] { return finder_.Searching(); });
        EXPECT_TRUE(RunOptionsWindow(nullptr, settings, finder_)) << c.what;
        EXPECT_EQ(script.Pending(), 0u) << c.what;
        EXPECT_FALSE(script.TimedOut()) << c.what;
        EXPECT_EQ(directory, c.directory) << c.what;
        EXPECT_EQ(settings.GetInstallPath(), c.directory) << c.what;
        EXPECT_EQ(log.Messages(), c.log) << c.what;
    }
}

} // namespace
