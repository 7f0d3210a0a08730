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

std::vector<std::string> HistoryFromStored(const std::vector<std::optional<std::string>>& stored)
{
    std::vector<std::string> entries;
    const size_t places = std::min(stored.size(), kHistoryEntries);
    for (size_t i = 0; i < places; ++i) {
        if (stored[i] && !stored[i]->empty())
            entries.push_back(*stored[i]);
    }
    return entries;
}

} // namespace auxiliary
