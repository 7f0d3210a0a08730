// The bases of the selector's windows and dialogs.
//
// TWindow owns one window of a class it registers once. Its procedure stores
// `this` at WM_NCCREATE, hands every message to HandleMessage and forgets the
// window at WM_NCDESTROY (Handle() is null from then on). TDialog does the
// same for a dialog made from a resource or from a template built in memory
// (TDialogTemplate), from WM_INITDIALOG on, and runs it modally (ShowModal
// returns what End was given) or modeless (Show; End destroys the window).
//
// One rule at the callback boundary of both: nothing thrown by a handler
// leaves the procedure. It is caught, written to the event log as
// "Failure in <class>::WndProc(): <text>" (DialogProc for dialogs), and the
// message gets a safe answer (0 for a window, FALSE for a dialog). A handler
// that wants the player to see an error catches it itself and says so.
//
// A dialog declares its control identifiers once: a dialog from Cuebinder.rc
// in its own header beside its unit (the unit's stem and "res.h", e.g.
// Optionsres.h, included by the .rc and the unit), a dialog built in memory
// in an enum of its class (TScriptForm). Its class derives from TDialog,
// passes its name and resource id (or template) to the constructor,
// overrides OnInit, OnCommand, OnNotify, OnOK and OnCancel as it needs, and
// is shown with ShowModal(owner) or Show(owner). The program's message loop
// calls TDialog::PreTranslate so modeless dialogs get their keys.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

class TWindow
{
public:
    virtual ~TWindow();
    TWindow(const TWindow&) = delete;
    TWindow& operator=(const TWindow&) = delete;

    HWND Handle() const { return m_hWnd; }
    // The class name given at construction, as the log lines show it.
    const char* Name() const { return m_Name; }

protected:
    // `name`: the window class and the C++ class (e.g. "TMainForm").
    explicit TWindow(const char* name) : m_Name(name) {}

    // Registers the class `m_Name` of `instance` with this base's procedure
    // the first time, then creates the window. `wc` supplies the icons,
    // cursor and background; its procedure, instance and name are ours.
    bool CreateHandle(HINSTANCE instance, WNDCLASSEXA wc, DWORD exStyle, const char* title, DWORD style,
                      int x, int y, int width, int height, HWND parent, HMENU menu);
    // Detaches and destroys the window now (no handler sees its last messages).
    // Derived destructors call it before they free what the window draws with.
    void DestroyHandle();

    // Every message from WM_NCCREATE to WM_NCDESTROY; the default is DefWindowProcA.
    virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

    const char* m_Name;
    HWND m_hWnd = nullptr;
};

// A dialog template written in memory, for dialogs that need no resource.
class TDialogTemplate
{
public:
    // Predefined control classes.
    enum : WORD { Button = 0x80, Edit = 0x81, Static = 0x82, ListBox = 0x83, ComboBox = 0x85 };

    TDialogTemplate() = default;
    // DS_SETFONT is added to `style`; cx and cy are placeholders (dialog units)
    // for dialogs that place themselves in OnInit.
    TDialogTemplate(DWORD style, const char* title, WORD pointSize, const char* font, short cx = 100,
                    short cy = 100);
    // One control; WS_CHILD | WS_VISIBLE are added. Position in dialog units.
    void Item(WORD classAtom, int id, DWORD style, const char* text, short x = 0, short y = 0, short cx = 10,
              short cy = 10);
    const DLGTEMPLATE* Get() const;

private:
    void Append(const void* p, std::size_t n);
    void Word(WORD w);
    void Text(const char* s);
    void Align();

    std::vector<DWORD> m_Data; // DWORD-aligned for the dialog manager
    std::size_t m_Size = 0;    // bytes used
};

class TDialog
{
public:
    virtual ~TDialog();
    TDialog(const TDialog&) = delete;
    TDialog& operator=(const TDialog&) = delete;

    // Runs the dialog over `owner` until End; returns End's result (IDCANCEL
    // when Escape, Cancel or the close box ended it), -1 when it cannot be made.
    INT_PTR ShowModal(HWND owner);
    // Creates and shows the dialog without a loop of its own; End destroys it.
    bool Show(HWND owner);
    // Ends the dialog with `result` (ModalResult from then on).
    void End(INT_PTR result);

    // For a message loop: gives Tab, Enter and Escape of an open modeless
    // dialog to the dialog manager. True when the message was used up.
    static bool PreTranslate(MSG& msg);

    HWND Handle() const { return m_hWnd; }
    HWND Owner() const { return m_Owner; }
    // 0 while open; the result given to End once ended.
    INT_PTR ModalResult() const { return m_ModalResult; }
    const char* Name() const { return m_Name; }

protected:
    // A dialog from the resource `resourceId` of `instance` (nullptr: the program).
    TDialog(const char* name, int resourceId, HINSTANCE instance = nullptr);
    // A dialog from a template built in memory (kept for every showing).
    TDialog(const char* name, TDialogTemplate dialogTemplate);

    // WM_INITDIALOG, before the dialog is centred on its owner (on the work
    // area without one). True lets the system focus the first tab stop.
    virtual bool OnInit() { return true; }
    // WM_COMMAND from a control, a menu or the dialog manager: Enter arrives
    // as IDOK and Escape as IDCANCEL. The default hands those two to OnOK and
    // OnCancel. True when handled.
    virtual bool OnCommand(int id, int code);
    // WM_NOTIFY; `result` becomes the message's answer. True when handled.
    virtual bool OnNotify(const NMHDR& header, LRESULT& result);
    // Enter, the default button: End(IDOK).
    virtual void OnOK() { End(IDOK); }
    // Escape, Cancel and the close box: End(IDCANCEL).
    virtual void OnCancel() { End(IDCANCEL); }
    // Every other message; answers as a dialog procedure does (FALSE: not handled).
    virtual INT_PTR HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

    // Places the window over the middle of its owner (or of the work area).
    void CenterOnOwner();
    HWND Item(int id) const { return GetDlgItem(m_hWnd, id); }
    std::string ItemText(int id) const;

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    INT_PTR Dispatch(UINT msg, WPARAM wp, LPARAM lp);
    HINSTANCE Instance() const;

    const char* m_Name;
    int m_ResourceId = 0;
    HINSTANCE m_Instance = nullptr;
    TDialogTemplate m_Template;
    bool m_FromTemplate = false;
    HWND m_hWnd = nullptr;
    HWND m_Owner = nullptr;
    bool m_Modal = false;
    INT_PTR m_ModalResult = 0;
};
