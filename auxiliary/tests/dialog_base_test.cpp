// The dialog base driven as a user would drive a dialog: every way a dialog
// ends, what reaches the handlers, and the exception policy.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "dialog_base.h"
#include "modal_driver.h"
#include "probe_dialog_ids.h"

namespace {

using auxiliary::testing::RunModal;

class ProbeDialog : public auxiliary::Dialog
{
public:
    explicit ProbeDialog(int templateId = IDD_PROBE) : Dialog(templateId) {}
    std::vector<std::string> log;
    bool throwInInit = false;
    bool slotHeldThis = true;
    bool handleMatched = true;

protected:
    bool OnInit() override
    {
        Note("init");
        if (throwInInit)
            throw std::runtime_error("init failed");
        SetText(IDC_PROBE_EDIT, "filled");
        return true;
    }
    bool OnCommand(int id, int code) override
    {
        // Of the edit's notifications only the change is of interest here.
        if (id != IDC_PROBE_EDIT || code == EN_CHANGE)
            Note("command " + std::to_string(id) + " " + std::to_string(code));
        if (id == IDOK) {
            End(7);
            return true;
        }
        if (id == IDC_PROBE_THROW)
            throw std::runtime_error("command failed");
        return Dialog::OnCommand(id, code);
    }
    void OnClose() override
    {
        Note("close");
        Dialog::OnClose();
    }
    void OnHelp() override { Note("help"); }

private:
    void Note(const std::string& what)
    {
        log.push_back(what);
        slotHeldThis =
            slotHeldThis && GetWindowLongPtrA(Handle(), DWLP_USER) == reinterpret_cast<LONG_PTR>(this);
        handleMatched = handleMatched && Handle() != nullptr && IsWindow(Handle());
    }
};

struct EndCase
{
    const char* name;
    void (*act)(HWND);
    INT_PTR result;
    std::vector<std::string> log;
};

TEST(RecorderDialogBase, EachWayOfEndingGivesItsResultAndReachesTheHandlersInOrder)
{
    const std::string change = std::to_string(EN_CHANGE);
    const std::vector<EndCase> cases = {
        {"OK ends with the value given to End",
         [](HWND d) { auxiliary::testing::Click(d, IDOK); },
         7,
         {"init", "command 1 0"}},
        {"Escape cancels",
         [](HWND d) { SendMessageA(d, WM_COMMAND, IDCANCEL, 0); },
         IDCANCEL,
         {"init", "command 2 0"}},
        {"the close box goes through OnClose",
         [](HWND d) { SendMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0); },
         IDCANCEL,
         {"init", "close"}},
        {"typing reaches OnCommand with its notification code, F1 reaches OnHelp",
         [](HWND d) {
             auxiliary::testing::Type(d, IDC_PROBE_EDIT, "typed");
             HELPINFO help{};
             help.cbSize = sizeof help;
             SendMessageA(d, WM_HELP, 0, reinterpret_cast<LPARAM>(&help));
             auxiliary::testing::Click(d, IDC_PROBE_BUTTON);
             auxiliary::testing::Click(d, IDOK);
         },
         7,
         {"init", "command 901 " + change, "help", "command 902 0", "command 1 0"}},
        {"a handler that throws ends the dialog with kFailed",
         [](HWND d) { auxiliary::testing::Click(d, IDC_PROBE_THROW); },
         auxiliary::Dialog::kFailed,
         {"init", "command 903 0"}},
    };
    for (const EndCase& c : cases) {
        SCOPED_TRACE(c.name);
        ProbeDialog dialog;
        std::string shownText;
        bool found = false;
        const INT_PTR result = RunModal([&] { return dialog.ShowModal(nullptr); }, "Dialog base probe",
                                        [&](HWND d) {
                                            shownText = auxiliary::testing::ItemText(d, IDC_PROBE_EDIT);
                                            c.act(d);
                                        },
                                        &found);
        EXPECT_TRUE(found);
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(dialog.log, c.log);
        EXPECT_EQ(shownText, "filled");
        EXPECT_TRUE(dialog.slotHeldThis);
        EXPECT_TRUE(dialog.handleMatched);
        EXPECT_EQ(dialog.Handle(), nullptr);
    }
}

TEST(RecorderDialogBase, AFailedStartIsReportedAsKFailedWithoutShowingAnything)
{
    ProbeDialog throwing;
    throwing.throwInInit = true;
    EXPECT_EQ(throwing.ShowModal(nullptr), auxiliary::Dialog::kFailed);
    EXPECT_EQ(throwing.log, std::vector<std::string>{"init"});

    ProbeDialog missing(4242); // no such template
    EXPECT_EQ(missing.ShowModal(nullptr), auxiliary::Dialog::kFailed);
    EXPECT_TRUE(missing.log.empty());
}

} // namespace
