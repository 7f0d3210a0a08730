// The decoder table's portable half: the file types the suite's decoder
// libraries report, collected through their WhatFormats entry point, and the
// lookup of the library that handles an extension.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace auxiliary {

// One file type that a decoder library handles.
struct DecoderFormat
{
    char extension[100]; // with its leading dot, e.g. ".aux"
    char description[260];
    char library[260]; // path of the decoder library
};

DecoderFormat MakeDecoderFormat(std::string_view extension, std::string_view description,
                                std::string_view library);

// A library reporting more formats than this is taken to be looping; the
// list stops there.
constexpr int kMaxFormatsPerDecoder = 1024;

// Asks `whatFormats(index, extension, description)` (two 260-byte buffers,
// cleared before each call) for index 0, 1, 2, ... until the extension comes
// back empty, adding one DecoderFormat with `library` for each answer.
// Returns the number added.
using WhatFormatsCall = std::function<void(int index, char* extension, char* description)>;
int CollectDecoderFormats(const WhatFormatsCall& whatFormats, std::string_view library,
                          std::vector<DecoderFormat>& formats);

// The library that handles `extension`: the first format whose extension
// equals it without regard to case, then the first of `libraries` whose path
// equals that format's library path exactly. Its index in `libraries`, or -1.
int FindDecoderIndex(const std::vector<DecoderFormat>& formats, const std::vector<std::string>& libraries,
                     std::string_view extension);

} // namespace auxiliary
