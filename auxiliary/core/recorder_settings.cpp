#include "recorder_settings.h"

namespace auxiliary::settings {

std::string CodecKey(std::string_view codec)
{
    return std::string(kCodecKeyPrefix) + std::string(codec);
}

uint32_t ListPosition(uint32_t stored, size_t count)
{
    return stored < count ? stored : 0;
}

std::string TextOrDefault(std::string_view stored, const char* defaultText)
{
    return stored.empty() ? std::string(defaultText) : std::string(stored);
}

std::string MixerCommandLine(std::string_view systemDirectory)
{
    std::string line = "\"";
    line += systemDirectory;
    if (line.back() != '\\')
        line += '\\';
    line += "sndvol32.exe\" -r";
    return line;
}

std::string CompressionSettingsText(std::string_view codec)
{
    return "Compression Settings for '" + std::string(codec) + "'";
}

} // namespace auxiliary::settings
