// Message boxes and file and folder dialogs go through TPrompts, so that tests
// can answer them from a script and check exactly what was asked.
#pragma once

#include <windows.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

class TPrompts
{
public:
    virtual ~TPrompts();
    // MessageBoxA: returns the button pressed (IDOK, IDYES, ...).
    virtual int Message(HWND owner, const std::string& text, const std::string& caption, UINT type) = 0;
    // GetOpenFileNameA / GetSaveFileNameA. `filter` is written with "|" between
    // its parts ("CUBD Scripts|*.qbl|All Files|*.*"). `fileName` holds the
    // initial name on entry and the chosen one when the result is true.
    // The open dialog accepts only existing files in existing folders and hides
    // the read-only box; the save dialog asks before overwriting and adds
    // `defExt` to a name without extension. Both can be resized.
    virtual bool OpenFile(HWND owner, std::string& fileName, const char* filter, const char* title,
                          const char* defExt) = 0;
    virtual bool SaveFile(HWND owner, std::string& fileName, const char* filter, const char* title,
                          const char* defExt) = 0;
    // SHBrowseForFolderA over the whole shell namespace, file-system folders
    // only, nothing preselected. `folder` receives the chosen path as the
    // system gives it (no separator added).
    virtual bool BrowseFolder(HWND owner, std::string& folder, const char* title) = 0;
};

// The process-wide instance: the real one unless a test installed another.
TPrompts& Prompts();
// Installs `p` (not owned) as the process-wide instance; nullptr restores the real one.
void SetPrompts(TPrompts* p);

// The real prompts, calling the system's dialogs.
class TSystemPrompts : public TPrompts
{
public:
    int Message(HWND owner, const std::string& text, const std::string& caption, UINT type) override;
    bool OpenFile(HWND owner, std::string& fileName, const char* filter, const char* title,
                  const char* defExt) override;
    bool SaveFile(HWND owner, std::string& fileName, const char* filter, const char* title,
                  const char* defExt) override;
    bool BrowseFolder(HWND owner, std::string& folder, const char* title) override;
};

// One question asked through TScriptedPrompts.
struct TPromptCall
{
    enum Kind { Message, OpenFile, SaveFile, BrowseFolder };
    Kind kind = Message;
    HWND owner = nullptr;
    std::string text;    // Message: the text; OpenFile/SaveFile: the initial file name
    std::string caption; // Message: the caption; dialogs: the title
    UINT type = 0;       // Message: the MB_* flags
    std::string filter;  // OpenFile/SaveFile
    std::string defExt;  // OpenFile/SaveFile
};

// Test double: answers from queues filled by the test and records every call.
// An unanswered message box returns DefaultMessageAnswer; an unanswered
// dialog is cancelled. Unanswered counts the calls that found their queue empty.
class TScriptedPrompts : public TPrompts
{
public:
    std::vector<TPromptCall> Calls;
    std::deque<int> MessageAnswers;                       // popped by Message
    std::deque<std::optional<std::string>> FileAnswers;   // popped by OpenFile and SaveFile; nullopt cancels
    std::deque<std::optional<std::string>> FolderAnswers; // popped by BrowseFolder; nullopt cancels
    int DefaultMessageAnswer = IDOK;
    int Unanswered = 0;

    // Number of recorded calls of one kind.
    int Count(TPromptCall::Kind kind) const;

    int Message(HWND owner, const std::string& text, const std::string& caption, UINT type) override;
    bool OpenFile(HWND owner, std::string& fileName, const char* filter, const char* title,
                  const char* defExt) override;
    bool SaveFile(HWND owner, std::string& fileName, const char* filter, const char* title,
                  const char* defExt) override;
    bool BrowseFolder(HWND owner, std::string& folder, const char* title) override;

private:
    bool FileDialog(TPromptCall::Kind kind, HWND owner, std::string& fileName, const char* filter,
                    const char* title, const char* defExt);
};

// Installs a double for the lifetime of a scope and restores the real prompts after.
class TPromptsScope
{
public:
    explicit TPromptsScope(TPrompts& p) { SetPrompts(&p); }
    ~TPromptsScope() { SetPrompts(nullptr); }
    TPromptsScope(const TPromptsScope&) = delete;
    TPromptsScope& operator=(const TPromptsScope&) = delete;
};
