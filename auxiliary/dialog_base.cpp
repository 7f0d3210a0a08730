#include "dialog_base.h"

namespace auxiliary {

Dialog::Dialog(int templateId, HINSTANCE instance)
    : templateId_(templateId), instance_(instance ? instance : GetModuleHandleA(nullptr))
{}

Dialog::~Dialog()
{
    // A dialog object never outlives its window: ShowModal returns only
    // after the window is gone. Clear the slot all the same, in case.
    if (window_)
        SetWindowLongPtrA(window_, DWLP_USER, 0);
}

INT_PTR Dialog::ShowModal(HWND owner)
{
    failed_ = false;
    const INT_PTR result = DialogBoxParamA(instance_, MAKEINTRESOURCEA(templateId_), owner,
                                           &Dialog::Procedure, reinterpret_cast<LPARAM>(this));
    window_ = nullptr;
    return result;
}

void Dialog::End(INT_PTR result)
{
    if (window_)
        EndDialog(window_, result);
}

HWND Dialog::Item(int id) const
{
    return window_ ? GetDlgItem(window_, id) : nullptr;
}

void Dialog::SetText(int id, const char* text) const
{
    SetDlgItemTextA(window_, id, text ? text : "");
}

std::string Dialog::Text(int id) const
{
    char buffer[260] = {};
    GetDlgItemTextA(window_, id, buffer, sizeof buffer);
    return buffer;
}

void Dialog::SetCheck(int id, bool checked) const
{
    CheckDlgButton(window_, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool Dialog::Checked(int id) const
{
    return IsDlgButtonChecked(window_, id) == BST_CHECKED;
}

void Dialog::Enable(int id, bool enabled) const
{
    if (HWND item = Item(id))
        EnableWindow(item, enabled ? TRUE : FALSE);
}

bool Dialog::OnInit()
{
    return true;
}

bool Dialog::OnCommand(int id, int code)
{
    if (id == IDCANCEL) {
        End(IDCANCEL);
        return true;
    }
    return false;
}

LRESULT Dialog::OnNotify(NMHDR*)
{
    return 0;
}

void Dialog::OnClose()
{
    End(IDCANCEL);
}

void Dialog::OnHelp() {}

INT_PTR Dialog::OnMessage(UINT, WPARAM, LPARAM, bool&)
{
    return 0;
}

INT_PTR Dialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: {
        initialising_ = true;
        bool focus = false;
        try {
            focus = OnInit();
        } catch (...) {
            initialising_ = false;
            throw;
        }
        initialising_ = false;
        return focus ? TRUE : FALSE;
    }
    case WM_COMMAND:
        // Filling the controls in OnInit makes them notify (EN_CHANGE, ...);
        // those are not the user's doing.
        if (initialising_)
            return FALSE;
        return OnCommand(LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
    case WM_NOTIFY:
        SetWindowLongPtrA(window_, DWLP_MSGRESULT, OnNotify(reinterpret_cast<NMHDR*>(lParam)));
        return TRUE;
    case WM_CLOSE:
        OnClose();
        return TRUE;
    case WM_HELP:
        OnHelp();
        return TRUE;
    default: {
        bool handled = false;
        const INT_PTR result = OnMessage(message, wParam, lParam, handled);
        return handled ? result : FALSE;
    }
    }
}

INT_PTR CALLBACK Dialog::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Dialog* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lParam);
        if (!self)
            return FALSE;
        self->window_ = window;
        SetWindowLongPtrA(window, DWLP_USER, lParam);
    } else {
        self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(window, DWLP_USER));
    }
    // Messages sent before WM_INITDIALOG (WM_SETFONT, ...) find no object.
    if (!self)
        return FALSE;
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, DWLP_USER, 0);
        self->window_ = nullptr;
        return FALSE;
    }
    // After a handler threw, the ending dialog is left to the system.
    if (self->failed_)
        return FALSE;
    try {
        return self->Dispatch(message, wParam, lParam);
    } catch (...) {
        // One policy for every handler: the dialog ends, its caller sees kFailed.
        self->failed_ = true;
        EndDialog(window, kFailed);
        return TRUE;
    }
}

} // namespace auxiliary
