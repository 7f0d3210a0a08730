// The plug-ins of both widths give the same bytes. Every run of this test
// applies each plug-in, with settings away from its defaults, to the same
// noise (with silent ends, for the silence remover) and writes the format
// record it reported and the file's bytes to width-outputs/win<width>/ beside
// the build trees. The 32-bit run, which comes after the 64-bit one, then
// compares each of its results with the 64-bit result of the same case:
// a 32-bit converter must get exactly what a 64-bit one gets.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "testing/plugin_support.h"
#include "testing/plugin_under_test.h"

using namespace dsp::testing;

namespace {

using Bytes = std::vector<uint8_t>;
using Settings = std::vector<std::pair<std::string, uint32_t>>;

struct Case
{
    const char* name;
    const char* dll;
    Settings settings;
    int channels;
    int bits;
};

Settings EveryBandMoved()
{
    Settings bands;
    for (int band = 0; band < 18; ++band)
        bands.emplace_back("EQ-Pos" + std::to_string(band), static_cast<uint32_t>(band * 23 % 400 - 200));
    return bands;
}

const std::vector<Case>& Cases()
{
    static const std::vector<Case> cases = {
        {"equaliser-16", "Equaliser.dll", EveryBandMoved(), 2, 16},
        {"equaliser-24", "Equaliser.dll", EveryBandMoved(), 1, 24},
        {"dither16-from-24", "Dither16.dll", {}, 2, 24},
        {"dither8-from-16", "Dither8.dll", {}, 2, 16},
        {"bits24-from-16", "Bits24.dll", {}, 2, 16},
        {"silence-remover-both-ends",
         "SilenceRemover.dll",
         {{"Silence-Remove-Begin", 1},
          {"Silence-Remove-NotEnd", 0},
          {"Silence-Remove-Level", 3},
          {"Silence-DetectionThresholdms", 20}},
         2,
         16},
        {"channel-mix-to-mono",
         "ChannelMover.dll",
         {{"ChannelMove-ChannelCount", 1}, {"ChannelMove-Downsample", 2}},
         2,
         16},
        {"channel-moves",
         "ChannelMover.dll",
         {{"ChannelMove-ch-from-0", 1},
          {"ChannelMove-ch-to-0", 2},
          {"ChannelMove-ch-from-1", 2},
          {"ChannelMove-ch-to-1", 1}},
         2,
         24},
        {"fader-in-and-out",
         "Fader.dll",
         {{"Vol-Fade-In", 0xFFFFFFFFu},
          {"Vol-Fade-InLength", 700},
          {"Vol-Fade-Out", 0xFFFFFFFFu},
          {"Vol-Fade-OutLength", 900}},
         2,
         24},
        {"grabber-from-end",
         "Grabber.dll",
         {{"Sound-Grabber-Len", 800}, {"Sound-Grabber-Position", 300}, {"Sound-Grabber-FromEnd", 1}},
         2,
         16},
        {"min-length", "MinLength.dll", {{"Min-Len-mSec", 3500}}, 2, 16},
        {"quietener", "Quietener.dll", {{"Vol-Quiet-PCLessenBy", 37}}, 2, 24},
        {"reverser", "Reverser.dll", {}, 2, 24},
        {"silence-inserter",
         "SilenceInserter.dll",
         {{"Silence-LenStart-mSec", 250}, {"Silence-Len-mSec", 125}},
         1,
         16},
        {"trimmer", "Trimmer.dll", {{"Trim-Begin-Len", 150}, {"Trim-End-Len", 333}}, 2, 16},
    };
    return cases;
}

Settings AllSettingNames()
{
    Settings names;
    for (const Case& c : Cases())
        names.insert(names.end(), c.settings.begin(), c.settings.end());
    return names;
}

std::vector<std::string> Names(const Settings& settings)
{
    std::vector<std::string> names;
    for (const auto& s : settings)
        names.push_back(s.first);
    return names;
}

// A quarter second of silence, two seconds of noise, a quarter of silence.
Bytes Audio(int channels, int bits)
{
    const size_t frame = static_cast<size_t>(channels) * (bits / 8);
    const size_t quarter = 11025 * frame;
    Bytes audio(quarter, 0);
    const Bytes noise = Pattern(8 * quarter, 1234);
    audio.insert(audio.end(), noise.begin(), noise.end());
    audio.resize(audio.size() + quarter, 0);
    return audio;
}

// The width folder's file of a case: the 18-byte format record, then the bytes.
std::string OutputPath(int width, const Case& c)
{
    return std::string(CB_WIDTH_OUTPUTS) + "/win" + std::to_string(width) + "/" + c.name + ".out";
}

TEST(WidthOutputs, EveryPlugInGivesTheSameBytesInBothWidths)
{
    RegistryScope registry(Names(AllSettingNames()));
    CreateDirectoryA(CB_WIDTH_OUTPUTS, nullptr);
    CreateDirectoryA((std::string(CB_WIDTH_OUTPUTS) + "/win" + std::to_string(CB_WIDTH)).c_str(), nullptr);
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.name);
        RegistryScope caseRegistry(Names(c.settings));
        for (const auto& s : c.settings)
            SetNumber(s.first.c_str(), s.second);
        PluginUnderTest plugin(c.dll);
        ASSERT_TRUE(plugin.Loaded());
        const std::string file = ScratchFile((std::string(c.name) + ".raw").c_str());
        const Bytes input = Audio(c.channels, c.bits);
        ASSERT_TRUE(WriteFileBytes(file, input));
        WAVEFORMATEX format = MakeFormat(c.channels, 44100, c.bits);
        ASSERT_EQ(plugin.Work(file, format), 1);
        Bytes result(sizeof(WAVEFORMATEX));
        std::memcpy(result.data(), &format, sizeof format);
        const Bytes audio = ReadFileBytes(file);
        result.insert(result.end(), audio.begin(), audio.end());
        EXPECT_NE(audio, input) << "the settings change nothing, so the case compares nothing";
        ASSERT_TRUE(WriteFileBytes(OutputPath(CB_WIDTH, c), result));

        if (CB_WIDTH == 32) {
            const std::string reference = OutputPath(64, c);
            ASSERT_TRUE(FileExists(reference)) << reference << " is missing: the 64-bit tests run first";
            const Bytes expected = ReadFileBytes(reference);
            EXPECT_EQ(FirstDifference(result, expected), -1)
                << "the 32-bit result (format record, then audio) differs from the 64-bit one at that byte; "
                << result.size() << " against " << expected.size() << " bytes";
        }
    }
}

} // namespace
