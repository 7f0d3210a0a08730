// The About window: name, version, description and web page of the program,
// and a credits area below its bottom edge that a double click on the icon
// brings into view, where the contributors' names take turns.
#pragma once

#include "FormBase.h"

#include <windows.h>

#include <string>
#include <vector>

class TAboutForm : public TDialog
{
public:
    // Sizes in 96-dpi design pixels; the window scales them by the screen's DPI.
    static constexpr int ClientWidth = 343;
    static constexpr int ClientHeight = 209;
    static constexpr int BannerWidth = 365;
    static constexpr int BannerHeight = 39;
    // The window grows until its outer height reaches this many pixels.
    static constexpr int GrownHeight = 326;
    static constexpr UINT_PTR NamesTimerId = 1;
    static constexpr UINT NamesTimerInterval = 1500; // ms
    static constexpr UINT_PTR ResizeTimerId = 2;
    static constexpr UINT ResizeTimerInterval = 10; // ms

    static constexpr const char* SiteAddress = "http://cuebinder.example.net/";
    static constexpr const char* PartnerAddress = "http://driftwave.example/";

    // Shown with ShowModal(owner) (IDOK from the OK button, IDCANCEL from
    // Escape or the close box), centred over the owner.
    TAboutForm();
    ~TAboutForm() override;

    // The names list while the window is open: the contributors sorted
    // without regard to case, then the closing line.
    const std::vector<std::string>& Names() const { return m_Names; }
    // The process-wide position in the names list (0 at program start).
    static int NameIndex();
    bool IsNamesTimerEnabled() const { return m_NamesTimer; }
    bool IsResizeTimerEnabled() const { return m_ResizeTimer; }

    // Handlers
    void FormCreate();
    void FormClose();
    void LogoIconDblClick();
    void ResizeTimerTimer();
    void NamesTimerTimer();
    void CUBDSiteLabelClick();
    void URLLabelClick();

protected:
    // The layout, texts, icon, link font and hints, then FormCreate.
    bool OnInit() override;
    // The icon's double click and the links' clicks.
    bool OnCommand(int id, int code) override;
    // OK, Escape and the close box: FormClose, then the window ends.
    void OnOK() override;
    void OnCancel() override;
    // Timers, the links' colour and their hand cursor.
    INT_PTR HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void EnableTimer(UINT_PTR id, UINT interval, bool& flag, bool enabled);

    HWND m_hTips = nullptr;
    HFONT m_hLinkFont = nullptr;
    HBITMAP m_hBanner = nullptr;
    HICON m_hIcon = nullptr;
    std::vector<std::string> m_Names;
    bool m_NamesTimer = false;
    bool m_ResizeTimer = false;
};
