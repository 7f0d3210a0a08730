#include "stored_settings.h"

#include <windows.h>

#include <iterator>

#include "settings_store.h"

namespace auxiliary {

namespace store = dsp::settings;
using namespace settings;

namespace {

HKEY Root()
{
    return HKEY_CURRENT_USER;
}

std::string ReadSuiteText(const char* name, const char* key, const char* defaultText)
{
    return TextOrDefault(store::ReadText(name, Root(), key), defaultText);
}

} // namespace

RecorderOptions LoadRecorderOptions()
{
    RecorderOptions o;
    o.device = store::ReadNumber(kRecordUsing, Root(), kSuiteKey);
    o.rate = ListPosition(store::ReadNumber(kRecordRate, Root(), kSuiteKey), std::size(kRateChoices));
    o.bits = ListPosition(store::ReadNumber(kRecordBits, Root(), kSuiteKey), std::size(kBitChoices));
    o.channels =
        ListPosition(store::ReadNumber(kRecordChannels, Root(), kSuiteKey), std::size(kChannelChoices));
    o.autoStart = store::ReadNumber(kAutoStart, Root(), kSuiteKey) != 0;
    o.autoStartPercent = ReadSuiteText(kAutoStartPercent, kSuiteKey, kDefaultAutoStartPercent);
    o.autoStartFor = ReadSuiteText(kAutoStartFor, kSuiteKey, kDefaultAutoStartFor);
    o.autoEnd = store::ReadNumber(kAutoEnd, Root(), kSuiteKey) != 0;
    o.autoEndPercent = ReadSuiteText(kAutoEndPercent, kSuiteKey, kDefaultAutoEndPercent);
    o.autoEndFor = ReadSuiteText(kAutoEndFor, kSuiteKey, kDefaultAutoEndFor);
    o.fileCreation = ReadSuiteText(kFileCreation, kSuiteKey, kDefaultFileCreation);
    return o;
}

void SaveRecorderOptions(const RecorderOptions& o)
{
    store::WriteText(kFileCreation, o.fileCreation.c_str(), Root(), kSuiteKey);
    store::WriteNumber(kAutoStart, o.autoStart ? 1 : 0, Root(), kSuiteKey);
    store::WriteText(kAutoStartPercent, o.autoStartPercent.c_str(), Root(), kSuiteKey);
    store::WriteText(kAutoStartFor, o.autoStartFor.c_str(), Root(), kSuiteKey);
    store::WriteNumber(kAutoEnd, o.autoEnd ? 1 : 0, Root(), kSuiteKey);
    store::WriteText(kAutoEndPercent, o.autoEndPercent.c_str(), Root(), kSuiteKey);
    store::WriteText(kAutoEndFor, o.autoEndFor.c_str(), Root(), kSuiteKey);
    store::WriteNumber(kRecordUsing, o.device, Root(), kSuiteKey);
    store::WriteNumber(kRecordRate, o.rate, Root(), kSuiteKey);
    store::WriteNumber(kRecordBits, o.bits, Root(), kSuiteKey);
    store::WriteNumber(kRecordChannels, o.channels, Root(), kSuiteKey);
}

AddOnSettings LoadAddOnSettings()
{
    AddOnSettings v;
    v.writePlaylist = store::ReadNumber(kWritePlaylist, Root(), kBoostkitKey) != 0;
    v.playlistType =
        ListPosition(store::ReadNumber(kPlaylistType, Root(), kBoostkitKey), std::size(kPlaylistTypeChoices));
    v.playlistFolder = ReadSuiteText(kPlaylistFolder, kBoostkitKey, kDefaultPlaylistFolder);
    v.playlistCreation = ReadSuiteText(kPlaylistCreation, kBoostkitKey, kDefaultPlaylistCreation);
    v.playAudio = store::ReadNumber(kPlayAudio, Root(), kBoostkitKey) != 0;
    return v;
}

void SaveAddOnSettings(const AddOnSettings& v)
{
    store::WriteNumber(kWritePlaylist, v.writePlaylist ? 1 : 0, Root(), kBoostkitKey);
    store::WriteNumber(kPlaylistType, v.playlistType, Root(), kBoostkitKey);
    store::WriteText(kPlaylistFolder, v.playlistFolder.c_str(), Root(), kBoostkitKey);
    store::WriteText(kPlaylistCreation, v.playlistCreation.c_str(), Root(), kBoostkitKey);
    store::WriteNumber(kPlayAudio, v.playAudio ? 1 : 0, Root(), kBoostkitKey);
}

std::string ReadCodec()
{
    return ReadSuiteText(kCodec, kSuiteKey, kDefaultCodec);
}

void WriteCodec(const std::string& codec)
{
    store::WriteText(kCodec, codec.c_str(), Root(), kSuiteKey);
}

std::string ReadOutputFolder(const std::string& codec)
{
    return ReadSuiteText(kOutputFolder, CodecKey(codec).c_str(), kDefaultOutputFolder);
}

void WriteOutputFolder(const std::string& codec, const std::string& folder)
{
    store::WriteText(kOutputFolder, folder.c_str(), Root(), CodecKey(codec).c_str());
}

} // namespace auxiliary
