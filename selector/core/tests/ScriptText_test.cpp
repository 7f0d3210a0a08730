#include "core/ScriptText.h"

#include <gtest/gtest.h>

TEST(ScriptText, AutoexecBlockExactBytes)
{
    const std::string expected =
        "\r\n\r\n// Cuebinder Script\r\n"
        "//\r\n"
        "// Script by Corwick & Pellam\r\n\r\n"
        "alias +PlayWAV \"voice_inputfromfile 1; voice_loopback 1; +voicerecord\"\r\n"
        "alias -PlayWAV \"voice_inputfromfile 0; voice_loopback 0; -voicerecord\"\r\n\r\n"
        "alias StartWAV \"voice_inputfromfile 1; voice_loopback 1; +voicerecord; alias ToggleWAV "
        "StopWAV\"\r\n"
        "alias StopWAV  \"voice_inputfromfile 0; voice_loopback 0; -voicerecord; alias ToggleWAV "
        "StartWAV\"\r\n\r\n"
        "alias ToggleWAV \"StartWAV\"\r\n\r\n"
        "echo \"Hold down INSERT to play a WAV.\"\r\n"
        "echo \"Press DELETE to toggle the WAV On/Off.\"\r\n";
    EXPECT_EQ(cb::AutoexecScriptPieces().size(), 10u);
    EXPECT_EQ(cb::AutoexecScriptText(), expected);
    EXPECT_EQ(cb::AutoexecScriptText().size(), 522u);
    EXPECT_EQ(cb::AutoexecScriptText().find('\0'), std::string::npos);
}

TEST(ScriptText, ConfigBindingsKeepTheirLetterCase)
{
    EXPECT_EQ(cb::ConfigBindingPieces().size(), 2u);
    EXPECT_EQ(cb::ConfigBindingText(), "\r\n\r\nbind \"ins\" \"+PlayWav\"\r\nbind \"del\" \"ToggleWav\"\r\n");
}

TEST(ScriptText, ModFolders)
{
    struct Case
    {
        cb::ModChoice choice;
        const char* other;
        const char* folder;
        const char* caption;
    };
    const Case cases[] = {
        {cb::ModChoice::Mainline, "ignored", "mainline\\", "Veltrane (No Mod)"},
        {cb::ModChoice::Skarrow, "", "skarrow\\", "Skarrow"},
        {cb::ModChoice::Harrowkeep, "", "tkf\\", "Harrowkeep"},
        {cb::ModChoice::Ironmarch, "", "dwd\\", "Ironmarch"},
        {cb::ModChoice::Rebound, "", "rebound\\", "Rebound"},
        {cb::ModChoice::Other, "mymod", "mymod\\", "Other"},
        {cb::ModChoice::Other, "", "\\", "Other"},
        {cb::ModChoice::Other, "a\\b ", "a\\b \\", "Other"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(cb::ModFolderFor(c.choice, c.other), c.folder);
        EXPECT_EQ(cb::ModChoiceCaptions()[static_cast<std::size_t>(c.choice)], c.caption);
    }
}
