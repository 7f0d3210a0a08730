// File-name templates. A template has two forms: the display form the user
// types ("[artist] - [track]") and the percent form that is stored and
// expanded ("%A - %T"). Expansion turns a percent-form template and one
// track's data into a path relative to the output folder.
#pragma once

#include "track_record.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace auxiliary {

// Templates live in 260-byte buffers: 259 characters and a terminator.
constexpr size_t kTemplateLength = 259;
// An expanded name never has more characters than this.
constexpr size_t kExpandedLength = 250;

// Both conversions compare elements case-insensitively and cut their result
// to kTemplateLength characters. The buffer versions convert in place; `size`
// is the buffer's size in bytes, terminator included.
std::string ToPercentForm(std::string_view display);
std::string ToDisplayForm(std::string_view percent);
void ToPercentForm(char* text, size_t size);
void ToDisplayForm(char* text, size_t size);

// The "[unique]" element draws its number from here. The recorder's source
// keeps the counter in the registry; every call advances it for good.
class UniqueSource
{
public:
    virtual ~UniqueSource() = default;
    // Advances the counter and returns its new value.
    virtual uint32_t Next() = 0;
};

// A counter held in memory, starting after `last`.
class MemoryUniqueSource final : public UniqueSource
{
public:
    explicit MemoryUniqueSource(uint32_t last = 0) : last_(last) {}
    uint32_t Next() override { return ++last_; }
    uint32_t Last() const { return last_; }

private:
    uint32_t last_;
};

// Expands a percent-form template for one track. Template and genre end at
// a terminator if they hold one. When the name part of the result is empty,
// the record's file name (without folder and extension, under the same
// character rules as the values) fills it. The result has at most
// kExpandedLength characters.
std::string ExpandTemplate(std::string_view percentTemplate, const TrackRecord& track, std::string_view genre,
                           UniqueSource& unique);

// A value as it goes into a name: characters that cannot stand in a file name
// replaced one for one (code page 1252), trailing dots removed, then leading
// and trailing blanks.
std::string NameValue(std::string_view value);

// Removes from a typed template the characters that no name may hold (a
// backslash stays, it makes a folder). True when something was removed.
bool RemoveForbiddenCharacters(std::string& text);

// False when a display-form template holds none of the elements that tell
// tracks apart, so every track would get the same name.
bool IsValidArrangement(std::string_view display);
constexpr const char* kInvalidArrangementText =
    "Invalid Arrangement, current arrangement will create all tracks with same filename.";
constexpr const char* kInvalidArrangementCaption = "File Arrangement";

// The sample track of the editor's example line and the line itself
// ("Example: " and the expansion of a display-form template).
TrackRecord SampleTrack();
constexpr const char* kSampleGenre = "Pop";
std::string ExampleLine(std::string_view display, UniqueSource& unique);

// The editor's element list (double-click appends the element) and its
// predefined arrangements (double-click replaces the template).
struct TemplateElement
{
    const char* element;
    const char* description;
};
extern const TemplateElement kTemplateElements[12];
extern const char* const kPredefinedTemplates[6];

} // namespace auxiliary
