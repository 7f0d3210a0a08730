// The WAV container code: exact headers written, every refusal, and no crash
// or out-of-range result on mutated, truncated or random input.
#include "core/wav.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

std::vector<uint8_t> Bytes(std::initializer_list<int> list)
{
    std::vector<uint8_t> v;
    for (int b : list)
        v.push_back(static_cast<uint8_t>(b));
    return v;
}

void Append(std::vector<uint8_t>& v, const std::string& s)
{
    v.insert(v.end(), s.begin(), s.end());
}

void Put32(std::vector<uint8_t>& v, uint32_t x)
{
    for (int i = 0; i < 4; ++i)
        v.push_back(uint8_t(x >> (8 * i)));
}

void Put16(std::vector<uint8_t>& v, uint16_t x)
{
    v.push_back(uint8_t(x));
    v.push_back(uint8_t(x >> 8));
}

// A WAV built by hand: RIFF header, optional extra chunk, fmt, data.
std::vector<uint8_t> Build(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits, uint32_t dataSize,
                           size_t dataPresent, bool extensible = false, uint16_t subtype = 1,
                           bool listFirst = false)
{
    std::vector<uint8_t> v;
    Append(v, "RIFF");
    Put32(v, 0); // fixed below
    Append(v, "WAVE");
    if (listFirst) {
        Append(v, "LIST");
        Put32(v, 5);
        Append(v, "abcde");
        v.push_back(0); // pad to even
    }
    Append(v, "fmt ");
    Put32(v, extensible ? 40 : 16);
    Put16(v, extensible ? 0xFFFE : tag);
    Put16(v, channels);
    Put32(v, rate);
    Put32(v, rate * channels * (bits / 8));
    Put16(v, uint16_t(channels * (bits / 8)));
    Put16(v, bits);
    if (extensible) {
        Put16(v, 22);
        Put16(v, bits);
        Put32(v, 3);
        Put16(v, subtype);
        const uint8_t tail[14] = {0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};
        v.insert(v.end(), tail, tail + 14);
    }
    Append(v, "data");
    Put32(v, dataSize);
    for (size_t i = 0; i < dataPresent; ++i)
        v.push_back(uint8_t(i));
    const uint32_t riff = uint32_t(v.size() - 8);
    std::memcpy(&v[4], &riff, 4);
    return v;
}

TEST(Wav, ParsesPlainAndExtensiblePcm)
{
    wav::Info info;
    auto plain = Build(1, 2, 44100, 16, 400, 400, false, 1, true);
    ASSERT_EQ(wav::ParseBytes(plain.data(), plain.size(), &info), wav::Error::None);
    EXPECT_EQ(info.format.formatTag, 1);
    EXPECT_EQ(info.format.channels, 2);
    EXPECT_EQ(info.format.samplesPerSec, 44100u);
    EXPECT_EQ(info.format.bitsPerSample, 16);
    EXPECT_EQ(info.format.blockAlign, 4);
    EXPECT_EQ(info.format.avgBytesPerSec, 176400u);
    EXPECT_EQ(info.format.extraSize, 0);
    EXPECT_FALSE(info.extensible);
    EXPECT_EQ(info.dataOffset, plain.size() - 400);
    EXPECT_EQ(info.dataBytes, 400u);

    auto ext = Build(1, 6, 48000, 24, 36, 36, true);
    ASSERT_EQ(wav::ParseBytes(ext.data(), ext.size(), &info), wav::Error::None);
    EXPECT_TRUE(info.extensible);
    EXPECT_EQ(info.format.formatTag, 1);
    EXPECT_EQ(info.format.channels, 6);
    EXPECT_EQ(info.format.bitsPerSample, 24);
    EXPECT_EQ(info.format.blockAlign, 18);
    EXPECT_EQ(info.dataBytes, 36u);

    // A trailing partial frame is left out.
    auto partial = Build(1, 2, 8000, 16, 7, 7);
    ASSERT_EQ(wav::ParseBytes(partial.data(), partial.size(), &info), wav::Error::None);
    EXPECT_EQ(info.dataBytes, 4u);
    for (int bits : {8, 16, 24, 32}) {
        auto f = Build(1, 1, 8000, uint16_t(bits), 0, 0);
        EXPECT_EQ(wav::ParseBytes(f.data(), f.size(), &info), wav::Error::None) << bits;
        EXPECT_EQ(info.dataBytes, 0u);
    }
}

