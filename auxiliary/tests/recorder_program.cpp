#include "recorder_program.h"

#include "modal_driver.h"
#include "recorder_settings.h"
#include "settings_store.h"
#include "standin_files.h"
#include "temp_file.h"
#include "testing/plugin_under_test.h"

namespace auxiliary::testing {

namespace {

namespace keys = auxiliary::settings;
namespace store = dsp::settings;

constexpr const char* kMainTitle = "Tonvask Recaster - Auxiliary Input";
const char* const kPlacement[] = {keys::kWindowX, keys::kWindowY, keys::kWindowW, keys::kWindowH};

bool CopyFolderFiles(const std::string& from, const std::string& to)
{
    dsp::CreateAllDirectories(to.c_str());
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA((from + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    bool ok = true;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            ok &= CopyFileA((from + found.cFileName).c_str(), (to + found.cFileName).c_str(), FALSE) != FALSE;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return ok;
}

void ClearStoredValues()
{
    for (const char* name : kPlacement)
        store::DeleteValue(name, HKEY_CURRENT_USER, keys::kSuiteKey);
    for (const char* name : {keys::kCodec, keys::kLastCodec, keys::kUnique})
        store::DeleteValue(name, HKEY_CURRENT_USER, keys::kSuiteKey);
    store::DeleteKeyTree(HKEY_CURRENT_USER, keys::kSuiteKey, "Auxiliary");
    store::DeleteKeyTree(HKEY_CURRENT_USER, keys::kSuiteKey,
                         (std::string("tVCCodec\\") + kStandInCodec).c_str());
}

} // namespace

bool WaitFor(const std::function<bool()>& condition, int ms)
{
    for (int waited = 0; waited <= ms; waited += 25) {
        if (condition())
            return true;
        Sleep(25);
    }
    return false;
}

std::string WindowText(HWND window)
{
    char text[260] = {};
    DWORD_PTR length = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                        5000, &length);
    return text;
}

bool Answers(HWND window)
{
    DWORD_PTR result = 0;
    return IsWindow(window) &&
           SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &result) != 0;
}

RecorderProgram::RecorderProgram(unsigned parts)
    : root_(dsp::testing::ScratchDir(CB_TEST_TMP)), folder_(root_ + "Tonvask\\")
{
    const std::string dist = std::string(CB_DIST_DIR) + "\\";
    dsp::CreateAllDirectories((folder_ + "Multiplayer\\Input").c_str());
    CopyFileA((dist + "Auxiliary.exe").c_str(), (folder_ + "Auxiliary.exe").c_str(), FALSE);
    if (parts & kSkin) {
        CopyFolderFiles(dist + "Compression\\skin\\", folder_ + "Compression\\skin\\");
        CopyFolderFiles(dist + "Help\\", folder_ + "help\\");
    }
    if (parts & kConverter)
        CopyStandIn("RecasterStandin.exe", folder_ + "Recaster.exe");
    if (parts & kCodecs) {
        dsp::CreateAllDirectories((folder_ + "Compression").c_str());
        CopyStandIn("StandInEncoder.dll", folder_ + "Compression\\" + kStandInCodec + ".dll");
        CopyStandIn("StandInDecoder.dll", folder_ + "Multiplayer\\Input\\StandInDecoder.dll");
    }
    StoreSettings();
}

RecorderProgram::RecorderProgram(const std::string& preparedFolder) : folder_(preparedFolder)
{
    const size_t slash = folder_.find_last_of('\\', folder_.size() - 2);
    root_ = folder_.substr(0, slash + 1);
    StoreSettings();
}

void RecorderProgram::StoreSettings() const
{
    ClearStoredValues();
    store::WriteText(keys::kCodec, kStandInCodec, HKEY_CURRENT_USER, keys::kSuiteKey);
    store::WriteText(keys::kOutputFolder, Output().c_str(), HKEY_CURRENT_USER,
                     keys::CodecKey(kStandInCodec).c_str());
    const uint32_t placement[] = {10, 10, 900, 600};
    for (int i = 0; i < 4; ++i)
        store::WriteNumber(kPlacement[i], placement[i], HKEY_CURRENT_USER, keys::kSuiteKey);
}

RecorderProgram::~RecorderProgram()
{
    if (process_.hProcess) {
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_.hProcess, 99);
            WaitForSingleObject(process_.hProcess, 10000);
        }
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    ClearStoredValues();
}

HWND RecorderProgram::Start()
{
    std::string line = "\"" + folder_ + "Auxiliary.exe\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process_))
        return nullptr;
    main_ = WaitForDialog(kMainTitle);
    return main_;
}

HWND RecorderProgram::WaitForDialog(const char* title, int ms) const
{
    return testing::WaitForDialog(process_.dwThreadId, title, ms);
}

void RecorderProgram::Click(int buttonId, bool right) const
{
    HWND button = GetDlgItem(main_, buttonId);
    PostMessageA(button, right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, right ? MK_RBUTTON : MK_LBUTTON,
                 MAKELPARAM(4, 4));
    PostMessageA(button, right ? WM_RBUTTONUP : WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
}

long RecorderProgram::WaitForExit(DWORD ms) const
{
    return process_.hProcess ? ExitCodeWithin(process_.hProcess, ms) : -1;
}

long RecorderProgram::Close(DWORD ms) const
{
    PostMessageA(main_, WM_CLOSE, 0, 0);
    return WaitForExit(ms);
}

} // namespace auxiliary::testing
