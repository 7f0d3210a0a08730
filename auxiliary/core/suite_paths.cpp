#include "suite_paths.h"

namespace auxiliary {

char UpperCase1252(char c)
{
    const unsigned char u = static_cast<unsigned char>(c);
    if (u >= 'a' && u <= 'z')
        return static_cast<char>(u - 0x20);
    // Accented small letters; 0xF7 is the division sign.
    if (u >= 0xE0 && u <= 0xFE && u != 0xF7)
        return static_cast<char>(u - 0x20);
    switch (u) {
    case 0x9A: // s caron
        return static_cast<char>(0x8A);
    case 0x9C: // oe
        return static_cast<char>(0x8C);
    case 0x9E: // z caron
        return static_cast<char>(0x8E);
    case 0xFF: // y diaeresis
        return static_cast<char>(0x9F);
    default:
        return c;
    }
}

std::string UpperCase1252(std::string_view text)
{
    std::string upper(text);
    for (char& c : upper)
        c = UpperCase1252(c);
    return upper;
}

bool SameIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (UpperCase1252(a[i]) != UpperCase1252(b[i]))
            return false;
    }
    return true;
}

std::string ProgramFolderFromModulePath(std::string_view modulePath, const CodePageText& codePage)
{
    std::string path = codePage.upper(modulePath);
    if (path.empty() || path.find("SOURCE CODE") != std::string::npos)
        return kDefaultProgramFolder;
    // The last backslash that is a character of its own, not the second byte
    // of a two-byte character.
    size_t slash = std::string::npos;
    for (size_t i = 0; i < path.size(); ++i) {
        if (codePage.isLeadByte(static_cast<unsigned char>(path[i])) && i + 1 < path.size())
            ++i;
        else if (path[i] == '\\')
            slash = i;
    }
    if (slash == std::string::npos)
        return kDefaultProgramFolder;
    path.resize(slash + 1);
    if (path.front() == '"')
        path.erase(0, 1);
    return path;
}

} // namespace auxiliary
