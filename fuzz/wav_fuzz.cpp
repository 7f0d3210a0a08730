// dsphost's WAV reader: any bytes parse or are refused; a parsed file's data
// lies inside it in whole frames, and the header made for that format parses
// back to the same format.
#include "core/wav.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    wav::Info info;
    if (wav::ParseBytes(data, size, &info) != wav::Error::None)
        return 0;
    fuzz::Require(info.dataOffset <= size && info.dataBytes <= size - info.dataOffset,
                  "data inside the file");
    const uint32_t frame = dsp::FrameBytes(info.format);
    fuzz::Require(info.dataBytes % frame == 0, "whole frames");
    const std::vector<uint8_t> header = wav::MakeHeader(info.format, info.dataBytes);
    if (header.empty())
        return 0;
    std::vector<uint8_t> file = header;
    file.resize(header.size() + info.dataBytes + wav::PadBytes(info.dataBytes));
    wav::Info again;
    fuzz::Require(wav::ParseBytes(file.data(), file.size(), &again) == wav::Error::None,
                  "made header parses");
    fuzz::Require(std::memcmp(&again.format, &info.format, sizeof info.format) == 0, "same format");
    fuzz::Require(again.dataBytes == info.dataBytes, "same data length");
    return 0;
}
