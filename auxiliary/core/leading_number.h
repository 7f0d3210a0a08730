// The number at the start of a typed or stored text, as the main window and
// the skin read their fields and lines.
#pragma once

#include <string_view>

namespace auxiliary {

// Leading blanks, an optional sign, then decimal digits; no digits read as 0.
// Large numbers stop growing at about a billion instead of overflowing.
inline long LeadingNumber(std::string_view text)
{
    size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t'))
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+'))
        negative = text[at++] == '-';
    long value = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        if (value < 1000000000L)
            value = value * 10 + (text[at] - '0');
    }
    return negative ? -value : value;
}

} // namespace auxiliary
