// libFuzzer target for the file-name templates: expansion of any template
// with any track data, and both form conversions. Besides "no crash" it
// checks the bounds and the round trip the two forms promise.
#include "file_template.h"
#include "template_history.h"
#include "track_record.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

using namespace auxiliary;

namespace {

void Require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

char Upper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool HasAny(std::string_view text, std::string_view set)
{
    return text.find_first_of(set) != std::string_view::npos;
}

// Fills a fixed field from raw bytes, with or without a terminator.
template <size_t N>
void FillRaw(char (&field)[N], const std::string& bytes)
{
    for (size_t i = 0; i < N; ++i)
        field[i] = i < bytes.size() ? bytes[i] : '\0';
}

void CheckForms(const std::string& text)
{
    const std::string percent = ToPercentForm(text);
    const std::string display = ToDisplayForm(text);
    Require(percent.size() <= kTemplateLength, "percent form within 259 characters");
    Require(display.size() <= kTemplateLength, "display form within 259 characters");
    Require(percent.size() <= text.size(), "the percent form never grows");

    // The buffer versions give the same as the string versions.
    if (text.size() <= kTemplateLength && text.find('\0') == std::string::npos) {
        char buffer[kTemplateLength + 1];
        std::copy(text.begin(), text.end(), buffer);
        buffer[text.size()] = '\0';
        ToDisplayForm(buffer, sizeof buffer);
        Require(display == buffer, "in-place display form");
        std::copy(text.begin(), text.end(), buffer);
        buffer[text.size()] = '\0';
        ToPercentForm(buffer, sizeof buffer);
        Require(percent == buffer, "in-place percent form");
    }

    // Longest element is 19 characters: below this the display form was not cut.
    constexpr size_t kUncut = kTemplateLength - 19;

    // A stored template without brackets shows and converts back to itself,
    // only its code letters made upper case.
    if (text.find('[') == std::string::npos) {
        const std::string back = ToPercentForm(display);
        Require(back.size() <= text.size(), "round trip never grows");
        if (display.size() <= kUncut)
            Require(back.size() == text.size(), "uncut round trip keeps the length");
        for (size_t i = 0; i < back.size(); ++i) {
            const bool same = back[i] == text[i];
            const bool upper = text[i] >= 'a' && text[i] <= 'z' && back[i] == Upper(text[i]);
            Require(same || upper, "round trip changes nothing but the case of codes");
        }
        if (display.size() <= kUncut)
            Require(ToDisplayForm(back) == display, "the display form is stable");
    }

    // One round trip settles any text: a second one changes at most the case
    // of a letter that already belonged to a code ("%RRr" read as one code
    // becomes "%RRR").
    const std::string once = ToPercentForm(ToDisplayForm(text));
    const std::string onceShown = ToDisplayForm(once);
    if (ToDisplayForm(text).size() <= kUncut && onceShown.size() <= kUncut) {
        const std::string twice = ToPercentForm(onceShown);
        Require(twice.size() == once.size(), "a second round trip keeps the length");
        for (size_t i = 0; i < once.size(); ++i)
            Require(Upper(once[i]) == twice[i] || once[i] == twice[i],
                    "a second round trip changes no meaning");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    TrackRecord track{};
    track.year = in.ConsumeIntegral<int16_t>();
    track.lengthMs = in.ConsumeIntegral<uint32_t>();
    track.trackNumber = in.ConsumeIntegral<uint8_t>();
    const uint32_t counter = in.ConsumeIntegral<uint32_t>();
    FillRaw(track.artist, in.ConsumeRandomLengthString(120));
    FillRaw(track.title, in.ConsumeRandomLengthString(120));
    FillRaw(track.album, in.ConsumeRandomLengthString(120));
    FillRaw(track.fileName, in.ConsumeRandomLengthString(280));
    const std::string genre = in.ConsumeRandomLengthString(300);
    const std::string text = in.ConsumeRemainingBytesAsString();

    MemoryUniqueSource unique(counter);
    const std::string expanded = ExpandTemplate(text, track, genre, unique);
    Require(expanded.size() <= kExpandedLength, "expansion within 250 characters");
    if (!HasAny(text, std::string_view("\"*/:<>?|\0", 9)))
        Require(!HasAny(expanded, std::string_view("\"*/:<>?|\0", 9)),
                "values bring no character that a name may not hold");
    MemoryUniqueSource again(counter);
    Require(ExpandTemplate(text, track, genre, again) == expanded, "expansion is repeatable");
    Require(again.Last() == unique.Last(), "the counter advances the same way");

    std::string typed = text;
    RemoveForbiddenCharacters(typed);
    Require(!HasAny(typed, "\"*/:<>?|"), "typed text is cleaned");

    Require(ExampleLine(text, unique).size() <= 9 + kExpandedLength, "example line bounded");

    CheckForms(text);

    std::vector<std::string> history;
    for (size_t i = 0; i < text.size() && i < 12; ++i)
        AddToHistory(history, text.substr(i % 4, 3));
    AddToHistory(history, text);
    Require(history.size() <= kHistoryEntries, "ten entries at most");
    Require(history[0] == text.substr(0, kTemplateLength), "newest first");
    for (size_t i = 0; i < history.size(); ++i)
        for (size_t j = i + 1; j < history.size(); ++j)
            Require(history[i] != history[j], "no entry twice");
    return 0;
}
