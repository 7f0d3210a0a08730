#include "core/wav.h"

#include <algorithm>
#include <cstring>

namespace wav {

namespace {

constexpr uint16_t kPcm = 1;
constexpr uint16_t kFloat = 3;
constexpr uint16_t kExtensible = 0xFFFE;
constexpr uint64_t kRiffLimit = 0xFFFFFFFFull;

// The tail of the KSDATAFORMAT_SUBTYPE GUIDs after their first two bytes.
const uint8_t kSubtypeTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                  0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

uint16_t U16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t U32(const uint8_t* p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

void Put16(std::vector<uint8_t>& v, uint16_t x)
{
    v.push_back(uint8_t(x));
    v.push_back(uint8_t(x >> 8));
}

void Put32(std::vector<uint8_t>& v, uint32_t x)
{
    for (int i = 0; i < 4; ++i)
        v.push_back(uint8_t(x >> (8 * i)));
}

void PutId(std::vector<uint8_t>& v, const char* id)
{
    v.insert(v.end(), id, id + 4);
}

bool ReadExactly(const Reader& read, uint64_t offset, void* buffer, size_t n)
{
    return read(offset, buffer, n) == n;
}

Error ParseFormat(const uint8_t* f, uint32_t size, Info* info)
{
    uint16_t tag = U16(f);
    const uint16_t channels = U16(f + 2);
    const uint32_t rate = U32(f + 4);
    const uint16_t align = U16(f + 12);
    const uint16_t bits = U16(f + 14);
    uint16_t valid = bits;
    if (tag == kExtensible) {
        if (size < 40 || U16(f + 16) < 22)
            return Error::TruncatedHeader;
        valid = U16(f + 18);
        const uint8_t* guid = f + 24;
        if (std::memcmp(guid + 2, kSubtypeTail, sizeof kSubtypeTail) != 0)
            return Error::Compressed;
        tag = U16(guid);
        info->extensible = true;
    }
    if (tag == kFloat)
        return Error::FloatSamples;
    if (tag != kPcm)
        return Error::Compressed;
    if (bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return Error::UnsupportedBits;
    if (channels == 0 || rate == 0 || align != channels * (bits / 8) || valid == 0 || valid > bits)
        return Error::BadFormat;
    info->format = dsp::MakePcmFormat(channels, rate, bits);
    if (!dsp::FormatDescribesAudio(info->format))
        return Error::BadFormat;
    info->validBits = valid;
    return Error::None;
}

} // namespace

const char* Describe(Error error)
{
    switch (error) {
    case Error::None:
        return "no error";
    case Error::TooShort:
        return "the file is too short to be a WAV file";
    case Error::NotRiff:
        return "not a WAV file (no RIFF/WAVE signature)";
    case Error::TruncatedHeader:
        return "the WAV header is truncated";
    case Error::NoFormat:
        return "the WAV file has no format chunk before its data";
    case Error::FloatSamples:
        return "floating-point samples are not supported (integer PCM only)";
    case Error::Compressed:
        return "compressed or non-PCM audio is not supported (integer PCM only)";
    case Error::BadFormat:
        return "the WAV format chunk describes no usable PCM audio";
    case Error::UnsupportedBits:
        return "only 8, 16, 24 and 32-bit samples are supported";
    case Error::NoData:
        return "the WAV file has no data chunk";
    case Error::DataPastEnd:
        return "the data chunk runs past the end of the file";
    }
    return "unknown error";
}

Error Parse(const Reader& read, uint64_t fileSize, Info* info)
{
    *info = Info{};
    if (fileSize < 12)
        return Error::TooShort;
    uint8_t head[12];
    if (!ReadExactly(read, 0, head, sizeof head))
        return Error::TooShort;
    if (std::memcmp(head, "RIFF", 4) != 0 || std::memcmp(head + 8, "WAVE", 4) != 0)
        return Error::NotRiff;
    bool haveFormat = false;
    uint64_t at = 12;
    for (;;) {
        if (at + 8 > fileSize) {
            // Running out of chunks exactly at the end is a missing chunk; a cut
            // chunk header is a truncated file.
            if (at < fileSize)
                return Error::TruncatedHeader;
            return haveFormat ? Error::NoData : Error::NoFormat;
        }
        uint8_t chunk[8];
        if (!ReadExactly(read, at, chunk, sizeof chunk))
            return Error::TruncatedHeader;
        const uint32_t size = U32(chunk + 4);
        const uint64_t body = at + 8;
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (body + std::min<uint32_t>(size, 40) > fileSize)
                return Error::TruncatedHeader;
            if (size < 16)
                return Error::BadFormat;
            uint8_t f[40] = {};
            if (!ReadExactly(read, body, f, std::min<uint32_t>(size, 40)))
                return Error::TruncatedHeader;
            const Error e = ParseFormat(f, size, info);
            if (e != Error::None)
                return e;
            haveFormat = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!haveFormat)
                return Error::NoFormat;
            if (body + size > fileSize)
                return Error::DataPastEnd;
            info->dataOffset = body;
            info->dataBytes = dsp::WholeFrames(size, info->format);
            return Error::None;
        }
        at = body + size + (size & 1);
    }
}

Error ParseBytes(const uint8_t* bytes, size_t size, Info* info)
{
    Reader read = [bytes, size](uint64_t offset, void* buffer, size_t n) -> size_t {
        if (offset >= size)
            return 0;
        const size_t got = static_cast<size_t>(std::min<uint64_t>(n, size - offset));
        std::memcpy(buffer, bytes + offset, got);
        return got;
    };
    return Parse(read, size, info);
}

std::vector<uint8_t> MakeHeader(const dsp::WaveFormat& format, uint64_t dataBytes)
{
    const bool extensible = format.channels > 2 || format.bitsPerSample > 16;
    const uint32_t fmtSize = extensible ? 40 : 16;
    const uint64_t riffSize = 4 + (8 + fmtSize) + 8 + dataBytes + PadBytes(dataBytes);
    if (riffSize > kRiffLimit || dataBytes > kRiffLimit)
        return {};
    const uint16_t align = format.blockAlign
                               ? format.blockAlign
                               : static_cast<uint16_t>(format.channels * ((format.bitsPerSample + 7) / 8));
    std::vector<uint8_t> h;
    h.reserve(68);
    PutId(h, "RIFF");
    Put32(h, static_cast<uint32_t>(riffSize));
    PutId(h, "WAVE");
    PutId(h, "fmt ");
    Put32(h, fmtSize);
    Put16(h, extensible ? kExtensible : kPcm);
    Put16(h, format.channels);
    Put32(h, format.samplesPerSec);
    Put32(h, align * format.samplesPerSec);
    Put16(h, align);
    Put16(h, format.bitsPerSample);
    if (extensible) {
        Put16(h, 22);
        Put16(h, format.bitsPerSample); // valid bits
        Put32(h, 0);                    // channel mask: not given
        Put16(h, kPcm);
        h.insert(h.end(), kSubtypeTail, kSubtypeTail + sizeof kSubtypeTail);
    }
    PutId(h, "data");
    Put32(h, static_cast<uint32_t>(dataBytes));
    return h;
}

std::vector<uint8_t> MakeFile(const dsp::WaveFormat& format, const std::vector<uint8_t>& samples)
{
    std::vector<uint8_t> file = MakeHeader(format, samples.size());
    file.insert(file.end(), samples.begin(), samples.end());
    if (PadBytes(samples.size()))
        file.push_back(0);
    return file;
}

} // namespace wav
