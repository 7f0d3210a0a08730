#include "core/SoundList.h"

#include <algorithm>
#include <charconv>

namespace cb {

std::string SizeText(std::optional<std::uint32_t> size)
{
    if (!size)
        return "0 KB";
    std::uint32_t kb = *size / 1024;
    if (*size % 1024 > 512)
        ++kb;
    return std::to_string(kb) + " KB";
}

std::string ListTitle(std::string_view currentFile)
{
    std::size_t cut = currentFile.find_last_of("\\:");
    std::string title(cut == std::string_view::npos ? currentFile : currentFile.substr(cut + 1));
    if (title.empty())
        title = "Untitled";
    std::size_t ext = title.find(".qbl");
    if (ext != std::string::npos)
        title.erase(ext, 4);
    return title;
}

std::string SoundKey(std::size_t index)
{
    return "Sound" + std::to_string(index);
}

std::string SoundValue(std::string_view filename, std::string_view shortcutText)
{
    std::string value(filename);
    value += ';';
    value += shortcutText;
    return value;
}

TSoundValue ParseSoundValue(std::string_view value)
{
    std::size_t semi = value.find(';');
    if (semi == std::string_view::npos)
        return {std::string(), std::string(value)};
    return {std::string(value.substr(0, semi)), std::string(value.substr(semi + 1))};
}

int ParseCount(std::string_view value)
{
    bool negative = false;
    if (!value.empty() && (value[0] == '-' || value[0] == '+')) {
        negative = value[0] == '-';
        value.remove_prefix(1);
    }
    int base = 10;
    if (value.size() > 2 && value[0] == '0' && (value[1] == 'x' || value[1] == 'X')) {
        base = 16;
        value.remove_prefix(2);
    }
    // One sign at most, and only in front of the prefix: from_chars would take
    // a second one as the number's own, so "+-5" or "0x-5" must stop here.
    if (value.empty() || value[0] == '-' || value[0] == '+')
        return 0;
    long long n = 0;
    auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), n, base);
    if (end != value.data() + value.size())
        return 0;
    // A number too long for the integer is still more than the list can hold.
    if (ec == std::errc::result_out_of_range)
        return negative ? 0 : kMaxSounds;
    if (ec != std::errc())
        return 0;
    if (negative || n <= 0)
        return 0;
    return n > kMaxSounds ? kMaxSounds : static_cast<int>(n);
}

std::int32_t NewHotKeyID(const TSoundList& list, std::uint32_t timeSeconds)
{
    TRandom random;
    random.Seed(timeSeconds);
    for (;;) {
        std::int32_t id = random.Next() % 16000 + 1;
        if (IndexFromID(list, id) < 0)
            return id;
    }
}

int IndexFromID(const TSoundList& list, std::int32_t id)
{
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i].ID == id)
            return static_cast<int>(i);
    return -1;
}

unsigned HotKeyModifiers(std::uint16_t code)
{
    unsigned mods = 0;
    if (code & 0x2000)
        mods |= kModShift;
    if (code & 0x8000)
        mods |= kModAlt;
    if (code & 0x4000)
        mods |= kModControl;
    return mods;
}

std::string UnsavedChangesText(std::string_view listTitle)
{
    std::string text = "The data in the ";
    text += listTitle;
    text += " file has changed.\n\nDo you want to save the changes?";
    return text;
}

std::string DuplicateShortcutText(std::size_t index, std::string_view filename, std::string_view shortcutText)
{
    std::string text = "Index: " + std::to_string(index) + "\nFilename: ";
    text += filename;
    text += "\n\nThere was a problem. A duplicate shortcut (";
    text += shortcutText;
    text += ") was detected. Please make sure there are no duplicate shortcuts in your sounds "
            "list. Also make sure that no other programs are using shortcuts which you have "
            "chosen for your sounds.";
    return text;
}

std::string GameDirectoryStatusText(std::string_view gameDirectory)
{
    if (gameDirectory.empty())
        return "There is no game directory set. Set one in the Options window.";
    std::string text = "Game Directory is \"";
    text += gameDirectory;
    text += '"';
    return text;
}

namespace {

std::string Lowered(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

} // namespace

TProfileSection::TProfileSection(std::string_view block)
{
    constexpr std::size_t kLongestValue = 2047;
    while (!block.empty() && block.front() != '\0') {
        const std::size_t end = std::min(block.find('\0'), block.size());
        const std::string_view line = block.substr(0, end);
        block.remove_prefix(end == block.size() ? end : end + 1);
        const std::size_t equals = line.find('=');
        std::string_view value =
            equals == std::string_view::npos ? std::string_view() : line.substr(equals + 1);
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
            value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        values_.emplace(Lowered(line.substr(0, equals)), std::string(value.substr(0, kLongestValue)));
    }
}

std::string TProfileSection::Value(std::string_view key, std::string_view fallback) const
{
    auto found = values_.find(Lowered(key));
    return found == values_.end() ? std::string(fallback) : found->second;
}

} // namespace cb
