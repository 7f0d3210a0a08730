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
    EXPECT_EQ(AutoexecScriptPieces().size(), 10u);
    EXPECT_EQ(AutoexecScriptText(), expected);
    EXPECT_EQ(AutoexecScriptText().size(), 522u);
    EXPECT_EQ(AutoexecScriptText().find('\0'), std::string::npos);
}

TEST(ScriptText, ConfigBindingsKeepTheirLetterCase)
{
    EXPECT_EQ(ConfigBindingPieces().size(), 2u);
    EXPECT_EQ(ConfigBindingText(), "\r\n\r\nbind \"ins\" \"+PlayWav\"\r\nbind \"del\" \"ToggleWav\"\r\n");
}

TEST(ScriptText, ModFolders)
{
    struct Case
    {
        ModChoice choice;
        const char* other;
        const char* folder;
        const char* caption;
    };
    const Case cases[] = {
        {ModChoice::Mainline, "ignored", "mainline\\", "Veltrane (No Mod)"},
        {ModChoice::Skarrow, "", "skarrow\\", "Skarrow"},
        {ModChoice::Harrowkeep, "", "tkf\\", "Harrowkeep"},
        {ModChoice::Ironmarch, "", "dwd\\", "Ironmarch"},
        {ModChoice::Rebound, "", "rebound\\", "Rebound"},
        {ModChoice::Other, "mymod", "mymod\\", "Other"},
        {ModChoice::Other, "", "\\", "Other"},
        {ModChoice::Other, "a\\b ", "a\\b \\", "Other"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ModFolderFor(c.choice, c.other), c.folder);
        EXPECT_EQ(ModChoiceCaptions()[static_cast<std::size_t>(c.choice)], c.caption);
    }
}
