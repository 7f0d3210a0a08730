// The main window's bitmap buttons. Each is an owner-drawn static child window
// sized to its bitmap and drawn in one of three forms: normal, hover ("-m")
// and pressed ("-d"). A press with either mouse button captures the mouse and
// shows the pressed form; the action runs when the button is released while
// the cursor is still over it.
//
// Two threads of their own serve all buttons of the process:
//  - the hover thread, started with the first button, looks every 250 ms which
//    button lies under the cursor and redraws those whose hover state changed,
//    so a highlight clears when the cursor leaves; the button list and the
//    hover states are guarded by one unnamed mutex shared with the window's
//    thread;
//  - the tooltip thread, started with the first tooltip, checks the cursor
//    every 50 ms, shows a button's tip once the cursor has rested over it for
//    more than 1000 ms and hides it when the cursor moves on; its list of tips
//    is guarded by a second unnamed mutex.
// Both threads run until the program ends.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace auxiliary {

// What a button shows when its bitmap cannot be used (missing, truncated,
// not a bitmap): a plain push-button face of the skin's usual size for that
// button, with its caption as text, or a small arrow pointing down.
struct DefaultFace
{
    const char* caption = "";
    int width = 0, height = 0;
    bool arrow = false;
};

class SkinButton
{
public:
    // Loads `bitmapPath` and its hover and pressed forms; each form with a
    // mask beside it is combined once with the piece of `backdrop` under the
    // button ((backdrop AND mask) OR image). A normal form that cannot be
    // used gives the button `face` instead, so it can still be seen and
    // clicked; a hover or pressed form that cannot be used shows the normal
    // form. `tooltip` may be empty; an empty `rightClick` runs `leftClick`
    // for the right button too. `x` and `y` are in pixels of the parent's
    // client area; `id` is the window's control identifier.
    static SkinButton* Create(HWND parent, int id, int x, int y, const std::string& bitmapPath, HDC backdrop,
                              const DefaultFace& face, const std::string& tooltip,
                              std::function<void()> leftClick, std::function<void()> rightClick = {});

    // Two linked buttons show each other highlighted while one is hovered or pressed.
    static void Link(SkinButton* a, SkinButton* b);

    // The button drawn by a WM_DRAWITEM of its parent, or nullptr.
    static SkinButton* FromWindow(HWND window);
    void Draw(const DRAWITEMSTRUCT& item);

    HWND Handle() const { return window_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    enum class Form { Normal, Hover, Pressed };
    // The form it shows now.
    Form CurrentForm() const;
    // True when it shows its default face instead of its bitmaps.
    bool ShowsDefaultFace() const { return !forms_[0]; }

private:
    SkinButton() = default;
    ~SkinButton();
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void SetPressed(bool pressed);
    void Redraw();
    void DrawDefaultFace(HDC dc, Form form) const;
    bool CursorInside() const;

    HWND window_ = nullptr;
    WNDPROC staticProcedure_ = nullptr;
    HBITMAP forms_[3] = {};
    DefaultFace face_;
    int width_ = 0, height_ = 0;
    std::function<void()> leftClick_, rightClick_;
    SkinButton* linked_ = nullptr;
    int captured_ = 0; // 0, or the mouse button (1 left, 2 right) that holds the capture
    // Guarded by the hover mutex.
    bool hover_ = false;
    bool pressed_ = false;

    friend struct SkinButtonThreads;
};

} // namespace auxiliary
