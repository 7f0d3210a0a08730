#include "core/ScriptText.h"

namespace cb {

const std::vector<std::string>& AutoexecScriptPieces()
{
    static const std::vector<std::string> pieces = {
        "\r\n\r\n// Cuebinder Script\r\n",
        "//\r\n",
        "// Script by Corwick & Pellam\r\n\r\n",
        "alias +PlayWAV \"voice_inputfromfile 1; voice_loopback 1; +voicerecord\"\r\n",
        "alias -PlayWAV \"voice_inputfromfile 0; voice_loopback 0; -voicerecord\"\r\n\r\n",
        "alias StartWAV \"voice_inputfromfile 1; voice_loopback 1; +voicerecord; alias ToggleWAV "
        "StopWAV\"\r\n",
        "alias StopWAV  \"voice_inputfromfile 0; voice_loopback 0; -voicerecord; alias ToggleWAV "
        "StartWAV\"\r\n\r\n",
        "alias ToggleWAV \"StartWAV\"\r\n\r\n",
        "echo \"Hold down INSERT to play a WAV.\"\r\n",
        "echo \"Press DELETE to toggle the WAV On/Off.\"\r\n",
    };
    return pieces;
}

const std::vector<std::string>& ConfigBindingPieces()
{
    // The bindings name +PlayWav and ToggleWav in exactly this letter case.
    static const std::vector<std::string> pieces = {
        "\r\n\r\nbind \"ins\" \"+PlayWav\"\r\n",
        "bind \"del\" \"ToggleWav\"\r\n",
    };
    return pieces;
}

namespace {
std::string Join(const std::vector<std::string>& pieces)
{
    std::string all;
    for (const auto& p : pieces)
        all += p;
    return all;
}
} // namespace

std::string AutoexecScriptText()
{
    return Join(AutoexecScriptPieces());
}

std::string ConfigBindingText()
{
    return Join(ConfigBindingPieces());
}

const std::vector<std::string>& ModChoiceCaptions()
{
    static const std::vector<std::string> captions = {
        "Veltrane (No Mod)", "Skarrow", "Harrowkeep", "Ironmarch", "Rebound", "Other",
    };
    return captions;
}

std::string ModFolderFor(ModChoice choice, const std::string& otherText)
{
    switch (choice) {
    case ModChoice::Mainline:
        return "mainline\\";
    case ModChoice::Skarrow:
        return "skarrow\\";
    case ModChoice::Harrowkeep:
        return "tkf\\";
    case ModChoice::Ironmarch:
        return "dwd\\";
    case ModChoice::Rebound:
        return "rebound\\";
    case ModChoice::Other:
        break;
    }
    return otherText + "\\";
}

} // namespace cb