TEST(Wav, RefusesWhatIsNotIntegerPcm)
{
    struct
    {
        std::vector<uint8_t> file;
        wav::Error error;
    } cases[] = {
        {{}, wav::Error::TooShort},
        {Bytes({'R', 'I', 'F', 'F'}), wav::Error::TooShort},
        {Bytes({'R', 'I', 'F', 'X', 0, 0, 0, 0, 'W', 'A', 'V', 'E'}), wav::Error::NotRiff},
        {Bytes({'R', 'I', 'F', 'F', 0, 0, 0, 0, 'A', 'V', 'I', ' '}), wav::Error::NotRiff},
        {Bytes({'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'}), wav::Error::NoFormat},
        {Bytes({'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm'}), wav::Error::TruncatedHeader},
        {Build(3, 2, 44100, 32, 8, 8), wav::Error::FloatSamples},
        {Build(1, 2, 44100, 32, 8, 8, true, 3), wav::Error::FloatSamples},
        {Build(2, 2, 44100, 16, 8, 8), wav::Error::Compressed}, // ADPCM
        {Build(0x55, 2, 44100, 16, 8, 8), wav::Error::Compressed},
        {Build(1, 2, 44100, 16, 8, 8, true, 2), wav::Error::Compressed},
        {Build(1, 2, 44100, 12, 8, 8), wav::Error::UnsupportedBits},
        {Build(1, 2, 44100, 4, 8, 8), wav::Error::UnsupportedBits},
        {Build(1, 0, 44100, 16, 8, 8), wav::Error::BadFormat},
        {Build(1, 2, 0, 16, 8, 8), wav::Error::BadFormat},
        {Build(1, 2, 44100, 16, 1000, 10), wav::Error::DataPastEnd},
        {Build(1, 2, 44100, 16, 0xFFFFFFFFu, 10), wav::Error::DataPastEnd},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        wav::Info info;
        EXPECT_EQ(wav::ParseBytes(cases[i].file.data(), cases[i].file.size(), &info), cases[i].error)
            << "case " << i << ": " << wav::Describe(cases[i].error);
    }

    // Data before the format chunk, and a file that ends after the format chunk.
    std::vector<uint8_t> dataFirst;
    Append(dataFirst, "RIFF");
    Put32(dataFirst, 16);
    Append(dataFirst, "WAVE");
    Append(dataFirst, "data");
    Put32(dataFirst, 0);
    wav::Info info;
    EXPECT_EQ(wav::ParseBytes(dataFirst.data(), dataFirst.size(), &info), wav::Error::NoFormat);
    auto noData = Build(1, 2, 44100, 16, 0, 0);
    noData.resize(noData.size() - 8);
    EXPECT_EQ(wav::ParseBytes(noData.data(), noData.size(), &info), wav::Error::NoData);
    // The format chunk cut in the middle.
    auto cut = Build(1, 2, 44100, 16, 0, 0);
    cut.resize(30);
    EXPECT_EQ(wav::ParseBytes(cut.data(), cut.size(), &info), wav::Error::TruncatedHeader);
    // Every error has its own sentence.
    EXPECT_STRNE(wav::Describe(wav::Error::FloatSamples), wav::Describe(wav::Error::Compressed));
}

