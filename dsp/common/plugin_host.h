// What a program that hosts plug-ins needs (the converter's part, played by
// dsphost and by the tests): the library with its three exports, and a
// window that holds a settings panel.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "plugin.h"

namespace dsp {

// A plug-in library loaded from a path, with its three exports.
class LoadedPlugin
{
public:
    explicit LoadedPlugin(std::string path);
    ~LoadedPlugin();
    LoadedPlugin(const LoadedPlugin&) = delete;
    LoadedPlugin& operator=(const LoadedPlugin&) = delete;

    // Loads the library (again, after Unload) and looks up the exports.
    void Load();
    void Unload();

    // True when the library is loaded and has all three exports.
    bool Complete() const { return module_ && work && show && remove; }
    // Why the plug-in cannot be used; empty when it is complete.
    const std::string& Problem() const { return problem_; }
    HMODULE Module() const { return module_; }
    const std::string& Path() const { return path_; }

    DSPWorkOnThisFileFn work = nullptr;
    ShowDSPSettingsFn show = nullptr;
    RemoveDSPSettingsFn remove = nullptr;

private:
    std::string path_;
    HMODULE module_ = nullptr;
    std::string problem_;
};

// The text of the calling thread's last error, without the line end.
std::string LastErrorText();

// A top-level window that holds a plug-in's panel. The panel places itself
// at 20, 208 in its parent (below the converter's own controls); the parent
// handed to ShowDSPSettings is therefore a canvas inside this frame, shifted
// up so that the panel shows 20 pixels from the frame's top left and the
// frame can be sized to the panel alone.
class PanelHostWindow
{
public:
    // Sees every message of the frame first; true when it handled one (the
    // result is then `*result`). WM_SIZE is always passed on as well.
    using Handler = std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT* result)>;

    PanelHostWindow(const char* className, const std::string& title, bool visible, Handler handler = {});
    ~PanelHostWindow();
    PanelHostWindow(const PanelHostWindow&) = delete;
    PanelHostWindow& operator=(const PanelHostWindow&) = delete;

    HWND Frame() const { return frame_; }
    // The window to hand to ShowDSPSettings.
    HWND Parent() const { return canvas_; }
    // The panel shown in the canvas, or null.
    HWND Panel() const;
    // Sizes the frame so that the whole panel shows with a 20-pixel margin.
    void FitToPanel();

private:
    static LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void PlaceCanvas();

    Handler handler_;
    HWND frame_ = nullptr;
    HWND canvas_ = nullptr;
};

} // namespace dsp
