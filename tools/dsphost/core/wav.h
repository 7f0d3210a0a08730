// Reading and writing the RIFF WAVE container around raw PCM samples, for the
// command-line plug-in host. Portable: the file is reached through a reader
// callback, so any input (truncated, hostile, huge) can be parsed safely.
#pragma once

#include "core/wave_format.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace wav {

enum class Error {
    None,
    TooShort,        // fewer than 12 bytes: no RIFF header
    NotRiff,         // no "RIFF" / "WAVE" signature
    TruncatedHeader, // a chunk header or the format chunk is cut off by the end of the file
    NoFormat,        // no "fmt " chunk before the "data" chunk
    FloatSamples,    // IEEE float samples (plain or as an extensible subtype)
    Compressed,      // any other coding than integer PCM
    BadFormat,       // channels, rate, bits or block align that cannot be PCM
    UnsupportedBits, // integer PCM of a depth other than 8, 16, 24 or 32
    NoData,          // no "data" chunk
    DataPastEnd,     // the "data" chunk claims more bytes than the file has
};

// A sentence describing the error, for messages.
const char* Describe(Error error);

struct Info
{
    dsp::WaveFormat format{}; // format tag 1, extra size 0, as handed to a plug-in
    uint16_t validBits = 0;   // from an extensible header, else bitsPerSample
    bool extensible = false;
    uint64_t dataOffset = 0; // first sample byte in the file
    uint64_t dataBytes = 0;  // whole frames only
};

// Reads up to n bytes at offset into buffer; returns the count read.
using Reader = std::function<size_t(uint64_t offset, void* buffer, size_t n)>;

// Parses the header of a file of `fileSize` bytes.
Error Parse(const Reader& read, uint64_t fileSize, Info* info);
// The same over bytes in memory.
Error ParseBytes(const uint8_t* bytes, size_t size, Info* info);

// A header for `dataBytes` bytes of samples in `format`: plain PCM (16-byte
// format chunk) for up to 2 channels of up to 16 bits, else
// WAVE_FORMAT_EXTENSIBLE with the PCM subtype. Empty when the sizes do not
// fit a RIFF file (4 GiB).
std::vector<uint8_t> MakeHeader(const dsp::WaveFormat& format, uint64_t dataBytes);
// The pad byte that follows an odd-sized data chunk (0 or 1 bytes).
inline uint64_t PadBytes(uint64_t dataBytes)
{
    return dataBytes & 1;
}

// A whole WAV file in memory (header + samples + pad), for tests and small tools.
std::vector<uint8_t> MakeFile(const dsp::WaveFormat& format, const std::vector<uint8_t>& samples);

} // namespace wav
