#include "template_history.h"

#include "file_template.h"

#include <algorithm>

namespace auxiliary {

void AddToHistory(std::vector<std::string>& entries, std::string_view text)
{
    const std::string entry(text.substr(0, kTemplateLength));
    std::erase(entries, entry);
    entries.insert(entries.begin(), entry);
    if (entries.size() > kHistoryEntries)
        entries.resize(kHistoryEntries);
}

} // namespace auxiliary
