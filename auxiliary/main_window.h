// The recorder's main window, "Tonvask Recaster - Auxiliary Input": the track
// list with its check boxes, names and smart track lengths, the album fields,
// the skinned header with its bitmap buttons, the record menu, and the
// hand-off of a recording to StartRecording on the window's 250 ms timer.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "dialog_base.h"
#include "main_window_core.h"
#include "main_window_ids.h"
#include "stored_settings.h"
#include "recording.h"
#include "skin.h"

namespace auxiliary {

class SkinButton;

class MainWindow : public Dialog
{
public:
    struct Setup
    {
        std::string programFolder; // with its trailing backslash
        LabelColours colours;      // from the colours file
    };
    explicit MainWindow(Setup setup);
    ~MainWindow() override;

    // The window's data as a recording takes it.
    RecordingRequest Request() const;
    const std::string& Codec() const { return codec_; }
    const AddOnSettings& AddOn() const { return addOn_; }

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code) override;
    LRESULT OnNotify(NMHDR* header) override;
    void OnClose() override;
    void OnHelp() override;
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

private:
    HWND List() const;

    // Window set-up steps.
    void RestorePlacement();
    void PlaceHeaderControls();
    void CreateButtons();
    void FillLists();
    void AddCustomGenresFromFile();

    // Track list.
    void BuildTrackList(int count);
    int TrackCount() const;
    bool IsChecked(int item) const;
    void SetChecked(int item, bool checked);
    std::string ItemText(int item, int column) const;
    void SetItemText(int item, int column, const std::string& text);
    int FirstSelected() const;
    void RefreshStatus();
    void FillSmartLengthEdits(int item);
    void SmartLengthEdited();
    void NextTrack();
    void StartLabelEdit(int item);
    void CheckCommand(int id);
    void ConvertThisTrackOnly();
    void ShowListMenu();

    // Record menu and buttons.
    void ShowRecordMenu();
    void OpenOptions();
    void OpenBoostkitOptions();
    void OpenCompressionSettings();
    void OpenHelpFile();

    // Timer and recording.
    void Tick();
    void Record(bool useLastSettings);
    void AddCustomGenre();

    // Skin and layout.
    void Layout();
    void PaintBackground(HDC dc);
    HBRUSH StaticBrush(HDC dc, HWND control);

    int X(int a) const { return ScaleX(a, dpi_); }
    int Y(int b) const { return ScaleY(b, dpi_); }

    Setup setup_;
    int dpi_ = 96;
    std::string codec_;
    char outputFolder_[260] = {};
    AddOnSettings addOn_;
    int trackCount_ = 0;
    int pendingLabelEdit_ = -1;
    bool recordPending_ = false;
    bool recordWithOptionsPending_ = false;
    bool recording_ = false;
    bool closeRequested_ = false; // a close asked for while recording
    bool fillingEdits_ = false;
    bool spreadingChecks_ = false;
    Backdrop backdrop_;
    HFONT labelFont_ = nullptr;
    HBRUSH backdropBrush_ = nullptr;
    SkinButton* menuButton_ = nullptr;
    std::vector<std::string> codecs_; // the "Record To" items of the open menu
};

// The "Record To" items: the file names without ".dll" of every "*.dll" in
// `encoderFolder` (ending in a backslash), in the order found.
std::vector<std::string> FindCodecs(const std::string& encoderFolder);
// Fills `recordTo` with `codecs` numbered from ID_RECORD_TO_FIRST, checks the
// one equal to `current` (ignoring case) and removes the placeholder item.
void FillRecordToMenu(HMENU recordTo, const std::vector<std::string>& codecs, const std::string& current);

} // namespace auxiliary
