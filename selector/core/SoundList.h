// The sound list's entries and the values computed for them: size text, list
// title, list-file keys and values, hotkey identifiers and the texts the main
// window shows about the list.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace cb {

// One entry of the sound list.
struct TSound
{
    std::string Filename;       // full path, exactly as typed, browsed or loaded
    std::string SizeText;       // "<kilobytes> KB"
    std::uint16_t ShortCut = 0; // shortcut code; 0 means none
    std::int32_t ID = 0;        // identifier of its registered hotkey
    bool Marked = false;        // scratch mark of the Delete command
};

using TSoundList = std::vector<TSound>;

// "<kilobytes> KB" for a file of `size` bytes: whole kilobytes, plus one when
// the remainder exceeds 512 bytes. A file that could not be opened has no size
// and shows "0 KB".
std::string SizeText(std::optional<std::uint32_t> size);

// The name the list file is shown under: the file-name part of `currentFile`
// (after the last '\' or ':'), "Untitled" when that is empty, with the first
// ".qbl" (case-sensitive) removed.
std::string ListTitle(std::string_view currentFile);

// List files: [Config] Count=n, [Sounds] Sound0..Sound<n-1> = filename;shortcut
inline constexpr const char* kConfigSection = "Config";
inline constexpr const char* kCountKey = "Count";
inline constexpr const char* kSoundsSection = "Sounds";

// The most entries a list can hold: each needs its own hotkey identifier, and
// there are 16000 of those. A list file claiming more is read up to this many.
inline constexpr int kMaxSounds = 16000;

std::string SoundKey(std::size_t index);
std::string SoundValue(std::string_view filename, std::string_view shortcutText);

struct TSoundValue
{
    std::string Filename;     // text before the first ';' (empty without one)
    std::string ShortCutText; // text after the first ';' (the whole value without one)
};
TSoundValue ParseSoundValue(std::string_view value);

// The number of entries a Count value asks for: a decimal (or 0x hex) number,
// 0 when it is absent or not a number or negative, at most kMaxSounds. One
// sign may stand in front (before the 0x); a second sign, after the first or
// after the 0x, makes the value not a number, however many digits follow.
int ParseCount(std::string_view value);

// One section of a list file as the system hands a whole section over (lines
// "key=value", each ended by a NUL, a second NUL at the end), looked up as
// reading each key on its own would: names compared without regard to case,
// the first of two equal names wins, a value enclosed in a pair of the same
// quote marks loses them, and at most 2047 characters of a value are seen.
// Reading the section once keeps a list of thousands of entries quick.
class TProfileSection
{
public:
    explicit TProfileSection(std::string_view block);
    std::string Value(std::string_view key, std::string_view fallback) const;

private:
    std::unordered_map<std::string, std::string> values_;
};

// Hotkey identifiers are drawn from the C runtime's generator (the classic
// Windows one, reproduced here so it behaves the same everywhere).
class TRandom
{
public:
    void Seed(std::uint32_t seed) { state_ = seed; }
    int Next()
    { // 0 .. 32767
        state_ = state_ * 214013u + 2531011u;
        return static_cast<int>((state_ >> 16) & 0x7FFF);
    }

private:
    std::uint32_t state_ = 1;
};

// A fresh identifier 1..16000 that no entry holds (the entry about to take it
// included): reseed with the time in seconds, then draw until one is free.
std::int32_t NewHotKeyID(const TSoundList& list, std::uint32_t timeSeconds);

// Index of the first entry holding `id`, or -1.
int IndexFromID(const TSoundList& list, std::int32_t id);

// The platform's hotkey modifier flags for a shortcut code.
inline constexpr unsigned kModAlt = 1, kModControl = 2, kModShift = 4;
unsigned HotKeyModifiers(std::uint16_t code);
inline unsigned HotKeyKey(std::uint16_t code)
{
    return code & 0xFFu;
}

// Texts shown about the list.
std::string UnsavedChangesText(std::string_view listTitle);
std::string DuplicateShortcutText(std::size_t index, std::string_view filename,
                                  std::string_view shortcutText);
// `gameDirectory` is the game directory with its trailing '\', or empty.
std::string GameDirectoryStatusText(std::string_view gameDirectory);
inline constexpr const char* kCurrentSoundPrefix = "Current Sound: ";
inline constexpr const char* kTitleSuffix = " - Cuebinder";

} // namespace cb
