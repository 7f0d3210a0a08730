#include "core/SettingsValues.h"

#include <cstdint>
#include <limits>

namespace cb {

namespace {

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool IsSeparator(char c)
{
    return c == '\\' || c == '/' || c == ':';
}

} // namespace

int ParseSettingInteger(const std::string& text, int fallback)
{
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        std::uint64_t value = 0;
        for (std::size_t i = 2; i < text.size(); ++i) {
            int d = HexDigit(text[i]);
            if (d < 0)
                return fallback;
            value = value * 16 + static_cast<unsigned>(d);
            if (value > 0xFFFFFFFFull)
                return fallback;
        }
        return static_cast<int>(static_cast<std::uint32_t>(value));
    }

    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size())
        return fallback;
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        char c = text[i];
        if (c < '0' || c > '9')
            return fallback;
        value = value * 10 + (c - '0');
        if (value > static_cast<std::int64_t>(std::numeric_limits<int>::max()) + 1)
            return fallback;
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<int>::max() || value < std::numeric_limits<int>::min())
        return fallback;
    return static_cast<int>(value);
}

bool ParseSettingBool(const std::string& text, bool fallback)
{
    return ParseSettingInteger(text, fallback ? 1 : 0) != 0;
}

std::string SettingBoolText(bool value)
{
    return value ? "1" : "0";
}

std::string SettingIntegerText(int value)
{
    return std::to_string(value);
}

int CentredEdge(int screen, int size)
{
    return static_cast<int>((static_cast<std::int64_t>(screen) - size) / 2);
}

std::string SettingsFileForProgram(const std::string& programPath)
{
    std::size_t nameStart = 0;
    for (std::size_t i = 0; i < programPath.size(); ++i)
        if (IsSeparator(programPath[i]))
            nameStart = i + 1;
    std::size_t dot = programPath.rfind('.');
    if (dot == std::string::npos || dot < nameStart)
        return programPath + ".ini";
    return programPath.substr(0, dot) + ".ini";
}

std::string WithTrailingBackslash(const std::string& path)
{
    if (path.empty())
        return path;
    char last = path.back();
    if (last == '\\')
        return path;
    return path + "\\";
}

std::string FolderOf(const std::string& path)
{
    std::size_t cut = std::string::npos;
    for (std::size_t i = 0; i < path.size(); ++i)
        if (path[i] == '\\' || path[i] == '/')
            cut = i;
    if (cut == std::string::npos)
        return std::string();
    return path.substr(0, cut);
}

bool SettingsFileOversized(unsigned long long size)
{
    return size > kLargestSettingsFile;
}

std::string SetAsideName(const std::string& settingsFile, int attempt)
{
    std::string name = settingsFile + ".damaged";
    if (attempt > 0)
        name += std::to_string(attempt + 1);
    return name;
}

} // namespace cb
