// The list of the last accepted templates, newest first, shared by every
// template field of the recorder.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace auxiliary {

constexpr size_t kHistoryEntries = 10;

// Puts an accepted template at the top: every entry equal to it (exactly,
// case included) leaves its place first, and what falls below the tenth place
// is dropped. Entries are kept to 259 characters like every template.
void AddToHistory(std::vector<std::string>& entries, std::string_view text);

// The history as it was stored: one slot per stored place, newest first,
// std::nullopt where a place holds no value. Missing and empty places are
// skipped and the entries after them move up in their order, so a gap never
// costs the entries behind it; at most kHistoryEntries slots are read.
std::vector<std::string> HistoryFromStored(const std::vector<std::optional<std::string>>& stored);

} // namespace auxiliary
