#include "Prompts.h"

#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>
#include <vector>

TPrompts::~TPrompts() = default;

namespace {

TPrompts* g_installed = nullptr;

// "Name|*.x|All|*.*" -> "Name\0*.x\0All\0*.*\0\0"
std::vector<char> FilterBuffer(const char* filter)
{
    std::vector<char> buf;
    if (filter)
        for (const char* p = filter; *p; ++p)
            buf.push_back(*p == '|' ? '\0' : *p);
    buf.push_back('\0');
    buf.push_back('\0');
    return buf;
}

bool RunFileDialog(bool save, HWND owner, std::string& fileName, const char* filter, const char* title,
                   const char* defExt)
{
    std::vector<char> name(32768, '\0');
    fileName.copy(name.data(), std::min(fileName.size(), name.size() - 1));
    std::vector<char> filters = FilterBuffer(filter);

    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filters.data();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = name.data();
    ofn.nMaxFile = static_cast<DWORD>(name.size());
    ofn.lpstrTitle = (title && *title) ? title : nullptr;
    ofn.lpstrDefExt = (defExt && *defExt) ? defExt : nullptr;
    ofn.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
    BOOL ok;
    if (save) {
        ofn.Flags |= OFN_OVERWRITEPROMPT;
        ok = GetSaveFileNameA(&ofn);
    } else {
        ofn.Flags |= OFN_FILEMUSTEXIST;
        ok = GetOpenFileNameA(&ofn);
    }
    if (!ok)
        return false;
    fileName = name.data();
    return true;
}

} // namespace

TPrompts& Prompts()
{
    static TSystemPrompts real;
    return g_installed ? *g_installed : real;
}

void SetPrompts(TPrompts* p)
{
    g_installed = p;
}

int TSystemPrompts::Message(HWND owner, const std::string& text, const std::string& caption, UINT type)
{
    return MessageBoxA(owner, text.c_str(), caption.c_str(), type);
}

bool TSystemPrompts::OpenFile(HWND owner, std::string& fileName, const char* filter, const char* title,
                              const char* defExt)
{
    return RunFileDialog(false, owner, fileName, filter, title, defExt);
}

bool TSystemPrompts::SaveFile(HWND owner, std::string& fileName, const char* filter, const char* title,
                              const char* defExt)
{
    return RunFileDialog(true, owner, fileName, filter, title, defExt);
}

bool TSystemPrompts::BrowseFolder(HWND owner, std::string& folder, const char* title)
{
    HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    char display[MAX_PATH] = {};
    BROWSEINFOA bi{};
    bi.hwndOwner = owner;
    bi.pidlRoot = nullptr; // the desktop: the whole namespace
    bi.pszDisplayName = display;
    bi.lpszTitle = title;
    bi.ulFlags = BIF_RETURNONLYFSDIRS;
    PIDLIST_ABSOLUTE pidl = SHBrowseForFolderA(&bi);
    bool chosen = false;
    if (pidl) {
        char path[MAX_PATH] = {};
        if (SHGetPathFromIDListA(pidl, path)) {
            folder = path;
            chosen = true;
        }
        CoTaskMemFree(pidl);
    }
    if (SUCCEEDED(com))
        CoUninitialize();
    return chosen;
}

int TScriptedPrompts::Count(TPromptCall::Kind kind) const
{
    int n = 0;
    for (const auto& c : Calls)
        if (c.kind == kind)
            ++n;
    return n;
}

int TScriptedPrompts::Message(HWND owner, const std::string& text, const std::string& caption, UINT type)
{
    TPromptCall call;
    call.kind = TPromptCall::Message;
    call.owner = owner;
    call.text = text;
    call.caption = caption;
    call.type = type;
    Calls.push_back(call);
    if (MessageAnswers.empty()) {
        ++Unanswered;
        return DefaultMessageAnswer;
    }
    int answer = MessageAnswers.front();
    MessageAnswers.pop_front();
    return answer;
}

bool TScriptedPrompts::FileDialog(TPromptCall::Kind kind, HWND owner, std::string& fileName,
                                  const char* filter, const char* title, const char* defExt)
{
    TPromptCall call;
    call.kind = kind;
    call.owner = owner;
    call.text = fileName;
    call.caption = title ? title : "";
    call.filter = filter ? filter : "";
    call.defExt = defExt ? defExt : "";
    Calls.push_back(call);
    if (FileAnswers.empty()) {
        ++Unanswered;
        return false;
    }
    std::optional<std::string> answer = FileAnswers.front();
    FileAnswers.pop_front();
    if (!answer)
        return false;
    fileName = *answer;
    return true;
}

bool TScriptedPrompts::OpenFile(HWND owner, std::string& fileName, const char* filter, const char* title,
                                const char* defExt)
{
    return FileDialog(TPromptCall::OpenFile, owner, fileName, filter, title, defExt);
}

bool TScriptedPrompts::SaveFile(HWND owner, std::string& fileName, const char* filter, const char* title,
                                const char* defExt)
{
    return FileDialog(TPromptCall::SaveFile, owner, fileName, filter, title, defExt);
}

bool TScriptedPrompts::BrowseFolder(HWND owner, std::string& folder, const char* title)
{
    TPromptCall call;
    call.kind = TPromptCall::BrowseFolder;
    call.owner = owner;
    call.caption = title ? title : "";
    Calls.push_back(call);
    if (FolderAnswers.empty()) {
        ++Unanswered;
        return false;
    }
    std::optional<std::string> answer = FolderAnswers.front();
    FolderAnswers.pop_front();
    if (!answer)
        return false;
    folder = *answer;
    return true;
}