TEST(Wav, WritesExactHeaders)
{
    const dsp::WaveFormat stereo16 = dsp::MakePcmFormat(2, 44100, 16);
    const std::vector<uint8_t> h = wav::MakeHeader(stereo16, 8);
    std::vector<uint8_t> expected;
    Append(expected, "RIFF");
    Put32(expected, 36 + 8);
    Append(expected, "WAVEfmt ");
    Put32(expected, 16);
    Put16(expected, 1);
    Put16(expected, 2);
    Put32(expected, 44100);
    Put32(expected, 176400);
    Put16(expected, 4);
    Put16(expected, 16);
    Append(expected, "data");
    Put32(expected, 8);
    EXPECT_EQ(h, expected);

    // More than 16 bits: extensible with the PCM subtype; odd data gets a pad byte.
    const dsp::WaveFormat mono24 = dsp::MakePcmFormat(1, 8000, 24);
    const std::vector<uint8_t> file = wav::MakeFile(mono24, {1, 2, 3});
    ASSERT_EQ(file.size(), 68u + 3 + 1);
    EXPECT_EQ(file[20], 0xFE);
    EXPECT_EQ(file[21], 0xFF);
    EXPECT_EQ(file.back(), 0);
    uint32_t riff = 0;
    std::memcpy(&riff, &file[4], 4);
    EXPECT_EQ(riff, file.size() - 8);
    wav::Info info;
    ASSERT_EQ(wav::ParseBytes(file.data(), file.size(), &info), wav::Error::None);
    EXPECT_TRUE(info.extensible);
    EXPECT_EQ(info.format.bitsPerSample, 24);
    EXPECT_EQ(info.dataBytes, 3u);
    EXPECT_EQ(info.dataOffset, 68u);

    EXPECT_TRUE(wav::MakeHeader(stereo16, 0x100000000ull).empty());
}

TEST(Wav, RoundTripsEveryDepthAndChannelCount)
{
    for (int bits : {8, 16, 24, 32})
        for (int channels : {1, 2, 3, 8}) {
            const dsp::WaveFormat f = dsp::MakePcmFormat(uint16_t(channels), 22050, uint16_t(bits));
            std::vector<uint8_t> samples(f.blockAlign * 10);
            for (size_t i = 0; i < samples.size(); ++i)
                samples[i] = uint8_t(i * 7);
            const std::vector<uint8_t> file = wav::MakeFile(f, samples);
            wav::Info info;
            ASSERT_EQ(wav::ParseBytes(file.data(), file.size(), &info), wav::Error::None);
            EXPECT_EQ(std::memcmp(&info.format, &f, sizeof f), 0) << bits << " bits " << channels << " ch";
            EXPECT_TRUE(std::equal(samples.begin(), samples.end(), file.begin() + info.dataOffset));
        }
}

// Whatever the bytes, parsing returns and a success always points inside the file.
void CheckRobust(const std::vector<uint8_t>& bytes)
{
    wav::Info info;
    const wav::Error e = wav::ParseBytes(bytes.data(), bytes.size(), &info);
    if (e == wav::Error::None) {
        ASSERT_LE(info.dataOffset + info.dataBytes, bytes.size());
        ASSERT_TRUE(dsp::FormatDescribesAudio(info.format));
        ASSERT_EQ(info.dataBytes % info.format.blockAlign, 0u);
    }
}

TEST(Wav, SurvivesTruncatedMutatedAndRandomInput)
{
    const std::vector<uint8_t> seeds[] = {Build(1, 2, 44100, 16, 40, 40, false, 1, true),
                                          Build(1, 6, 48000, 24, 36, 36, true)};
    for (const auto& seed : seeds)
        for (size_t n = 0; n <= seed.size(); ++n)
            CheckRobust(std::vector<uint8_t>(seed.begin(), seed.begin() + n));
    std::mt19937 rng(20261208);
    for (int round = 0; round < 20000; ++round) {
        std::vector<uint8_t> v = seeds[round % 2];
        const int edits = 1 + int(rng() % 8);
        for (int k = 0; k < edits; ++k) {
            switch (rng() % 4) {
            case 0:
                v[rng() % v.size()] = uint8_t(rng());
                break;
            case 1:
                v[rng() % v.size()] ^= uint8_t(1u << (rng() % 8));
                break;
            case 2:
                v.resize(rng() % (v.size() + 1));
                if (v.empty())
                    v.push_back(0);
                break;
            case 3: {
                const size_t at = rng() % v.size();
                const uint32_t x = rng();
                for (int b = 0; b < 4 && at + b < v.size(); ++b)
                    v[at + b] = uint8_t(x >> (8 * b));
                break;
            }
            }
        }
        CheckRobust(v);
    }
    for (int round = 0; round < 2000; ++round) {
        std::vector<uint8_t> v(rng() % 200);
        for (auto& b : v)
            b = uint8_t(rng());
        if (v.size() >= 12 && round % 2) {
            std::memcpy(v.data(), "RIFF", 4);
            std::memcpy(v.data() + 8, "WAVE", 4);
        }
        CheckRobust(v);
    }
}

} // namespace
