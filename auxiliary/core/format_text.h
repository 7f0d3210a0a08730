// printf-style formatting into a std::string of whatever length it needs.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

namespace auxiliary {

template <class... Args>
std::string FormatText(const char* format, Args... args)
{
    const int n = std::snprintf(nullptr, 0, format, args...);
    std::string text(n > 0 ? static_cast<std::size_t>(n) : 0, '\0');
    if (n > 0)
        std::snprintf(text.data(), text.size() + 1, format, args...);
    return text;
}

} // namespace auxiliary
