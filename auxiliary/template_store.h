// Where the file-name templates keep what outlives one editing: the unique
// counter (DWORD "Unique") and the history of accepted templates (strings
// "tVCLastFileCreation0" to "tVCLastFileCreation9", newest first). The
// recorder keeps both directly under the suite key; tests point a store at a
// key of their own.
#pragma once

#include <windows.h>

#include "file_template.h"
#include "settings_store.h"

#include <string>
#include <string_view>
#include <vector>

namespace auxiliary {

class TemplateStore final : public UniqueSource
{
public:
    static constexpr const char* kUniqueValue = "Unique";
    static constexpr const char* kHistoryValue = "tVCLastFileCreation%d";

    explicit TemplateStore(HKEY root = HKEY_CURRENT_USER, const char* path = dsp::settings::kSuiteKey);

    // Reads the counter (0 when missing), adds one, stores and returns it.
    uint32_t Next() override;

    // The stored history in its order, missing or empty values skipped.
    std::vector<std::string> History() const;
    // Puts an accepted template at the top of the history and rewrites it
    // from value 0 on, without gaps; values past its end are deleted.
    void AddToHistory(std::string_view text) const;

private:
    HKEY root_;
    std::string path_;
};

} // namespace auxiliary
