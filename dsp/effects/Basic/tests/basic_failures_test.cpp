// The failure paths the six basic plug-ins share: a file that is missing,
// locked by another program or read-only, and a format record that cannot
// describe audio. None of them may lose or change a byte, leave a file
// behind or report success.
#include <gtest/gtest.h>

#include <utility>

#include "testing/plugin_under_test.h"
#include "testing/plugin_support.h"

using namespace dsp::testing;

namespace {

struct Effect
{
    const char* dll;
    std::vector<std::pair<const char*, uint32_t>> settings; // what makes it change the test file
};

const Effect kEffects[] = {
    {"SilenceInserter.dll", {{"Silence-LenStart-mSec", 100}, {"Silence-Len-mSec", 100}}},
    {"Grabber.dll",
     {{"Sound-Grabber-Len", 1000}, {"Sound-Grabber-Position", 100}, {"Sound-Grabber-FromEnd", 0}}},
    {"Reverser.dll", {}},
    {"MinLength.dll", {{"Min-Len-mSec", 10000}}},
    {"Quietener.dll", {{"Vol-Quiet-PCLessenBy", 50}}},
    {"Trimmer.dll", {{"Trim-Begin-Len", 100}, {"Trim-End-Len", 100}}},
};

std::vector<std::string> SettingNames()
{
    std::vector<std::string> names;
    for (const Effect& e : kEffects) {
        for (const auto& s : e.settings)
            names.emplace_back(s.first);
    }
    return names;
}

class BasicEffects : public ::testing::Test
{
protected:
    BasicEffects() : registry_(SettingNames()) {}

    // Runs every effect once on a fresh copy of the audio, with `prepare`
    // putting the file into the state under test; checks that nothing changed.
    template <class Prepare>
    void ExpectNothingChanges(const char* what, WAVEFORMATEX format, Prepare prepare)
    {
        for (const Effect& e : kEffects) {
            for (const auto& s : e.settings)
                SetNumber(s.first, s.second);
            PluginUnderTest plugin(e.dll);
            ASSERT_TRUE(plugin.Loaded()) << e.dll;
            const std::string dir = ScratchDir(), file = dir + "audio.raw";
            WriteFileBytes(file, audio_);
            // Sanity: with a usable record and a free file, the effect does change it.
            const std::string probe = dir + "probe.raw";
            WriteFileBytes(probe, audio_);
            WAVEFORMATEX good = MakeFormat(2, 8000, 16);
            ASSERT_EQ(plugin.Work(probe, good), 1) << e.dll;
            ASSERT_NE(ReadFileBytes(probe), audio_) << e.dll;
            DeleteFileA(probe.c_str());

            WAVEFORMATEX f = format;
            EXPECT_EQ(prepare(plugin, file, f), 0) << e.dll << ": " << what;
            if (GetFileAttributesA(file.c_str()) != INVALID_FILE_ATTRIBUTES) {
                EXPECT_EQ(ReadFileBytes(file), audio_) << e.dll << ": " << what;
                EXPECT_EQ(FolderEntries(dir), OnlyInput()) << e.dll << ": " << what;
            } else {
                EXPECT_TRUE(FolderEntries(dir).empty()) << e.dll << ": " << what;
            }
        }
    }

    const std::vector<uint8_t> audio_ = Pattern(4 * 8000); // one second of 8000 Hz stereo 16-bit

private:
    RegistryScope registry_;
};

TEST_F(BasicEffects, AMissingFileFails)
{
    ExpectNothingChanges("missing", MakeFormat(2, 8000, 16),
                         [](PluginUnderTest& p, const std::string& file, WAVEFORMATEX& f) {
                             DeleteFileA(file.c_str());
                             return p.Work(file, f);
                         });
}

TEST_F(BasicEffects, AFileLockedByAnotherProgramIsLeftAsItWas)
{
    ExpectNothingChanges("locked", MakeFormat(2, 8000, 16),
                         [](PluginUnderTest& p, const std::string& file, WAVEFORMATEX& f) {
                             HeldFile held(file);
                             EXPECT_TRUE(held.Held());
                             return p.Work(file, f);
                         });
}

TEST_F(BasicEffects, AReadOnlyFileIsLeftAsItWas)
{
    ExpectNothingChanges("read-only", MakeFormat(2, 8000, 16),
                         [](PluginUnderTest& p, const std::string& file, WAVEFORMATEX& f) {
                             ReadOnlyFile readOnly(file);
                             return p.Work(file, f);
                         });
}

TEST_F(BasicEffects, RecordsThatCannotDescribeAudioAreRefused)
{
    struct Bad
    {
        const char* what;
        WAVEFORMATEX format;
    };
    WAVEFORMATEX noChannels = MakeFormat(2, 8000, 16), fourBits = noChannels, noRate = noChannels,
                 huge = noChannels;
    noChannels.nChannels = 0;
    fourBits.wBitsPerSample = 4;
    noRate.nSamplesPerSec = 0;
    huge.nBlockAlign = 65535;
    huge.nSamplesPerSec = 4000000000u;
    for (const Bad& b : {Bad{"no channels", noChannels}, Bad{"4 bits", fourBits}, Bad{"rate 0", noRate},
                         Bad{"a second too large", huge}}) {
        ExpectNothingChanges(
            b.what, b.format,
            [](PluginUnderTest& p, const std::string& file, WAVEFORMATEX& f) { return p.Work(file, f); });
    }
}

} // namespace
