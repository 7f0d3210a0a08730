// The "File Creation" window (window class "clsFCDialog"): edits a file-name
// template in its display form ("[artist] - [track]").
#pragma once

#include <windows.h>

namespace auxiliary {

// Shows the window modally to `owner` with the caption `title`, starting
// from `templ`. `templ` is a 260-byte buffer (259 characters and the
// terminator) holding a display-form template; when the user accepts, it
// receives the accepted display form and the result is true. When the user
// cancels, `templ` is left as it was and the result is false.
bool EditTemplate(HWND owner, char* templ, const char* title);

} // namespace auxiliary
