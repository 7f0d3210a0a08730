// The Add/Edit sound dialog: a WAV file name and a keyboard shortcut.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

class TGenericForm
{
public:
    static constexpr int ClientWidth = 267;
    static constexpr int ClientHeight = 165;
    static constexpr const char* WavFilter = "WAV Files|*.wav|All Files|*.*";

    explicit TGenericForm(HWND owner);
    ~TGenericForm();
    TGenericForm(const TGenericForm&) = delete;
    TGenericForm& operator=(const TGenericForm&) = delete;

    // Set before showing; after OK they hold what the dialog showed when it
    // closed (the Filename box as typed, the Shortcut control's code).
    std::string Caption;
    std::string Filename;
    std::uint16_t ShortCut = 0;

    // IDOK when closed with OK, IDCANCEL for Cancel, Escape or the close box.
    int ShowModal();

    HWND Handle() const { return m_hWnd; }

    // Handlers
    void BrowseButtonClick();

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    bool OnInit();
    bool OnCommand(int id, int code);
    void ReadControls();
    void CloseWith(int result);

    HWND m_Owner;
    HWND m_hWnd = nullptr;
};
