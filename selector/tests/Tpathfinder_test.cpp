// PathFinder on real drive letters: run through finder-drives.sh, which gives
// this process a Wine prefix whose only fixed drives are D:, E:, F: (empty
// test folders) and L: (holding Loop\Back, a link back to L:\).
#include "Tpathfinder.h"

#include "FinderDrives.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

using namespace testfiles;

namespace {

// Results must come drive by drive in letter order; within one drive their
// order is the file system's listing order, so they are compared as sets.
void ExpectDriveByDrive(const std::vector<std::string>& got, std::vector<std::string> expected,
                        const std::string& what)
{
    EXPECT_TRUE(std::is_sorted(got.begin(), got.end(),
                               [](const std::string& a, const std::string& b) { return a[0] < b[0]; }))
        << what << ": results not in drive letter order";
    std::vector<std::string> sortedGot = got;
    std::sort(sortedGot.begin(), sortedGot.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(sortedGot, expected) << what;
}

// A label to attach, in a hidden window of its own.
class LabelWindow
{
public:
    LabelWindow()
    {
        m_Parent =
            CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 400, 40, nullptr, nullptr, nullptr, nullptr);
        m_Label = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 400, 20, m_Parent, nullptr,
                                  nullptr, nullptr);
    }
    ~LabelWindow() { DestroyWindow(m_Parent); }
    HWND Label() const { return m_Label; }
    std::string Text() const
    {
        char buf[1024] = {};
        GetWindowTextA(m_Label, buf, sizeof buf);
        return buf;
    }

private:
    HWND m_Parent = nullptr;
    HWND m_Label = nullptr;
};

// What one search showed while it ran.
struct Walk
{
    std::vector<std::string> results;
    std::vector<std::string> shown; // every directory shown, in order
    bool labelFollowed = true;      // the label held each directory when it was shown
    bool nestedFindRefused = true;  // Find during the search returned false
    bool noResultsWhileSearching = true;
};

Walk RunFind(PathFinder& finder, LabelWindow& label)
{
    Walk walk;
    finder.SetStatusLabel(label.Label());
    finder.SetUpdateInterval(0);
    finder.SetProgressCallback([&](const std::string& dir) {
        walk.shown.push_back(dir);
        walk.labelFollowed = walk.labelFollowed && label.Text() == dir;
        walk.noResultsWhileSearching = walk.noResultsWhileSearching && finder.ResultList() == nullptr;
        if (walk.shown.size() == 2)
            walk.nestedFindRefused = !finder.Find();
    });
    EXPECT_TRUE(finder.Find());
    finder.SetProgressCallback(nullptr);
    if (finder.ResultList())
        walk.results = *finder.ResultList();
    else
        ADD_FAILURE() << "no result list after Find";
    return walk;
}

using PathFinderOnDrives = OnMappedDrives;

