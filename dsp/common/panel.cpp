#include "panel.h"

#include "core/panel_number.h"
#include "plugin.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <utility>

// The framework's globals live here so every user of the library links them.
namespace plugin {
HINSTANCE g_instance = nullptr;
HWND g_panel = nullptr;
bool g_filling = false;
} // namespace plugin

namespace dsp {

void SetDlgNumber(HWND dialog, int id, long value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
    SetDlgItemTextA(dialog, id, text);
}

long ParseDecimal(const char* text)
{
    if (!text || !*text)
        return 0;
    const char* p = text;
    if (*p == '-' || *p == '+')
        ++p;
    if (*p < '0' || *p > '9')
        return 0;
    for (const char* q = p; *q; ++q)
        if (*q < '0' || *q > '9')
            return 0;
    errno = 0;
    const long long v = std::strtoll(text, nullptr, 10);
    if (errno == ERANGE || v > INT_MAX || v < INT_MIN)
        return 0;
    return static_cast<long>(v);
}

long GetDlgNumber(HWND dialog, int id)
{
    return ParseDecimal(FieldText(dialog, id).c_str());
}

void SetCheck(HWND dialog, int id, bool checked)
{
    SendDlgItemMessageA(dialog, id, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool GetCheck(HWND dialog, int id)
{
    return SendDlgItemMessageA(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void EnableControl(HWND dialog, int id, bool enabled)
{
    EnableWindow(GetDlgItem(dialog, id), enabled ? TRUE : FALSE);
}

std::string FieldText(HWND dialog, int id)
{
    char text[MAX_PATH] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

void CheckedFields::Remember(HWND dialog, int id)
{
    valid_[id] = FieldText(dialog, id);
}

CheckedFields::Entry CheckedFields::Check(HWND dialog, int id, bool fits)
{
    if (puttingBack_)
        return Entry::kRefused;
    std::string& valid = valid_[id];
    if (fits) {
        std::string text = FieldText(dialog, id);
        if (text == valid)
            return Entry::kSame;
        valid = std::move(text);
        return Entry::kNew;
    }
    // The edit reports the text put back as a change; that notice finds
    // puttingBack_ set. Notices of the refused entry that are still to come
    // report the text put back, which is the same as before.
    puttingBack_ = true;
    SetDlgItemTextA(dialog, id, valid.c_str());
    puttingBack_ = false;
    return Entry::kRefused;
}

CheckedFields::Entry CheckedFields::CheckWhole(HWND dialog, int id, int64_t min, int64_t max)
{
    return Check(dialog, id, WholeNumberTextFits(FieldText(dialog, id).c_str(), min, max));
}

FillingGuard::FillingGuard()
{
    plugin::g_filling = true;
}

FillingGuard::~FillingGuard()
{
    plugin::g_filling = false;
}

} // namespace dsp
