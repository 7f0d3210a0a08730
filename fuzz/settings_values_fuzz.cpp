// Settings values: an integer or truth value written reads back as itself; any
// text reads as the C library reads a number of the accepted shapes, or as the
// fallback; a truth value is the integer reading's; the centred edge and the
// derived paths keep their documented shapes.
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/SettingsValues.h"
#include "fuzz_input.h"

namespace {

bool EndsWith(const std::string& s, const std::string& tail)
{
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// The reading by the C library's own conversions, for texts of the accepted
// shapes: "0x" and hex digits (at most 32 bits, taken as signed), or an
// optional sign and decimal digits within the 32-bit range.
int Reference(const std::string& text, int fallback)
{
    const char* s = text.c_str();
    char* end = nullptr;
    errno = 0;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        if (text.find_first_not_of("0123456789abcdefABCDEF", 2) != std::string::npos)
            return fallback;
        const unsigned long long v = std::strtoull(s, &end, 16);
        if (errno == ERANGE || v > 0xFFFFFFFFull)
            return fallback;
        return static_cast<int>(static_cast<std::uint32_t>(v));
    }
    const size_t digits = !text.empty() && (text[0] == '+' || text[0] == '-') ? 1 : 0;
    if (text.size() == digits || text.find_first_not_of("0123456789", digits) != std::string::npos)
        return fallback;
    const long long v = std::strtoll(s, &end, 10);
    if (errno == ERANGE || v < INT32_MIN || v > INT32_MAX)
        return fallback;
    return static_cast<int>(v);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Input in(data, size);
    const int value = in.Take<int>();
    const int fallback = in.Take<int>();
    const bool flag = in.Take<uint8_t>() & 1;
    fuzz::Require(cb::ParseSettingInteger(cb::SettingIntegerText(value), fallback) == value,
                  "an integer written reads back");
    fuzz::Require(cb::ParseSettingBool(cb::SettingBoolText(flag), !flag) == flag,
                  "a truth value written reads back");

    const std::string text = in.Text(40);
    fuzz::Require(cb::ParseSettingInteger(text, fallback) == Reference(text, fallback),
                  "an integer reads as the C library reads it, or as the fallback");
    fuzz::Require(cb::ParseSettingBool(text, flag) == (cb::ParseSettingInteger(text, flag ? 1 : 0) != 0),
                  "a truth value is its integer reading");

    const int screen = in.Take<int>();
    const int extent = in.Take<int>();
    const long long edge = cb::CentredEdge(screen, extent);
    const long long twice = static_cast<long long>(screen) - extent;
    fuzz::Require(edge == twice / 2, "the centred edge halves the spare room toward zero");

    const std::string path = in.Text(300);
    const std::string ini = cb::SettingsFileForProgram(path);
    fuzz::Require(EndsWith(ini, ".ini"), "the settings file ends in .ini");
    fuzz::Require(ini.compare(0, ini.size() - 4, path, 0, ini.size() - 4) == 0,
                  "and keeps the path before it");
    const std::string extension = path.substr(ini.size() - 4);
    fuzz::Require(extension.empty()
                      ? path.find('.', path.find_last_of("\\/:") + 1) == std::string::npos
                      : extension[0] == '.' && extension.find_first_of(".\\/:", 1) == std::string::npos,
                  "only the extension of the file name is replaced");
    fuzz::Require(cb::SettingsFileForProgram(ini) == ini, "a settings file is its own settings file");

    const std::string game = cb::WithTrailingBackslash(path);
    fuzz::Require(path.empty() ? game.empty() : game.back() == '\\', "one trailing backslash");
    fuzz::Require(game.compare(0, path.size(), path) == 0 && game.size() - path.size() <= 1,
                  "the path is kept");
    fuzz::Require(cb::WithTrailingBackslash(game) == game, "appending is done once");

    const std::string folder = cb::FolderOf(path);
    fuzz::Require(path.compare(0, folder.size(), folder) == 0, "the folder is the front of the path");
    if (!folder.empty() || path.find_first_of("\\/") != std::string::npos)
        fuzz::Require(folder.size() < path.size() &&
                          (path[folder.size()] == '\\' || path[folder.size()] == '/') &&
                          path.find_first_of("\\/", folder.size() + 1) == std::string::npos,
                      "the folder ends at the last separator");
    return 0;
}
