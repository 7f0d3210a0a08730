#include "core/panel_number.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace dsp {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// True when `p` begins with `word` in any case.
bool StartsWithWord(const char* p, const char* word)
{
    for (; *word; ++p, ++word) {
        if (*p == '\0' || (*p | 0x20) != *word)
            return false;
    }
    return true;
}

} // namespace

TextNumber ReadTextNumber(const char* text)
{
    TextNumber n;
    if (text == nullptr)
        return n;
    const char* p = text;
    while (IsBlank(*p))
        ++p;
    const char* start = p;
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+')
        ++p;
    if (StartsWithWord(p, "inf") || StartsWithWord(p, "nan")) {
        n.found = true;
        n.finite = false;
        n.value = (*p | 0x20) == 'n' ? std::nan("") : negative ? -HUGE_VAL : HUGE_VAL;
        return n;
    }
    // The whole part, as strtol reads it (held to 64 bits).
    uint64_t magnitude = 0;
    bool digits = false;
    for (; IsDigit(*p); ++p) {
        digits = true;
        const uint64_t digit = static_cast<uint64_t>(*p - '0');
        if (magnitude > (UINT64_MAX - digit) / 10)
            n.wholeFits = false;
        else
            magnitude = magnitude * 10 + digit;
    }
    if (n.wholeFits) {
        const uint64_t limit = negative ? uint64_t{INT64_MAX} + 1 : uint64_t{INT64_MAX};
        if (magnitude > limit)
            n.wholeFits = false;
        else if (negative)
            n.whole = magnitude == limit ? INT64_MIN : -static_cast<int64_t>(magnitude);
        else
            n.whole = static_cast<int64_t>(magnitude);
    }
    if (*p == '.') {
        ++p;
        for (; IsDigit(*p); ++p)
            digits = true;
    }
    if (!digits)
        return n; // no number: 0
    if (*p == 'e' || *p == 'E') {
        const char* e = p + 1;
        if (*e == '-' || *e == '+')
            ++e;
        if (IsDigit(*e)) {
            while (IsDigit(*e))
                ++e;
            p = e;
        }
    }
    n.found = true;
    // Only the decimal token goes to strtod, so every C library reads it alike.
    const std::string token(start, p);
    n.value = std::strtod(token.c_str(), nullptr);
    n.finite = std::isfinite(n.value);
    return n;
}

bool WholeNumberTextFits(const char* text, int64_t min, int64_t max)
{
    const TextNumber n = ReadTextNumber(text);
    if (!n.found)
        return true;
    return n.finite && n.wholeFits && n.whole >= min && n.whole <= max;
}

} // namespace dsp
