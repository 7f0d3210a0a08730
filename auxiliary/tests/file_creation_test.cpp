// The "File Creation" window driven as a user drives it: typing, double
// clicks on both lists, the history drop-down, Ok and the close box.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "file_creation.h"
#include "file_creation_dialog.h"
#include "file_creation_ids.h"
#include "modal_driver.h"
#include "prompts.h"
#include "settings_store.h"
#include "template_store.h"

namespace {

namespace settings = dsp::settings;
using auxiliary::FileCreationDialog;
using auxiliary::TemplateStore;
using auxiliary::testing::ItemText;

constexpr const char* kTestBase = "Software";
constexpr const char* kTestKey = "Software\\AuxFileCreationTests";
constexpr const char* kTitle = "tVC Auxiliary Input - Set File Creation";

std::atomic<int> g_sounds{0};

// The modal driver's search looks for standard dialogs; this window has a
// class of its own.
BOOL CALLBACK FindWindowOfClass(HWND window, LPARAM lParam)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    if (std::string(name) != FileCreationDialog::kClassName || !IsWindowVisible(window))
        return TRUE;
    *reinterpret_cast<HWND*>(lParam) = window;
    return FALSE;
}

// Runs `show` on this thread and `drive` on a second one once the window is
// up; whatever is still open afterwards is cancelled.
INT_PTR Drive(const std::function<INT_PTR()>& show, const std::function<void(HWND)>& drive)
{
    const DWORD thread = GetCurrentThreadId();
    std::thread driver([&] {
        HWND window = nullptr;
        for (int waited = 0; !window && waited < 15000; waited += 20) {
            EnumThreadWindows(thread, FindWindowOfClass, reinterpret_cast<LPARAM>(&window));
            if (!window)
                Sleep(20);
        }
        if (window)
            drive(window);
        else
            ADD_FAILURE() << "the File Creation window did not appear";
        for (int round = 0; round < 50 && window && IsWindow(window); ++round) {
            PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
            Sleep(100);
        }
    });
    const INT_PTR result = show();
    driver.join();
    return result;
}

HWND Edit(HWND window)
{
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    GetComboBoxInfo(GetDlgItem(window, IDC_FC_TEMPLATE), &info);
    return info.hwndItem;
}

// Types characters one by one at the caret.
void TypeKeys(HWND window, const std::string& keys)
{
    for (char c : keys)
        SendMessageA(Edit(window), WM_CHAR, static_cast<unsigned char>(c), 1);
}

// Selects the whole text and types over it (a backspace for an empty text).
void SetTyped(HWND window, const std::string& text)
{
    SendMessageA(Edit(window), EM_SETSEL, 0, -1);
    TypeKeys(window, text.empty() ? std::string("\b") : text);
}

// What a double click on a list item leaves: the item selected and the
// list's notification sent to the window.
void DoubleClick(HWND window, int list, int index)
{
    HWND box = GetDlgItem(window, list);
    SendMessageA(box, LB_SETCURSEL, index, 0);
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(list, LBN_DBLCLK), reinterpret_cast<LPARAM>(box));
}

std::string Template(HWND window)
{
    return ItemText(window, IDC_FC_TEMPLATE);
}

std::string Example(HWND window)
{
    return ItemText(window, IDC_FC_EXAMPLE);
}

class AuxFileCreationWindow : public testing::Test
{
protected:
    void SetUp() override
    {
        settings::DeleteKeyTree(HKEY_CURRENT_USER, kTestBase, "AuxFileCreationTests");
        g_sounds = 0;
        FileCreationDialog::SetInformationSound([] { ++g_sounds; });
    }
    void TearDown() override
    {
        FileCreationDialog::SetInformationSound(nullptr);
        settings::DeleteKeyTree(HKEY_CURRENT_USER, kTestBase, "AuxFileCreationTests");
    }

    INT_PTR Show(const std::string& text, const std::function<void(HWND)>& drive)
    {
        dialog_ = std::make_unique<FileCreationDialog>(kTitle, text, store_);
        return Drive([&] { return dialog_->ShowModal(nullptr); }, drive);
    }

    static std::string Stored(int index)
    {
        const std::string name = "tVCLastFileCreation" + std::to_string(index);
        if (!settings::ValueExists(name.c_str(), HKEY_CURRENT_USER, kTestKey))
            return "<missing>";
        return settings::ReadText(name.c_str(), HKEY_CURRENT_USER, kTestKey);
    }

    TemplateStore store_{HKEY_CURRENT_USER, kTestKey};
    std::unique_ptr<FileCreationDialog> dialog_;
    dsp::ScriptedPrompts prompts_;
    dsp::PromptsScope scope_{prompts_};
};

