#include "prompts.h"

#include <shlobj.h>

#include <cstring>

namespace dsp {

namespace {
SystemPrompts g_system;
Prompts* g_current = nullptr;
} // namespace

Prompts& CurrentPrompts()
{
    return g_current ? *g_current : g_system;
}

void SetPrompts(Prompts* prompts)
{
    g_current = prompts;
}

bool Prompts::BrowseFolder(HWND owner, const char* title, UINT flags, char* folder)
{
    // Resolved at run time, so the plug-ins, which never browse for folders,
    // do not import the shell.
    using BrowseFn = LPITEMIDLIST(WINAPI*)(LPBROWSEINFOA);
    using PathFn = BOOL(WINAPI*)(LPCITEMIDLIST, LPSTR);
    using FreeFn = void(WINAPI*)(LPVOID);
    if (!folder)
        return false;
    folder[0] = '\0';
    HMODULE shell = LoadLibraryA("shell32.dll");
    HMODULE ole = LoadLibraryA("ole32.dll");
    auto browse = shell ? reinterpret_cast<BrowseFn>(GetProcAddress(shell, "SHBrowseForFolderA")) : nullptr;
    auto path = shell ? reinterpret_cast<PathFn>(GetProcAddress(shell, "SHGetPathFromIDListA")) : nullptr;
    auto release = ole ? reinterpret_cast<FreeFn>(GetProcAddress(ole, "CoTaskMemFree")) : nullptr;
    bool chosen = false;
    if (browse && path && release) {
        char display[MAX_PATH] = {};
        BROWSEINFOA info{};
        info.hwndOwner = owner;
        info.pszDisplayName = display;
        info.lpszTitle = title;
        info.ulFlags = flags;
        if (LPITEMIDLIST list = browse(&info)) {
            chosen = true;
            if (!path(list, folder))
                folder[0] = '\0';
            release(list);
        }
    }
    if (ole)
        FreeLibrary(ole);
    if (shell)
        FreeLibrary(shell);
    return chosen;
}

int SystemPrompts::Message(HWND owner, const char* text, const char* caption, UINT flags)
{
    return MessageBoxA(owner, text, caption, flags);
}

bool SystemPrompts::OpenFileName(OPENFILENAMEA* request)
{
    return GetOpenFileNameA(request) != FALSE;
}

bool SystemPrompts::SaveFileName(OPENFILENAMEA* request)
{
    return GetSaveFileNameA(request) != FALSE;
}

int ScriptedPrompts::Message(HWND owner, const char* text, const char* caption, UINT flags)
{
    asked.push_back({"message", text ? text : "", caption ? caption : "", flags, owner});
    if (messageAnswers.empty())
        return IDOK;
    const int answer = messageAnswers.front();
    messageAnswers.pop_front();
    return answer;
}

bool ScriptedPrompts::AnswerFile(const char* kind, OPENFILENAMEA* request)
{
    asked.push_back({kind, request && request->lpstrTitle ? request->lpstrTitle : "", "", 0,
                     request ? request->hwndOwner : nullptr});
    if (fileAnswers.empty() || !request || !request->lpstrFile || request->nMaxFile == 0)
        return false;
    const std::string answer = fileAnswers.front();
    fileAnswers.pop_front();
    if (answer.empty())
        return false;
    const size_t n = answer.size() < request->nMaxFile - 1 ? answer.size() : request->nMaxFile - 1;
    std::memcpy(request->lpstrFile, answer.data(), n);
    request->lpstrFile[n] = '\0';
    return true;
}

bool ScriptedPrompts::BrowseFolder(HWND owner, const char* title, UINT flags, char* folder)
{
    asked.push_back({"folder", title ? title : "", "", flags, owner});
    if (folderAnswers.empty() || !folder)
        return false;
    const std::optional<std::string> answer = folderAnswers.front();
    folderAnswers.pop_front();
    if (!answer)
        return false;
    const size_t n = answer->size() < MAX_PATH - 1 ? answer->size() : MAX_PATH - 1;
    std::memcpy(folder, answer->data(), n);
    folder[n] = '\0';
    return true;
}

bool ScriptedPrompts::OpenFileName(OPENFILENAMEA* request)
{
    return AnswerFile("open", request);
}

bool ScriptedPrompts::SaveFileName(OPENFILENAMEA* request)
{
    return AnswerFile("save", request);
}

PromptsScope::PromptsScope(Prompts& prompts) : previous_(g_current)
{
    g_current = &prompts;
}

PromptsScope::~PromptsScope()
{
    g_current = previous_;
}

} // namespace dsp
