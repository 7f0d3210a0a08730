// The progress value the reporting effects write before each block: the last
// value left in it is the percentage done before the last block.
#include <gtest/gtest.h>

#include "progress.h"
#include "testing/plugin_under_test.h"
#include "testing/plugin_support.h"

using namespace dsp::testing;

namespace {

constexpr uint32_t kUntouched = 777;

struct Case
{
    const char* dll;
    std::vector<std::pair<const char*, uint32_t>> settings;
    size_t bytes;  // of 8000 Hz mono 16-bit audio
    uint32_t last; // the value left behind
};

TEST(BasicEffectsProgress, LastValueIsThePercentageBeforeTheLastBlock)
{
    RegistryScope reg({"Vol-Quiet-PCLessenBy", "Sound-Grabber-Len", "Sound-Grabber-Position",
                       "Sound-Grabber-FromEnd", "Trim-Begin-Len", "Trim-End-Len", "Silence-LenStart-mSec",
                       "Silence-Len-mSec", "Min-Len-mSec"});
    const Case cases[] = {
        {"Quietener.dll", {{"Vol-Quiet-PCLessenBy", 50}}, 40000, 80}, // blocks at 0, 16000, 32000
        {"Reverser.dll", {}, 40000, 80},
        {"Grabber.dll", {{"Sound-Grabber-Len", 100000}}, 200000, 98},                  // pieces of 65536
        {"Trimmer.dll", {{"Trim-Begin-Len", 1000}, {"Trim-End-Len", 0}}, 216000, 98},  // 200000 copied
        {"Trimmer.dll", {{"Trim-Begin-Len", 1000}}, 16000, kUntouched},                // nothing left to copy
        {"SilenceInserter.dll", {{"Silence-LenStart-mSec", 1000}}, 40000, kUntouched}, // reports none
        {"MinLength.dll", {{"Min-Len-mSec", 10000}}, 40000, kUntouched},
    };
    for (const Case& c : cases) {
        for (const auto& s : c.settings)
            SetNumber(s.first, s.second);
        PluginUnderTest plugin(c.dll);
        dsp::Progress value; // keeps the value alive after the plug-in closes its own
        value.Write(kUntouched);
        const Outcome o = WorkOn(plugin, Pattern(c.bytes), MakeFormat(1, 8000, 16));
        EXPECT_EQ(o.result, 1) << c.dll;
        EXPECT_EQ(dsp::ProgressReader().Read(), c.last) << c.dll;
    }
}

} // namespace
