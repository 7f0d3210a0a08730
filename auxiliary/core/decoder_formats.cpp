#include "decoder_formats.h"

#include <cstring>

#include "suite_paths.h"

namespace auxiliary {

namespace {

template <size_t N>
void CopyBounded(char (&field)[N], std::string_view text)
{
    const size_t n = text.size() < N - 1 ? text.size() : N - 1;
    std::memcpy(field, text.data(), n);
    std::memset(field + n, 0, N - n);
}

} // namespace

DecoderFormat MakeDecoderFormat(std::string_view extension, std::string_view description,
                                std::string_view library)
{
    DecoderFormat format;
    CopyBounded(format.extension, extension);
    CopyBounded(format.description, description);
    CopyBounded(format.library, library);
    return format;
}

int CollectDecoderFormats(const WhatFormatsCall& whatFormats, std::string_view library,
                          std::vector<DecoderFormat>& formats)
{
    int added = 0;
    for (int index = 0; index < kMaxFormatsPerDecoder; ++index) {
        char extension[260] = {};
        char description[260] = {};
        whatFormats(index, extension, description);
        // A library that fills a buffer to the end gets it cut, not overrun.
        extension[259] = '\0';
        description[259] = '\0';
        if (extension[0] == '\0')
            break;
        formats.push_back(MakeDecoderFormat(extension, description, library));
        ++added;
    }
    return added;
}

int FindDecoderIndex(const std::vector<DecoderFormat>& formats, const std::vector<std::string>& libraries,
                     std::string_view extension)
{
    for (const DecoderFormat& format : formats) {
        if (!SameIgnoringCase(format.extension, extension))
            continue;
        for (size_t i = 0; i < libraries.size(); ++i) {
            if (libraries[i] == format.library)
                return static_cast<int>(i);
        }
        return -1;
    }
    return -1;
}

} // namespace auxiliary
