// The "File Creation" window behind EditTemplate (file_creation.h), open for
// tests that drive it with a store of their own.
#pragma once

#include <windows.h>

#include "dialog_base.h"
#include "template_store.h"

#include <string>

namespace auxiliary {

class FileCreationDialog final : public Dialog
{
public:
    static constexpr const char* kClassName = "clsFCDialog";
    static constexpr int kWidth = 440;
    static constexpr int kHeight = 435;

    // `text` is the display-form template the window starts from.
    FileCreationDialog(std::string title, std::string text, TemplateStore& store);
    ~FileCreationDialog() override;

    // The display form the user accepted with Ok (empty until then).
    const std::string& Accepted() const { return accepted_; }

    // The information sound played when typed characters are refused:
    // MessageBeep(MB_ICONASTERISK) unless a test puts another in (nullptr
    // puts it back).
    static void SetInformationSound(void (*play)());

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code) override;

private:
    void Layout();
    void SetTemplate(const std::string& text, size_t caret);
    void UpdateExample(const std::string& text);
    void TemplateEdited();
    void FillHistory();
    void HistoryChosen();
    void ListPicked(int id);
    void Accept();

    std::string title_;
    std::string text_;
    std::string accepted_;
    TemplateStore& store_;
    HFONT font_ = nullptr;
};

} // namespace auxiliary
