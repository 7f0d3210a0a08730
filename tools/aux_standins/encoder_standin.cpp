// STAND-IN for one of the suite's encoder libraries, "Compression\<codec>.dll"
// (not shipped; the real encoders are outside this system). It offers the
// entry points of the recorder's compression settings: SetProfile notes the
// profile, ShowConfigBit puts a check box of its own into the given window,
// RemoveConfigBit takes it out again. Every call is logged (see standin_log.h).
#include <cstdint>

#include "standin_log.h"

STANDIN_DLLMAIN

namespace {
// The control the stand-in puts into the recorder's dialog.
constexpr int kOptionId = 4001;
} // namespace

extern "C" __declspec(dllexport) void __cdecl SetProfile(const char* profile)
{
    standin::Log("SetProfile %s", profile ? profile : "");
}

extern "C" __declspec(dllexport) void __cdecl ShowConfigBit(HWND parent)
{
    standin::Log("ShowConfigBit %llx", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(parent)));
    HWND option =
        CreateWindowExA(0, "BUTTON", "Stand-in encoder: high quality",
                        WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 16, 40, 240, 20, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kOptionId)), standin::g_module, nullptr);
    if (option)
        SendMessageA(option, WM_SETFONT, SendMessageA(parent, WM_GETFONT, 0, 0), TRUE);
}

extern "C" __declspec(dllexport) void __cdecl RemoveConfigBit(HWND parent)
{
    standin::Log("RemoveConfigBit %llx",
                 static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(parent)));
    if (HWND option = GetDlgItem(parent, kOptionId))
        DestroyWindow(option);
}
