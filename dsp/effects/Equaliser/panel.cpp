// The equaliser's settings panel: 18 vertical band sliders (up is boost),
// position files, reset and presets. Every change is stored at once.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include <cstring>
#include <string>

#include "panel_ids.h"
#include "equaliser_settings.h"
#include "panel.h"
#include "plugin.h"
#include "prompts.h"

using equaliser::g_positions;

namespace {

HWND Slider(HWND dialog, int band)
{
    return GetDlgItem(dialog, IDC_BAND_FIRST + band);
}

// Sliders run from -200 at the top to 200 at the bottom, so they show minus
// the position. The panel works on local copies of the positions: the
// globals are re-read from the store whenever a thread attaches.
void MoveSliders(HWND dialog, const eq::Positions& positions)
{
    dsp::FillingGuard filling;
    for (int band = 0; band < eq::kBands; ++band) {
        SendMessageA(Slider(dialog, band), TBM_SETPOS, TRUE, -positions[band]);
    }
}

void ReadSlidersAndStore(HWND dialog)
{
    eq::Positions positions{};
    for (int band = 0; band < eq::kBands; ++band) {
        const LRESULT shown = SendMessageA(Slider(dialog, band), TBM_GETPOS, 0, 0);
        positions[band] = eq::ClampPosition(-static_cast<int64_t>(static_cast<int>(shown)));
    }
    equaliser::StoreAllPositions(positions);
}

void Repaint(HWND dialog)
{
    InvalidateRect(dialog, nullptr, TRUE);
}

void OnInit(HWND dialog)
{
    const eq::Positions positions = g_positions;
    dsp::FillingGuard filling;
    for (int band = 0; band < eq::kBands; ++band) {
        HWND slider = Slider(dialog, band);
        SendMessageA(slider, TBM_SETRANGEMIN, FALSE, eq::kMinPosition);
        SendMessageA(slider, TBM_SETRANGEMAX, FALSE, eq::kMaxPosition);
        // Some track bars place the thumb anew only when the position
        // changes: move it to the top first, so a new range shows at once.
        SendMessageA(slider, TBM_SETPOS, TRUE, eq::kMinPosition);
        SendMessageA(slider, TBM_SETPOS, TRUE, -positions[band]);
    }
}

void OnReset(HWND dialog)
{
    {
        dsp::FillingGuard filling;
        for (int band = 0; band < eq::kBands; ++band)
            SendMessageA(Slider(dialog, band), TBM_SETPOS, TRUE, 0);
    }
    ReadSlidersAndStore(dialog);
}

void OnPresetButton(HWND dialog)
{
    HMENU menu = LoadMenuA(plugin::g_instance, MAKEINTRESOURCEA(IDM_EQUALISER_PRESETS));
    if (menu == nullptr)
        return;
    POINT at{};
    GetCursorPos(&at);
    // The chosen item comes back as a command message to the panel.
    TrackPopupMenu(GetSubMenu(menu, 0), TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, dialog, nullptr);
    DestroyMenu(menu);
    Repaint(dialog);
}

void OnPreset(HWND dialog, const eq::Preset& preset)
{
    MoveSliders(dialog, preset.positions);
    ReadSlidersAndStore(dialog);
}

// A file dialog request owned by the panel, filling `name` (MAX_PATH bytes).
OPENFILENAMEA FileRequest(HWND dialog, char* name, const char* filter, const char* title)
{
    OPENFILENAMEA request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = dialog;
    request.hInstance = plugin::g_instance;
    request.lpstrFilter = filter;
    request.lpstrFile = name;
    request.nMaxFile = MAX_PATH;
    request.lpstrTitle = title;
    return request;
}

void OnLoad(HWND dialog)
{
    char name[MAX_PATH] = "";
    OPENFILENAMEA request =
        FileRequest(dialog, name, "Tonvask Graphic Equalizer\0;*.deq\0WinAmp EQF\0*.eqf\0",
                    "Load Graphic Equalizer Positions");
    request.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    if (!dsp::CurrentPrompts().OpenFileName(&request))
        return;
    eq::Positions loaded = g_positions;
    if (equaliser::LoadPositionFile(name, loaded)) {
        MoveSliders(dialog, loaded);
        ReadSlidersAndStore(dialog);
    }
    Repaint(dialog);
}

void OnSave(HWND dialog)
{
    char name[MAX_PATH] = "";
    OPENFILENAMEA request =
        FileRequest(dialog, name, "Tonvask Graphic Equalizer\0;*.deq\0", "Save Graphic Equalizer Positions");
    // The dialog adds the extension itself, so its overwrite question is
    // asked about the file that is really written.
    request.lpstrDefExt = "deq";
    request.Flags = OFN_OVERWRITEPROMPT;
    if (!dsp::CurrentPrompts().SaveFileName(&request))
        return;
    // A 260-character path at most: a longer one is cut.
    std::string path = eq::WithDeqExtension(name);
    if (path.size() > MAX_PATH - 1)
        path.resize(MAX_PATH - 1);
    const eq::Positions positions = g_positions;
    equaliser::SavePositionFile(path.c_str(), positions);
    Repaint(dialog);
}

} // namespace

namespace plugin {

INT_PTR CALLBACK PanelProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        OnInit(dialog);
        return 0;
    case WM_VSCROLL:
        if (!g_filling)
            ReadSlidersAndStore(dialog);
        return 0;
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        switch (id) {
        case IDC_LOAD:
            OnLoad(dialog);
            break;
        case IDC_SAVE:
            OnSave(dialog);
            break;
        case IDC_RESET:
            OnReset(dialog);
            break;
        case IDC_PRESET:
            OnPresetButton(dialog);
            break;
        default:
            if (const eq::Preset* preset = eq::PresetForCommand(id))
                OnPreset(dialog, *preset);
            break;
        }
        return 1;
    }
    default:
        return 0;
    }
}

} // namespace plugin
