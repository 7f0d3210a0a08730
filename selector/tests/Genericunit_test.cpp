// The Add/Edit dialog shown modally and driven from inside its message loop:
// what it shows, what it hands back, Browse, the shortcut control's rules,
// and the ways it closes.
#include "DialogDriver.h"
#include "Genericres.h"
#include "Genericunit.h"
#include "Prompts.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

namespace {

using testfiles::DialogDriver;
using testfiles::ItemText;

WORD HotKeyValue(HWND dialog)
{
    return static_cast<WORD>(SendDlgItemMessageA(dialog, IDC_GENERIC_SHORTCUT, HKM_GETHOTKEY, 0, 0));
}

// Sends the keys a user presses in the shortcut control (down, then up in reverse).
void PressKeys(HWND dialog, std::initializer_list<UINT> keys)
{
    HWND control = GetDlgItem(dialog, IDC_GENERIC_SHORTCUT);
    SetFocus(control);
    for (UINT vk : keys)
        SendMessageA(control, WM_KEYDOWN, vk, 0);
    for (auto it = std::rbegin(keys); it != std::rend(keys); ++it)
        SendMessageA(control, WM_KEYUP, *it, static_cast<LPARAM>(0xC0000000));
}

class GenericForm : public ::testing::Test
{
protected:
    void SetUp() override
    {
        owner_ = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 80, 600, 400,
                                 nullptr, nullptr, nullptr, nullptr);
    }
    void TearDown() override
    {
        EXPECT_TRUE(driver_.Missed.empty()) << driver_.Missed.front();
        DestroyWindow(owner_);
    }
    HWND owner_ = nullptr;
    TScriptedPrompts prompts_;
    TPromptsScope scope_{prompts_};
    DialogDriver driver_;
};

TEST_F(GenericForm, ShowsTheEntryAndHandsBackWhatOKFound)
{
    TGenericForm form;
    form.Caption = "Edit Sound";
    form.Filename = "C:\\sounds\\hello.wav";
    form.ShortCut = 0x6000 | VK_F5; // Shift+Ctrl+F5
    bool seen = false;
    driver_.When("Edit Sound", [&](HWND dialog) {
        seen = true;
        EXPECT_EQ(dialog, form.Handle());
        EXPECT_EQ(ItemText(dialog, IDC_GENERIC_FILENAME), "C:\\sounds\\hello.wav");
        EXPECT_EQ(HotKeyValue(dialog), MAKEWORD(VK_F5, HOTKEYF_SHIFT | HOTKEYF_CONTROL));
        // client area 267 by 165, centred over the owner, no maximise or minimise box
        RECT client, frame, owner;
        GetClientRect(dialog, &client);
        EXPECT_EQ(client.right, 267);
        EXPECT_EQ(client.bottom, 165);
        GetWindowRect(dialog, &frame);
        GetWindowRect(owner_, &owner);
        EXPECT_LE(std::abs((frame.left + frame.right) - (owner.left + owner.right)), 1);
        EXPECT_LE(std::abs((frame.top + frame.bottom) - (owner.top + owner.bottom)), 1);
        const LONG_PTR style = GetWindowLongPtrA(dialog, GWL_STYLE);
        EXPECT_EQ(style & (WS_MAXIMIZEBOX | WS_MINIMIZEBOX | WS_THICKFRAME), 0);
        // tab order: Filename, Shortcut, Browse, OK, Cancel
        const int order[] = {IDC_GENERIC_FILENAME, IDC_GENERIC_SHORTCUT, IDC_GENERIC_BROWSE, IDOK, IDCANCEL};
        HWND at = GetDlgItem(dialog, order[0]);
        for (int id : order) {
            EXPECT_EQ(GetDlgCtrlID(at), id);
            at = GetNextDlgTabItem(dialog, at, FALSE);
        }
        // a new name and a new shortcut, then OK
        SetDlgItemTextA(dialog, IDC_GENERIC_FILENAME, "  D:\\other.WAV");
        PressKeys(dialog, {VK_MENU, VK_SHIFT, 'K'});
        DialogDriver::Click(dialog, IDOK);
    });
    EXPECT_EQ(form.ShowModal(owner_), IDOK);
    EXPECT_TRUE(seen);
    EXPECT_EQ(form.Filename, "  D:\\other.WAV"); // as typed
    EXPECT_EQ(form.ShortCut, 0xA000 | 'K');      // Shift+Alt+K
}

