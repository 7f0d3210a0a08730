#include "playlist_text.h"

#include "format_text.h"

#include <cstdio>

namespace auxiliary {

namespace {

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

size_t LastSeparator(std::string_view path)
{
    for (size_t i = path.size(); i > 0; --i) {
        if (IsSeparator(path[i - 1]))
            return i - 1;
    }
    return std::string_view::npos;
}

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

void AppendLine(std::string& out, std::string_view line)
{
    out += line;
    out += "\r\n";
}

// Text that goes inside one line of a playlist entry: a CR or LF in a tag or
// a name would end the line early and leave the rest as a line of its own,
// so each one is written as a space.
std::string OneLine(std::string_view text)
{
    std::string line(text);
    for (char& c : line) {
        if (c == '\r' || c == '\n')
            c = ' ';
    }
    return line;
}

int WholeSeconds(uint32_t lengthMs)
{
    return static_cast<int>(lengthMs / 1000);
}

} // namespace

std::vector<std::string> ConvertedFiles(std::string_view logText)
{
    std::vector<std::string> files;
    size_t at = 0;
    while (at < logText.size()) {
        size_t end = at;
        while (end < logText.size() && logText[end] != '\r' && logText[end] != '\n')
            ++end;
        std::string_view line = logText.substr(at, end - at);
        if (line.size() > kLogLineLength)
            line = line.substr(0, kLogLineLength);
        // A line is read as a C string: a NUL byte ends it.
        line = line.substr(0, line.find('\0'));
        if (!line.empty() && line.find(kLogErrorMark) == std::string_view::npos)
            files.emplace_back(line);
        at = end;
        if (at < logText.size() && logText[at] == '\r')
            ++at;
        if (at < logText.size() && logText[at] == '\n')
            ++at;
    }
    return files;
}

std::string PlaylistRawName(std::string_view folder, std::string_view nameTemplate, uint32_t type)
{
    std::string name(folder);
    if (name.empty() || name.back() != '\\')
        name += '\\';
    name += nameTemplate;
    name += type == kPlaylistPls ? ".pls" : ".m3u";
    return name;
}

std::string FolderOf(std::string_view path)
{
    const size_t slash = path.rfind('\\');
    return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

std::string ExtensionOf(std::string_view path)
{
    const size_t slash = LastSeparator(path);
    const size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return std::string();
    return std::string(path.substr(dot + 1));
}

std::string BaseNameOf(std::string_view path)
{
    const size_t slash = LastSeparator(path);
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const size_t dot = name.rfind('.');
    if (dot != std::string_view::npos)
        name = name.substr(0, dot);
    return std::string(name);
}

bool IsM3uPath(std::string_view playlistPath)
{
    const std::string extension = ExtensionOf(playlistPath);
    if (extension.size() != 3)
        return false;
    return Lower(extension[0]) == 'm' && extension[1] == '3' && Lower(extension[2]) == 'u';
}

void TrackDataFromFileName(TrackRecord& record, std::string_view path)
{
    if (!FieldText(record.artist).empty() || !FieldText(record.title).empty())
        return;
    const std::string name = BaseNameOf(path);
    const size_t dash = name.find('-');
    if (dash == std::string::npos) {
        SetField(record.title, name);
        return;
    }
    constexpr size_t kPart = 99;
    SetField(record.artist, Trimmed(std::string_view(name).substr(0, dash).substr(0, kPart)));
    SetField(record.title, Trimmed(std::string_view(name).substr(dash + 1).substr(0, kPart)));
}

std::string RelativeEntryPath(std::string_view playlistFolder, std::string_view path)
{
    size_t same = 0;
    while (same < playlistFolder.size() && same < path.size() && playlistFolder[same] == path[same])
        ++same;
    if (same == playlistFolder.size())
        return std::string(path.substr(same));
    if (same == 0 || path.front() == '\\')
        return std::string(path);
    const size_t slash = path.find('\\');
    // A path without any backslash has no drive part to drop.
    return std::string(slash == std::string_view::npos ? path : path.substr(slash));
}

std::string M3uText(std::string_view playlistFolder, const std::vector<PlaylistEntry>& entries)
{
    std::string text;
    AppendLine(text, "#EXTM3U");
    for (const PlaylistEntry& e : entries) {
        AppendLine(text, FormatText("#EXTINF:%d,%s", WholeSeconds(e.lengthMs), OneLine(e.title).c_str()));
        AppendLine(text, OneLine(RelativeEntryPath(playlistFolder, e.path)));
    }
    return text;
}

std::string PlsText(std::string_view playlistFolder, const std::vector<PlaylistEntry>& entries)
{
    std::string text;
    AppendLine(text, "[playlist]");
    int n = 0;
    for (const PlaylistEntry& e : entries) {
        ++n;
        AppendLine(text,
                   FormatText("File%d=%s", n, OneLine(RelativeEntryPath(playlistFolder, e.path)).c_str()));
        AppendLine(text, FormatText("Title%d=%s", n, OneLine(e.title).c_str()));
        AppendLine(text, FormatText("Length%d=%d", n, WholeSeconds(e.lengthMs)));
    }
    AppendLine(text, FormatText("NumberOfEntries=%d", n));
    AppendLine(text, "Version=2");
    return text;
}

std::string PlaylistText(std::string_view playlistPath, const std::vector<PlaylistEntry>& entries)
{
    const std::string folder = FolderOf(playlistPath);
    return IsM3uPath(playlistPath) ? M3uText(folder, entries) : PlsText(folder, entries);
}

} // namespace auxiliary
