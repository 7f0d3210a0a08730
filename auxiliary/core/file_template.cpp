#include "file_template.h"

#include "format_text.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>

namespace auxiliary {

namespace {

struct Element
{
    const char* display; // upper case; compared without regard to case
    const char* percent;
};

// Display elements in the order they are tried: the longer track-number forms
// come before the shorter ones that they start with.
constexpr Element kToPercent[] = {
    {"[ARTIST]", "%A"},
    {"[TRACK]", "%T"},
    {"[ALBUM]", "%L"},
    {"[GENRE]", "%G"},
    {"[TRACK NUMBER XXXX]", "%RRRR"},
    {"[TRACK NUMBER XXX]", "%RRR"},
    {"[TRACK NUMBER XX]", "%RR"},
    {"[TRACK NUMBER]", "%R"},
    {"[YEAR]", "%Y"},
    {"[LENGTH]", "%H"},
    {"[UNIQUE]", "%U"},
};

constexpr Element kToDisplay[] = {
    {"[artist]", "%A"},
    {"[track]", "%T"},
    {"[album]", "%L"},
    {"[genre]", "%G"},
    {"[track number xxxx]", "%RRRR"},
    {"[track number xxx]", "%RRR"},
    {"[track number xx]", "%RR"},
    {"[track number]", "%R"},
    {"[year]", "%Y"},
    {"[length]", "%H"},
    {"[unique]", "%U"},
};

char Upper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool StartsWithNoCase(std::string_view text, size_t at, std::string_view what)
{
    if (text.size() - at < what.size())
        return false;
    for (size_t i = 0; i < what.size(); ++i) {
        if (Upper(text[at + i]) != Upper(what[i]))
            return false;
    }
    return true;
}

// Walks `text`, replacing every element found by its counterpart. The result
// is cut to kTemplateLength characters; an element that does not fit whole is
// left out rather than cut in two.
std::string Convert(std::string_view text, bool toPercent)
{
    const Element* table = toPercent ? kToPercent : kToDisplay;
    const size_t count = toPercent ? std::size(kToPercent) : std::size(kToDisplay);
    std::string out;
    size_t i = 0;
    while (i < text.size()) {
        std::string_view piece = text.substr(i, 1);
        size_t consumed = 1;
        for (size_t e = 0; e < count; ++e) {
            const std::string_view from = toPercent ? table[e].display : table[e].percent;
            if (StartsWithNoCase(text, i, from)) {
                piece = toPercent ? table[e].percent : table[e].display;
                consumed = from.size();
                break;
            }
        }
        if (out.size() + piece.size() > kTemplateLength)
            break;
        out += piece;
        i += consumed;
    }
    return out;
}

void ConvertInPlace(char* text, size_t size, bool toPercent)
{
    if (!text || size == 0)
        return;
    const void* end = std::memchr(text, 0, size);
    const size_t length = end ? static_cast<const char*>(end) - text : size - 1;
    const std::string out = Convert(std::string_view(text, length), toPercent);
    const size_t n = out.size() < size - 1 ? out.size() : size - 1;
    std::memcpy(text, out.data(), n);
    text[n] = '\0';
}

bool IsBlank(char c)
{
    return c == ' ';
}

void TrimBlanks(std::string& s)
{
    size_t end = s.size();
    while (end > 0 && IsBlank(s[end - 1]))
        --end;
    size_t begin = 0;
    while (begin < end && IsBlank(s[begin]))
        ++begin;
    s = s.substr(begin, end - begin);
}

// The name part of a path: after its last backslash or slash, before the last dot.
std::string_view BaseName(std::string_view path)
{
    const size_t slash = path.find_last_of("\\/");
    if (slash != std::string_view::npos)
        path.remove_prefix(slash + 1);
    const size_t dot = path.rfind('.');
    return dot == std::string_view::npos ? path : path.substr(0, dot);
}

std::string_view UpToTerminator(std::string_view text)
{
    return text.substr(0, text.find('\0'));
}

} // namespace

std::string ToPercentForm(std::string_view display)
{
    return Convert(display, true);
}

std::string ToDisplayForm(std::string_view percent)
{
    return Convert(percent, false);
}

void ToPercentForm(char* text, size_t size)
{
    ConvertInPlace(text, size, true);
}

void ToDisplayForm(char* text, size_t size)
{
    ConvertInPlace(text, size, false);
}

std::string NameValue(std::string_view value)
{
    std::string s(value);
    for (char& c : s) {
        switch (c) {
        case '"':
            c = '\'';
            break;
        case ':':
            c = ';';
            break;
        case '?':
            c = '\xBF';
            break; // inverted question mark
        case '<':
            c = '\xAB';
            break; // left-pointing double angle quotation mark
        case '>':
            c = '\xBB';
            break; // right-pointing double angle quotation mark
        case '*':
        case '/':
        case '\\':
        case '|':
            c = '-';
            break;
        default:
            break;
        }
    }
    while (!s.empty() && s.back() == '.')
        s.pop_back();
    TrimBlanks(s);
    return s;
}

std::string ExpandTemplate(std::string_view percentTemplate, const TrackRecord& track, std::string_view genre,
                           UniqueSource& unique)
{
    // Both texts are C strings where they come from: they end at a terminator.
    percentTemplate = UpToTerminator(percentTemplate);
    genre = UpToTerminator(genre);
    const std::string artist = NameValue(FieldText(track.artist));
    const std::string title = NameValue(FieldText(track.title));
    const std::string album = NameValue(FieldText(track.album));
    const std::string genreValue = NameValue(genre);

    const std::string_view t = percentTemplate;
    std::string out;
    size_t i = 0;
    while (i < t.size()) {
        const char c = t[i];
        if (c == '\\') {
            TrimBlanks(out);
            out += c;
            ++i;
            continue;
        }
        if (c != '%') {
            out += c;
            ++i;
            continue;
        }
        if (i + 1 == t.size())
            break; // a "%" at the very end yields nothing
        const char code = Upper(t[i + 1]);
        if (!IsLetter(code)) {
            out += c; // not a code: the "%" is an ordinary character
            ++i;
            continue;
        }
        i += 2;
        std::string value;
        switch (code) {
        case 'A':
            value = artist;
            break;
        case 'T':
            value = title;
            break;
        case 'L':
            value = album;
            break;
        case 'G':
            value = genreValue;
            break;
        case 'Y':
            value = FormatText("%d", track.year);
            break;
        case 'H':
            value = FormatText("%u.%02u", track.lengthMs / 60000u, track.lengthMs / 1000u % 60u);
            break;
        case 'U':
            value = FormatText("%08u", unique.Next());
            break;
        case 'R': {
            size_t run = 1;
            while (run < 4 && i < t.size() && Upper(t[i]) == 'R') {
                ++run;
                ++i;
            }
            static const char* const kDigits[] = {"%u", "%02u", "%03u", "%04u"};
            value = FormatText(kDigits[run - 1], static_cast<unsigned>(track.trackNumber));
            break;
        }
        default:
            break; // any other letter yields nothing
        }
        if (i < t.size() && t[i] == '^') {
            value = value.substr(0, 1);
            ++i;
        }
        out += value;
    }

    // A template that leaves the name itself empty (such as "%A\%L\") takes
    // the name from the record's file name field, made fit for a name too.
    const size_t slash = out.rfind('\\');
    const std::string_view last =
        slash == std::string::npos ? std::string_view(out) : std::string_view(out).substr(slash + 1);
    if (last.substr(0, last.rfind('.')).empty())
        out += NameValue(BaseName(FieldText(track.fileName)));

    if (out.size() > kExpandedLength)
        out.resize(kExpandedLength);
    return out;
}

bool RemoveForbiddenCharacters(std::string& text)
{
    const size_t before = text.size();
    std::erase_if(text, [](char c) { return std::strchr("\"*/:<>?|", c) != nullptr && c != '\0'; });
    return text.size() != before;
}

bool IsValidArrangement(std::string_view display)
{
    static const char* const kDistinct[] = {
        "[album]",  "[artist]",           "[track number]",      "[track]",  "[track number xx]",
        "[length]", "[track number xxx]", "[track number xxxx]", "[unique]",
    };
    for (const char* element : kDistinct) {
        if (display.find(element) != std::string_view::npos)
            return true;
    }
    return false;
}

TrackRecord SampleTrack()
{
    TrackRecord track{};
    SetField(track.artist, "Varnette");
    SetField(track.title, "Rain");
    SetField(track.album, "Glasshouse");
    track.year = 1992;
    track.trackNumber = 10;
    track.lengthMs = 324000;
    return track;
}

std::string ExampleLine(std::string_view display, UniqueSource& unique)
{
    return "Example: " + ExpandTemplate(ToPercentForm(display), SampleTrack(), kSampleGenre, unique);
}

const TemplateElement kTemplateElements[12] = {
    {"[album]", "Album title, ie. Glasshouse"},
    {"[artist]", "Artist name, ie Varnette"},
    {"[genre]", "Music type, ie. Pop"},
    {"[length]", "Length of track, ie. 02:03"},
    {"[track]", "Song title, ie Rain"},
    {"[year]", "Year of recording, ie. 1980"},
    {"[track number]", "Track position in album, ie. 4"},
    {"[track number xx]", "Track number, ie. 04"},
    {"[track number xxx]", "Track number, ie. 004"},
    {"[track number xxxx]", "Track number, ie. 0004"},
    {"[unique]", "A unique number, ie. 00435550"},
    {"^", "ie [artist]^  only first letter of Artist"},
};

const char* const kPredefinedTemplates[6] = {
    "[artist] - [track]",
    "[artist] - [track] ([album])",
    "[track number xx] [artist] - [track]",
    "[artist]\\[artist] - [track]",
    "[artist]\\[album]\\[artist] - [track]",
    "[artist]\\[album]\\[track number xx] [artist] - [track]",
};

} // namespace auxiliary