TEST_F(GenericForm, EveryWayOutButOKCancelsAndKeepsTheValues)
{
    struct Case
    {
        const char* name;
        std::function<void(HWND)> close;
    };
    const Case cases[] = {
        {"Cancel button", [](HWND d) { DialogDriver::Click(d, IDCANCEL); }},
        {"Escape in the file name box",
         [](HWND d) { PostMessageA(GetDlgItem(d, IDC_GENERIC_FILENAME), WM_KEYDOWN, VK_ESCAPE, 0); }},
        {"Escape in the shortcut control",
         [](HWND d) { PostMessageA(GetDlgItem(d, IDC_GENERIC_SHORTCUT), WM_KEYDOWN, VK_ESCAPE, 0); }},
        {"the close box", [](HWND d) { PostMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TGenericForm form;
        form.Caption = "Add Sound";
        form.Filename = "kept.wav";
        form.ShortCut = 0x4000 | 'A';
        driver_.When("Add Sound", [&](HWND dialog) {
            SetDlgItemTextA(dialog, IDC_GENERIC_FILENAME, "changed.wav");
            PressKeys(dialog, {VK_CONTROL, 'B'});
            c.close(dialog);
        });
        EXPECT_EQ(form.ShowModal(owner_), IDCANCEL);
        EXPECT_EQ(form.Filename, "kept.wav");
        EXPECT_EQ(form.ShortCut, 0x4000 | 'A');
    }
}

TEST_F(GenericForm, TheShortcutControlRefusesAKeyWithoutModifier)
{
    TGenericForm form;
    form.Caption = "Add Sound";
    driver_.When("Add Sound", [&](HWND dialog) {
        EXPECT_EQ(HotKeyValue(dialog), 0); // empty at start
        PressKeys(dialog, {'Q'});
        EXPECT_EQ(HotKeyValue(dialog), 0);
        PressKeys(dialog, {VK_CONTROL, VK_F2});
        EXPECT_EQ(HotKeyValue(dialog), MAKEWORD(VK_F2, HOTKEYF_CONTROL));
        PressKeys(dialog, {VK_F3}); // a bare key after a valid one: no shortcut at all
        EXPECT_EQ(HotKeyValue(dialog), 0);
        DialogDriver::Click(dialog, IDOK);
    });
    EXPECT_EQ(form.ShowModal(owner_), IDOK);
    EXPECT_EQ(form.ShortCut, 0);
    EXPECT_EQ(form.Filename, "");
}

TEST_F(GenericForm, BrowsePutsTheChosenPathIntoTheBox)
{
    TGenericForm form;
    form.Caption = "Add Sound";
    form.Filename = "typed.wav";
    prompts_.FileAnswers.push_back(std::nullopt);
    prompts_.FileAnswers.push_back(std::string("C:\\picked\\boom.wav"));
    driver_.When("Add Sound", [&](HWND dialog) {
        DialogDriver::Click(dialog, IDC_GENERIC_BROWSE);
        EXPECT_EQ(ItemText(dialog, IDC_GENERIC_FILENAME), "typed.wav"); // cancelled: unchanged
        DialogDriver::Click(dialog, IDC_GENERIC_BROWSE);
        EXPECT_EQ(ItemText(dialog, IDC_GENERIC_FILENAME), "C:\\picked\\boom.wav");
        DialogDriver::Click(dialog, IDOK);
    });
    EXPECT_EQ(form.ShowModal(owner_), IDOK);
    EXPECT_EQ(form.Filename, "C:\\picked\\boom.wav");
    ASSERT_EQ(prompts_.Calls.size(), 2u);
    for (const TPromptCall& call : prompts_.Calls) {
        EXPECT_EQ(call.kind, TPromptCall::OpenFile);
        EXPECT_EQ(call.filter, "WAV Files|*.wav|All Files|*.*");
    }
}

} // namespace
