// The recorder's main window as plain arithmetic and data: the genre table,
// track names, the track count typed into its box, smart track length texts,
// screen scaling and the layout of the list and status bar. The skin's files
// and colours are in skin_core.h.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace auxiliary {

// The genre list: the 126 names of the ID3v1 table with its extensions
// (numbers 0 to 125), followed by two "Undefined".
constexpr size_t kGenreCount = 128;
extern const char* const kGenres[kGenreCount];

// "Track%02d" for a 1-based list position.
std::string TrackName(int number);

// The track count typed into its box, read as a decimal number (its leading
// digits after blanks; no digits read as 0), held at 0..kMaxTracks.
int TrackCountFromText(std::string_view text);

// The years of the Year list: `currentYear` down to 1995 (just the current
// year when that lies before 1995).
std::vector<std::string> YearChoices(int currentYear);

// ---- Smart track length ----

// The two edits as the user sees them for a stored text: "3:07" gives "3"
// and "7"; "45" gives "" and "45"; "0:00", "0" and "" give two empty edits.
struct SmartLengthFields
{
    std::string minutes;
    std::string seconds;
};
SmartLengthFields SmartLengthToFields(std::string_view text);
// The stored text for the two edits' texts (each read as a decimal number):
// minutes not 0 give "%d:%02d", else seconds not 0 give "%d", else "".
std::string SmartLengthFromFields(std::string_view minutes, std::string_view seconds);

// ---- Screen scaling ----

// Horizontal lengths grow 6 % more than plain scaling: at 96 dpi a stays a,
// otherwise dpi * (a * 106 / 100) / 96 in integer arithmetic.
int ScaleX(int a, int dpi);
// Vertical lengths scale plainly: b * dpi / 96.
int ScaleY(int b, int dpi);

// ---- Layout ----

struct Box
{
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const Box&) const = default;
};

// The height of the header band: the horizontal scaling of 45.
int HeaderHeight(int dpi);

struct MainLayout
{
    Box list;
    Box statusFrame;
    Box statusText;
};
// Where the track list and the status bar go in a client area of the given
// size (the smart-length band always shown). Sizes never go below 0.
MainLayout LayoutMainWindow(int clientWidth, int clientHeight, int dpi);

} // namespace auxiliary
