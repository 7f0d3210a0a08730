#include "core/FinderNames.h"

namespace cb {

std::vector<std::string> DriveRootsInOrder(std::uint32_t mask)
{
    std::vector<std::string> roots;
    for (int index = 0; index < 26; ++index)
        if (mask & (std::uint32_t{1} << index))
            roots.push_back(std::string(1, static_cast<char>('A' + index)) + ":\\");
    return roots;
}

bool IsMarkerEntry(std::string_view entryName, std::string_view upperTarget)
{
    if (entryName.size() != upperTarget.size())
        return false;
    for (std::size_t i = 0; i < entryName.size(); ++i) {
        char c = entryName[i];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        if (c != upperTarget[i])
            return false;
    }
    return true;
}

} // namespace cb