TEST_F(AuxFileCreationWindow, EditsPicksAndInsertionsRefreshTheExampleLine)
{
    enum Action { Type, Element, Predefined };
    struct Step
    {
        Action action;
        std::string what; // typed text
        int index;        // list position
        std::string text;
        std::string example;
        uint32_t unique; // the stored counter afterwards
    };
    const std::string x255(255, 'x');
    const std::vector<Step> steps = {
        {Type, "[length]", 0, "[length]", "Example: 5.24", 0},
        {Element, "", 1, "[length][artist]", "Example: 5.24Varnette", 0},
        {Element, "", 11, "[length][artist]^", "Example: 5.24V", 0},
        {Predefined, "", 5, "[artist]\\[album]\\[track number xx] [artist] - [track]",
         "Example: Varnette\\Glasshouse\\10 Varnette - Rain", 0},
        {Type, "[Track Number XXX]", 0, "[Track Number XXX]", "Example: 010", 0},
        {Type, "[genre] [year] [unique]", 0, "[genre] [year] [unique]", "Example: Pop 1992 00000001", 1},
        {Element, "", 0, "[genre] [year] [unique][album]", "Example: Pop 1992 00000002Glasshouse", 2},
        {Predefined, "", 0, "[artist] - [track]", "Example: Varnette - Rain", 2},
        {Type, x255, 0, x255, "Example: " + x255.substr(0, 250), 2},
        {Element, "", 1, x255 + "[art", "Example: " + x255.substr(0, 250), 2},
    };
    Show("[artist] - [track]", [&](HWND window) {
        EXPECT_EQ(Template(window), "[artist] - [track]");
        EXPECT_EQ(Example(window), "Example: Varnette - Rain");
        for (const Step& s : steps) {
            SCOPED_TRACE(s.text);
            if (s.action == Type)
                SetTyped(window, s.what);
            else
                DoubleClick(window, s.action == Element ? IDC_FC_ELEMENTS : IDC_FC_PREDEFINED, s.index);
            EXPECT_EQ(Template(window), s.text);
            EXPECT_EQ(Example(window), s.example);
            EXPECT_EQ(settings::ReadNumber("Unique", HKEY_CURRENT_USER, kTestKey), s.unique);
        }
    });
    EXPECT_EQ(g_sounds, 0);
}

TEST_F(AuxFileCreationWindow, TypedCharactersThatNoNameMayHoldAreRefusedWithTheInformationSound)
{
    struct Case
    {
        std::string start;
        int caret;
        std::string keys;
        std::string text;
        int sounds;
    };
    const std::vector<Case> cases = {
        {"", 0, "[artist]?", "[artist]", 1},
        {"", 0, "a\"b*c/d:e<f>g?h|i", "abcdefghi", 8},
        {"", 0, "[artist]\\[album]", "[artist]\\[album]", 0},
        // The caret stays where the refused character was typed.
        {"ab", 1, "|Z", "aZb", 1},
    };
    Show("", [&](HWND window) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.keys);
            g_sounds = 0;
            SetTyped(window, c.start);
            SendMessageA(Edit(window), EM_SETSEL, c.caret, c.caret);
            TypeKeys(window, c.keys);
            EXPECT_EQ(Template(window), c.text);
            EXPECT_EQ(g_sounds, c.sounds);
            EXPECT_EQ(Example(window).rfind("Example: ", 0), 0u);
        }
    });
}

