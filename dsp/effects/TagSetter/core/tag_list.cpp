#include "tag_list.h"

#include <cstdio>

namespace tagset {

const char* const kPlaceholderValue = "Type Value Here";
const char* const kElementChoices[7] = {"ARTIST", "TITLE", "ALBUM", "COMMENT", "YEAR", "TRACK", "GENRE"};
const char* const kDefaultElement = "COMMENT";

namespace {
std::string Numbered(const char* format, size_t n)
{
    char name[64];
    std::snprintf(name, sizeof name, format, static_cast<int>(n));
    return name;
}
std::string Cut(const std::string& text, size_t buffer)
{
    return text.size() < buffer ? text : text.substr(0, buffer - 1);
}
} // namespace

std::string ElementValueName(size_t n)
{
    return Numbered("Tag-SetVal-Element-%02d", n);
}
std::string ValueValueName(size_t n)
{
    return Numbered("Tag-SetVal-Value-%02d", n);
}

AssignmentList LoadAssignments(const TextReader& read)
{
    AssignmentList list;
    for (size_t n = 0;; ++n) {
        std::string element = read(ElementValueName(n), kElementBuffer);
        if (element.empty())
            break;
        list.push_back({std::move(element), read(ValueValueName(n), kValueBuffer)});
    }
    return list;
}

void SaveAssignments(const AssignmentList& list, const TextWriter& write)
{
    for (size_t n = 0; n < list.size(); ++n) {
        write(ElementValueName(n), Cut(list[n].element, kElementBuffer));
        write(ValueValueName(n), Cut(list[n].value, kValueBuffer));
    }
    write(ElementValueName(list.size()), "");
}

bool EditAccepted(int row, const char* text)
{
    return row >= 0 && text != nullptr && *text != '\0';
}

} // namespace tagset
