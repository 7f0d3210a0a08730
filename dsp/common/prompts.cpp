#include "prompts.h"

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
    Calls.push_back({"message", text ? text : "", caption ? caption : "", flags, owner});
    if (MessageAnswers.empty())
        return IDOK;
    const int answer = MessageAnswers.front();
    MessageAnswers.pop_front();
    return answer;
}

bool ScriptedPrompts::AnswerFile(const char* kind, OPENFILENAMEA* request)
{
    Calls.push_back({kind, request && request->lpstrTitle ? request->lpstrTitle : "", "", 0,
                     request ? request->hwndOwner : nullptr});
    if (FileAnswers.empty() || !request || !request->lpstrFile || request->nMaxFile == 0)
        return false;
    const std::string answer = FileAnswers.front();
    FileAnswers.pop_front();
    if (answer.empty())
        return false;
    const size_t n = answer.size() < request->nMaxFile - 1 ? answer.size() : request->nMaxFile - 1;
    std::memcpy(request->lpstrFile, answer.data(), n);
    request->lpstrFile[n] = '\0';
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