TEST_F(PathFinderOnDrives, FindsEachDirectoryHoldingTheMarkerDriveByDrive)
{
    struct Case
    {
        const char* what;
        std::vector<std::string> paths;
        std::vector<std::string> expected;
        std::vector<std::string> neverEntered;
    };
    const Case cases[] = {
        {"the marker in any letter case",
         {"D:\\Games\\Veltrane\\wonauth.dll", "D:\\Games\\Skarrow\\WONAUTH.DLL",
          "D:\\Games\\Near\\WONAuth.dl", "D:\\Games\\Near\\WONAuth.dll.bak", "D:\\Games\\Near\\XWONAuth.dll"},
         {"D:\\Games\\Veltrane\\", "D:\\Games\\Skarrow\\"},
         {}},
        {"a folder named like the marker is a hit for its parent and is not entered",
         {"D:\\Mods\\WONAuth.dll\\", "D:\\Mods\\WONAuth.dll\\Inside\\WONAuth.dll"},
         {"D:\\Mods\\"},
         {"D:\\Mods\\WONAuth.dll\\"}},
        {"the marker at a drive root, and the rest of that drive still searched",
         {"E:\\WONAuth.dll", "E:\\Deep\\Er\\wonauth.DLL"},
         {"E:\\", "E:\\Deep\\Er\\"},
         {}},
        {"two drives in letter order",
         {"F:\\Veltrane\\WONAuth.dll", "D:\\Skarrow\\WONAuth.dll"},
         {"D:\\Skarrow\\", "F:\\Veltrane\\"},
         {}},
        {"a directory holding the marker is still searched below",
         {"D:\\A\\WONAuth.dll", "D:\\A\\B\\WONAuth.dll"},
         {"D:\\A\\", "D:\\A\\B\\"},
         {}},
        {"no marker anywhere", {"D:\\readme.txt", "E:\\Folder\\", "F:\\x\\y\\z.dll"}, {}, {}},
        {"a link back to the drive root is not followed",
         {"L:\\Loop\\WONAuth.dll"},
         {"L:\\Loop\\"},
         {"L:\\Loop\\Back\\"}},
    };
    LabelWindow label;
    for (const Case& c : cases) {
        ClearDrives();
        Build(c.paths);
        PathFinder finder;
        Walk walk = RunFind(finder, label);
        ExpectDriveByDrive(walk.results, c.expected, c.what);
        EXPECT_TRUE(walk.labelFollowed) << c.what;
        EXPECT_TRUE(walk.nestedFindRefused) << c.what;
        EXPECT_TRUE(walk.noResultsWhileSearching) << c.what;
        // Each directory is entered once, only on the test drives, and the
        // two directories of L: are always among them.
        std::set<std::string> unique(walk.shown.begin(), walk.shown.end());
        EXPECT_EQ(unique.size(), walk.shown.size()) << c.what << ": a directory was entered twice";
        for (const std::string& dir : walk.shown)
            EXPECT_NE(std::string("DEFL").find(dir[0]), std::string::npos) << c.what << ": entered " << dir;
        EXPECT_EQ(unique.count("L:\\"), 1u) << c.what;
        EXPECT_EQ(unique.count("L:\\Loop\\"), 1u) << c.what;
        for (const std::string& dir : c.neverEntered)
            EXPECT_EQ(unique.count(dir), 0u) << c.what << ": entered " << dir;
        EXPECT_EQ(finder.DirectoriesSearched(), walk.shown.size()) << c.what;
    }
}

LRESULT CALLBACK StopperProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_APP) {
        reinterpret_cast<PathFinder*>(lp)->Stop();
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

TEST_F(PathFinderOnDrives, StopHandledDuringTheSearchKeepsWhatWasFound)
{
    Build({"D:\\One\\WONAuth.dll", "E:\\Two\\WONAuth.dll", "F:\\Three\\WONAuth.dll"});
    WNDCLASSA wc{};
    wc.lpfnWndProc = StopperProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "FinderStopper";
    RegisterClassA(&wc);
    HWND stopper = CreateWindowExA(0, "FinderStopper", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                   wc.hInstance, nullptr);
    ASSERT_NE(stopper, nullptr);

    LabelWindow label;
    PathFinder finder;
    finder.SetStatusLabel(label.Label());
    finder.SetUpdateInterval(0);
    std::vector<std::string> shown;
    // The stop request arrives as a message while E:\ is shown; the finder
    // handles it before it lists E:\, so D: is all that is searched.
    finder.SetProgressCallback([&](const std::string& dir) {
        shown.push_back(dir);
        if (dir == "E:\\")
            PostMessageA(stopper, WM_APP, 0, reinterpret_cast<LPARAM>(&finder));
    });
    ASSERT_TRUE(finder.Find());
    ASSERT_NE(finder.ResultList(), nullptr);
    EXPECT_EQ(*finder.ResultList(), std::vector<std::string>{"D:\\One\\"});
    for (const std::string& dir : shown)
        EXPECT_TRUE(dir.size() == 3 || dir[0] == 'D') << "searched " << dir << " after the stop";

    // The next search starts afresh and finds all three.
    finder.SetProgressCallback(nullptr);
    ASSERT_TRUE(finder.Find());
    ExpectDriveByDrive(*finder.ResultList(), {"D:\\One\\", "E:\\Two\\", "F:\\Three\\"}, "after a stop");
    DestroyWindow(stopper);
}

TEST_F(PathFinderOnDrives, ResultsAreNoneBeforeTheFirstSearchAndTheLabelIsOptional)
{
    Build({"E:\\Game\\WONAuth.dll"});
    PathFinder finder;
    EXPECT_EQ(finder.ResultList(), nullptr);
    finder.ShowCurrentDirectory("X:\\"); // no label: nothing happens
    ASSERT_TRUE(finder.Find());
    ASSERT_NE(finder.ResultList(), nullptr);
    EXPECT_EQ(*finder.ResultList(), std::vector<std::string>{"E:\\Game\\"});
}

} // namespace
