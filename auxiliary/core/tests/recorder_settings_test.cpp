// The recorder settings' portable rules: list positions, text defaults, the
// mixer's command line and the compression dialog's text.
#include <gtest/gtest.h>

#include <string>

#include "recorder_settings.h"

namespace {

namespace s = auxiliary::settings;

TEST(AuxRecorderSettings, StoredListPositionsAndTextsReadAsTheDialogsShowThem)
{
    const struct
    {
        uint32_t stored;
        size_t count;
        uint32_t shown;
    } positions[] = {{0, 6, 0}, {5, 6, 5}, {6, 6, 0}, {0xFFFFFFFF, 9, 0}, {8, 9, 8}, {0, 0, 0}};
    for (const auto& p : positions)
        EXPECT_EQ(s::ListPosition(p.stored, p.count), p.shown) << p.stored << " of " << p.count;

    EXPECT_EQ(s::TextOrDefault("", s::kDefaultAutoEndFor), "3000");
    EXPECT_EQ(s::TextOrDefault("x", s::kDefaultAutoEndFor), "x");
    EXPECT_EQ(s::TextOrDefault(" ", s::kDefaultFileCreation), " ");
    EXPECT_EQ(s::CodecKey("Mp3 (Lame)"), "Software\\Marrowby\\Tonvask\\tVCCodec\\Mp3 (Lame)");
}

TEST(AuxRecorderSettings, TheMixerCommandLineQuotesTheProgramInTheSystemDirectory)
{
    const struct
    {
        const char* system;
        const char* line;
    } cases[] = {
        {"C:\\windows\\system32", "\"C:\\windows\\system32\\sndvol32.exe\" -r"},
        {"C:\\windows\\system32\\", "\"C:\\windows\\system32\\sndvol32.exe\" -r"},
        {"C:\\Program Files\\sys", "\"C:\\Program Files\\sys\\sndvol32.exe\" -r"},
        {"", "\"\\sndvol32.exe\" -r"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(s::MixerCommandLine(c.system), c.line) << c.system;
    EXPECT_EQ(s::CompressionSettingsText("Mp3 (Lame)"), "Compression Settings for 'Mp3 (Lame)'");
    EXPECT_EQ(s::CompressionSettingsText(""), "Compression Settings for ''");
}

} // namespace
