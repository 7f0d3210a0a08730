// Numbers typed into a plug-in panel, checked before they are used: a text
// that spells a number that is not finite, or whose whole part a setting
// cannot hold, is refused (the field keeps its last valid text).
#pragma once

#include <cstdint>

namespace dsp {

// The number a field's text begins with, read after leading blanks as a
// decimal number: a sign, digits, a fraction and an exponent.
struct TextNumber
{
    bool found = false;    // the text begins with digits (after blanks and a sign)
    bool finite = true;    // false for "inf", "nan" and numbers beyond a double
    double value = 0;      // the number as strtod reads it (0 when none was found)
    bool wholeFits = true; // false when the whole part is beyond 64 bits
    int64_t whole = 0;     // the digits before a '.' or 'e': what strtol reads
};

TextNumber ReadTextNumber(const char* text);

// True when a field whose setting takes whole numbers from `min` to `max` may
// use the text: its number is finite and its whole part lies in the range. A
// text that begins with no number fits (such fields read it as 0).
bool WholeNumberTextFits(const char* text, int64_t min, int64_t max);

} // namespace dsp