TEST_F(AuxFileCreationWindow, TheDropDownOffersTheHistoryAndAChosenEntryBecomesTheTemplate)
{
    struct Case
    {
        const char* name;
        std::map<int, std::string> stored;
        std::vector<std::string> offered;
        std::string secondExample; // after choosing the second entry
    };
    std::map<int, std::string> ten;
    std::vector<std::string> tenOffered;
    for (int i = 0; i < 10; ++i) {
        ten[i] = "[track] " + std::to_string(i);
        tenOffered.push_back(ten[i]);
    }
    const std::vector<Case> cases = {
        {"no history", {}, {}, ""},
        {"a missing entry is skipped and the one after it offered",
         {{0, "[artist]\\[album]"}, {1, "[track] ([year])"}, {2, "[unique]"}, {4, "[orphan]"}},
         {"[artist]\\[album]", "[track] ([year])", "[unique]", "[orphan]"},
         "Example: Rain (1992)"},
        {"an empty first entry is skipped",
         {{0, ""}, {1, "[track] ([year])"}, {3, "[artist]"}},
         {"[track] ([year])", "[artist]"},
         "Example: Varnette"},
        {"all ten", ten, tenOffered, "Example: Rain 1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        settings::DeleteKeyTree(HKEY_CURRENT_USER, kTestBase, "AuxFileCreationTests");
        for (const auto& [index, text] : c.stored)
            settings::WriteText(("tVCLastFileCreation" + std::to_string(index)).c_str(), text.c_str(),
                                HKEY_CURRENT_USER, kTestKey);
        Show("[artist] - [track]", [&](HWND window) {
            HWND combo = GetDlgItem(window, IDC_FC_TEMPLATE);
            for (int opening = 0; opening < 2; ++opening) {
                SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
                std::vector<std::string> offered;
                for (int i = 0; i < auxiliary::testing::ComboCount(window, IDC_FC_TEMPLATE); ++i)
                    offered.push_back(auxiliary::testing::ComboItemText(window, IDC_FC_TEMPLATE, i));
                EXPECT_EQ(offered, c.offered);
                EXPECT_EQ(Template(window), "[artist] - [track]");
                SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
            }
            if (c.offered.size() > 1) {
                auxiliary::testing::Choose(window, IDC_FC_TEMPLATE, 1);
                EXPECT_EQ(Template(window), c.offered[1]);
                EXPECT_EQ(Example(window),
                          "Example: " + auxiliary::ExampleLine(c.offered[1], store_).substr(9));
            }
        });
    }
}

TEST_F(AuxFileCreationWindow, OkRefusesAnArrangementThatNamesEveryTrackAlikeAndAcceptsOtherwise)
{
    settings::WriteText("tVCLastFileCreation0", "[track]", HKEY_CURRENT_USER, kTestKey);
    settings::WriteText("tVCLastFileCreation1", "[artist]", HKEY_CURRENT_USER, kTestKey);
    struct Case
    {
        std::string text;
        bool accepted;
    };
    const std::vector<Case> cases = {
        {"[genre] [year]", false},
        {"[Artist] - [TRACK]", false},
        {"[genre]^", false},
        {"[artist]", true},
    };
    const INT_PTR result = Show("", [&](HWND window) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.text);
            prompts_.Calls.clear();
            SetTyped(window, c.text);
            auxiliary::testing::Click(window, IDOK);
            if (c.accepted) {
                EXPECT_TRUE(prompts_.Calls.empty());
                continue;
            }
            ASSERT_EQ(prompts_.Calls.size(), 1u);
            EXPECT_EQ(prompts_.Calls[0].kind, "message");
            EXPECT_EQ(prompts_.Calls[0].text,
                      "Invalid Arrangement, current arrangement will create all tracks with same filename.");
            EXPECT_EQ(prompts_.Calls[0].caption, "File Arrangement");
            EXPECT_EQ(prompts_.Calls[0].type, static_cast<UINT>(MB_OK | MB_ICONERROR));
            EXPECT_EQ(prompts_.Calls[0].owner, window);
            EXPECT_TRUE(IsWindowVisible(window)) << "a refused arrangement keeps the window open";
            EXPECT_EQ(Stored(0), "[track]");
        }
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dialog_->Accepted(), "[artist]");
    // The accepted text moved from place 1 to the top.
    EXPECT_EQ(Stored(0), "[artist]");
    EXPECT_EQ(Stored(1), "[track]");
    EXPECT_EQ(Stored(2), "<missing>");
}

