// Every message box and file dialog of the library and the panels goes
// through one small interface, so tests can answer them from a script and
// check exactly what was asked.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace dsp {

class Prompts
{
public:
    virtual ~Prompts() = default;
    // Like MessageBoxA: returns the button pressed (IDOK, IDYES, ...).
    virtual int Message(HWND owner, const char* text, const char* caption, UINT flags) = 0;
    // Like GetOpenFileNameA / GetSaveFileNameA.
    virtual bool OpenFileName(OPENFILENAMEA* request) = 0;
    virtual bool SaveFileName(OPENFILENAMEA* request) = 0;
    // Like SHBrowseForFolderA with `flags` (BIF_...) and the title `title`:
    // true when a folder was chosen; `folder` (MAX_PATH bytes) then holds its
    // path, which may be empty when the choice has no file-system path.
    // The system's browser is loaded only when a program asks for it.
    virtual bool BrowseFolder(HWND owner, const char* title, UINT flags, char* folder);
};

// The prompts in use: the real dialogs unless a test installed others.
Prompts& CurrentPrompts();
// Installs prompts for this process (nullptr puts the real ones back).
void SetPrompts(Prompts* prompts);

// The real implementation: MessageBoxA, GetOpenFileNameA, GetSaveFileNameA.
class SystemPrompts final : public Prompts
{
public:
    int Message(HWND owner, const char* text, const char* caption, UINT flags) override;
    bool OpenFileName(OPENFILENAMEA* request) override;
    bool SaveFileName(OPENFILENAMEA* request) override;
};

// The test double: records every question and answers from a script.
class ScriptedPrompts final : public Prompts
{
public:
    struct PromptCall
    {
        std::string kind;    // "message", "open", "save" or "folder"
        std::string text;    // message text, or the dialog's title
        std::string caption; // message caption
        UINT type = 0;       // message flags (icon and buttons), or the folder browser's flags
        HWND owner = nullptr;
    };

    // Answers given to messages in order; when the script runs out, IDOK.
    std::deque<int> MessageAnswers;
    // File names given to file dialogs in order; an empty string cancels. When
    // the script runs out the dialog is cancelled.
    std::deque<std::string> FileAnswers;
    // Folders given to folder browsers in order; nullopt cancels, "" is a
    // choice without a path. When the script runs out the browser is cancelled.
    std::deque<std::optional<std::string>> FolderAnswers;
    std::vector<PromptCall> Calls;

    int Message(HWND owner, const char* text, const char* caption, UINT flags) override;
    bool OpenFileName(OPENFILENAMEA* request) override;
    bool SaveFileName(OPENFILENAMEA* request) override;
    bool BrowseFolder(HWND owner, const char* title, UINT flags, char* folder) override;

private:
    bool AnswerFile(const char* kind, OPENFILENAMEA* request);
};

// Installs prompts for a scope and restores the previous ones afterwards.
class PromptsScope
{
public:
    explicit PromptsScope(Prompts& prompts);
    ~PromptsScope();
    PromptsScope(const PromptsScope&) = delete;
    PromptsScope& operator=(const PromptsScope&) = delete;

private:
    Prompts* previous_;
};

} // namespace dsp
