// The recorder's dialogs: one small base class around the dialog procedure.
//
// A dialog is made from a template resource. The static procedure stores
// `this` once, when WM_INITDIALOG brings it in lParam, and forwards every
// later message to the virtual handlers; it clears the slot again when the
// window goes away. Every exception a handler lets out is caught at that one
// boundary: the dialog then ends with kFailed and its handlers receive nothing
// more, so no half-handled state stays on screen and nothing escapes into the
// window system.
//
//   class MyDialog : public auxiliary::Dialog {
//   public:
//       MyDialog() : Dialog(IDD_MY) {}
//   protected:
//       bool OnInit() override { SetText(IDC_NAME, "x"); return true; }
//       bool OnCommand(int id, int code) override {
//           if (id == IDOK) { End(IDOK); return true; }
//           return Dialog::OnCommand(id, code);
//       }
//   };
//   MyDialog d; INT_PTR r = d.ShowModal(owner);
//
// Each dialog declares its control identifiers once, in a header that both its
// .rc file and its .cpp file include.
#pragma once

#include <windows.h>

#include <string>

namespace auxiliary {

class Dialog
{
public:
    // The result of ShowModal when the dialog could not be made, or when a
    // handler threw and the dialog was ended because of it.
    static constexpr INT_PTR kFailed = -1;

    // `instance` holds the template (nullptr: the program's own module).
    explicit Dialog(int templateId, HINSTANCE instance = nullptr);
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Runs the dialog modally, owned by `owner`, and returns the value given
    // to End (kFailed as above).
    INT_PTR ShowModal(HWND owner);
    // Ends a modal dialog with `result` (ShowModal returns it).
    void End(INT_PTR result);

    // The dialog's window while it exists, else nullptr.
    HWND Handle() const { return window_; }
    HWND Item(int id) const;

    // Small control helpers. Text reads at most 259 characters.
    void SetText(int id, const char* text) const;
    std::string Text(int id) const;
    void SetCheck(int id, bool checked) const;
    bool Checked(int id) const;
    void Enable(int id, bool enabled) const;

protected:
    // WM_INITDIALOG. Return true to let the system set the focus. The
    // notifications that filling the controls causes here (EN_CHANGE, ...)
    // do not reach OnCommand.
    virtual bool OnInit();
    // WM_COMMAND from control `id` with notification `code`. Return true when
    // handled. The default ends the dialog with IDCANCEL on IDCANCEL (Escape)
    // and returns false for everything else.
    virtual bool OnCommand(int id, int code);
    // WM_NOTIFY; the result is the message's result (DWLP_MSGRESULT).
    virtual LRESULT OnNotify(NMHDR* header);
    // WM_CLOSE (the title bar's close box, Alt+F4). The default ends the dialog with IDCANCEL.
    virtual void OnClose();
    // WM_HELP (F1). The default does nothing.
    virtual void OnHelp();
    // Any other message; set `handled` to give the result back to the system.
    virtual INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);

private:
    static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    int templateId_;
    HINSTANCE instance_;
    HWND window_ = nullptr;
    bool failed_ = false;
    bool initialising_ = false;
};

} // namespace auxiliary