TEST_F(AuxFileCreationWindow, TheStoreRewritesTheHistoryAndAdvancesTheCounterInTheRegistry)
{
    using List = std::vector<std::string>;
    struct Case
    {
        const char* name;
        List stored;
        const char* added;
        List after; // values 0 to 9, "<missing>" where none
    };
    List full, fullAfter;
    for (int i = 0; i < 10; ++i)
        full.push_back("[track] " + std::to_string(i));
    fullAfter = {"[new]", full[0], full[1], full[2], full[3], full[4], full[5], full[6], full[7], full[8]};
    auto padded = [&](List l) {
        l.resize(10, "<missing>");
        return l;
    };
    const std::vector<Case> cases = {
        {"into an empty history", {}, "[artist]", padded({"[artist]"})},
        {"the eleventh falls out", full, "[new]", fullAfter},
        {"the text leaves its old place and the freed value goes",
         {"a", "c", "b", "c"},
         "c",
         padded({"c", "a", "b"})},
        {"only entries equal to the text move", {"a", "b", "a", "c"}, "c", padded({"c", "a", "b", "a"})},
        {"an empty value at the start costs nothing after it", {"", "a", "b"}, "c", padded({"c", "a", "b"})},
        {"an empty value in the middle costs nothing after it",
         {"a", "", "b", "c"},
         "[new]",
         padded({"[new]", "a", "b", "c"})},
        {"an empty value at the end is dropped", {"a", "b", ""}, "b", padded({"b", "a"})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        settings::DeleteKeyTree(HKEY_CURRENT_USER, kTestBase, "AuxFileCreationTests");
        for (size_t i = 0; i < c.stored.size(); ++i)
            settings::WriteText(("tVCLastFileCreation" + std::to_string(i)).c_str(), c.stored[i].c_str(),
                                HKEY_CURRENT_USER, kTestKey);
        store_.AddToHistory(c.added);
        List after;
        for (int i = 0; i < 10; ++i)
            after.push_back(Stored(i));
        EXPECT_EQ(after, c.after);
    }
    settings::WriteNumber("Unique", 435549, HKEY_CURRENT_USER, kTestKey);
    EXPECT_EQ(store_.Next(), 435550u);
    EXPECT_EQ(store_.Next(), 435551u);
    EXPECT_EQ(settings::ReadNumber("Unique", HKEY_CURRENT_USER, kTestKey), 435551u);
}

// EditTemplate itself uses the recorder's own key, so these tests keep the
// suite key's history and counter as they found them.
class AuxFileCreationEditTemplate : public testing::Test
{
protected:
    void SetUp() override
    {
        for (int i = 0; i < 10; ++i) {
            const std::string name = "tVCLastFileCreation" + std::to_string(i);
            if (settings::ValueExists(name.c_str(), HKEY_CURRENT_USER, settings::kSuiteKey))
                saved_[name] = settings::ReadText(name.c_str(), HKEY_CURRENT_USER, settings::kSuiteKey);
            settings::DeleteValue(name.c_str(), HKEY_CURRENT_USER, settings::kSuiteKey);
        }
        owner_ = CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr,
                                 nullptr, nullptr, nullptr);
        ASSERT_NE(owner_, nullptr);
    }
    void TearDown() override
    {
        DestroyWindow(owner_);
        for (int i = 0; i < 10; ++i) {
            const std::string name = "tVCLastFileCreation" + std::to_string(i);
            auto it = saved_.find(name);
            if (it != saved_.end())
                settings::WriteText(name.c_str(), it->second.c_str(), HKEY_CURRENT_USER, settings::kSuiteKey);
            else
                settings::DeleteValue(name.c_str(), HKEY_CURRENT_USER, settings::kSuiteKey);
        }
    }

    std::map<std::string, std::string> saved_;
    HWND owner_ = nullptr;
    dsp::ScriptedPrompts prompts_;
    dsp::PromptsScope scope_{prompts_};
};

TEST_F(AuxFileCreationEditTemplate, AModalWindowOfItsOwnClassThatGivesBackTheAcceptedText)
{
    struct Case
    {
        const char* name;
        std::function<void(HWND)> finish;
        bool accepted;
        const char* text; // the buffer afterwards
    };
    const std::vector<Case> cases = {
        {"the close box cancels", [](HWND w) { SendMessageA(w, WM_CLOSE, 0, 0); }, false,
         "[artist] - [track]"},
        {"Cancel cancels", [](HWND w) { auxiliary::testing::Click(w, IDCANCEL); }, false,
         "[artist] - [track]"},
        {"Ok accepts",
         [](HWND w) {
             SetTyped(w, "[track number xx] [track]");
             auxiliary::testing::Click(w, IDOK);
         },
         true, "[track number xx] [track]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        char text[260] = "[artist] - [track]";
        bool ownerDisabled = false;
        std::string className, caption;
        RECT rect{};
        HWND ownerSeen = nullptr;
        const INT_PTR result = Drive(
            [&] {
                return auxiliary::EditTemplate(owner_, text, "tVC Auxiliary Input - Set Playlist Creation");
            },
            [&](HWND window) {
                ownerDisabled = !IsWindowEnabled(owner_);
                char name[64] = {}, title[128] = {};
                GetClassNameA(window, name, sizeof name);
                GetWindowTextA(window, title, sizeof title);
                className = name;
                caption = title;
                GetWindowRect(window, &rect);
                ownerSeen = GetWindow(window, GW_OWNER);
                EXPECT_EQ(Template(window), "[artist] - [track]");
                c.finish(window);
            });
        EXPECT_EQ(result != 0, c.accepted);
        EXPECT_STREQ(text, c.text);
        EXPECT_EQ(className, "clsFCDialog");
        EXPECT_EQ(caption, "tVC Auxiliary Input - Set Playlist Creation");
        EXPECT_EQ(rect.right - rect.left, 440);
        EXPECT_EQ(rect.bottom - rect.top, 435);
        EXPECT_EQ(rect.left, (GetSystemMetrics(SM_CXSCREEN) - 440) / 2);
        EXPECT_EQ(ownerSeen, owner_);
        EXPECT_TRUE(ownerDisabled);
        EXPECT_TRUE(IsWindowEnabled(owner_));
        const bool stored =
            settings::ValueExists("tVCLastFileCreation0", HKEY_CURRENT_USER, settings::kSuiteKey);
        EXPECT_EQ(stored, c.accepted);
        if (stored) {
            EXPECT_EQ(settings::ReadText("tVCLastFileCreation0", HKEY_CURRENT_USER, settings::kSuiteKey),
                      c.text);
        }
    }
}

} // namespace
