#include "template_store.h"

#include "template_history.h"

#include <cstdio>
#include <optional>

namespace auxiliary {

namespace settings = dsp::settings;

namespace {

std::string HistoryName(int index)
{
    char name[32];
    std::snprintf(name, sizeof name, TemplateStore::kHistoryValue, index);
    return name;
}

} // namespace

TemplateStore::TemplateStore(HKEY root, const char* path) : root_(root), path_(path) {}

uint32_t TemplateStore::Next()
{
    const uint32_t next = settings::ReadNumber(kUniqueValue, root_, path_.c_str()) + 1;
    settings::WriteNumber(kUniqueValue, next, root_, path_.c_str());
    return next;
}

std::vector<std::string> TemplateStore::History() const
{
    std::vector<std::optional<std::string>> stored(kHistoryEntries);
    for (int i = 0; i < static_cast<int>(kHistoryEntries); ++i) {
        const std::string name = HistoryName(i);
        if (settings::ValueExists(name.c_str(), root_, path_.c_str()))
            stored[i] = settings::ReadText(name.c_str(), root_, path_.c_str());
    }
    return HistoryFromStored(stored);
}

void TemplateStore::AddToHistory(std::string_view text) const
{
    std::vector<std::string> entries = History();
    auxiliary::AddToHistory(entries, text);
    for (int i = 0; i < static_cast<int>(kHistoryEntries); ++i) {
        const std::string name = HistoryName(i);
        if (i < static_cast<int>(entries.size()))
            settings::WriteText(name.c_str(), entries[i].c_str(), root_, path_.c_str());
        else
            settings::DeleteValue(name.c_str(), root_, path_.c_str());
    }
}

} // namespace auxiliary
