// ChannelMover: applies the move list to every frame and, when the channel
// count changes, mixes channels down or up into the "-Tmp" sibling, moves it
// over the input in one step and tells the host the new shape.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "channel_mix.h"
#include "panel_ids.h"
#include "core/wave_format.h"
#include "disk_file.h"
#include "file_steps.h"
#include "panel.h"
#include "plugin.h"
#include "progress.h"
#include "replace.h"
#include "settings_store.h"

namespace {

constexpr const char* kCountName = "ChannelMove-ChannelCount";
constexpr const char* kModeName = "ChannelMove-Downsample";

int g_targetChannels = 0; // 0: as the source
int g_mixMode = 0;
chmove::MoveList g_moves;
// The move fields take channel numbers the stored moves (signed 32-bit) can
// hold; a negative or larger number, or one that is not finite, is refused
// and the field shows its last valid text again. 0 stays in the field but
// is never added.
dsp::CheckedFields g_moveFields;

uint32_t ReadStored(const std::string& name)
{
    return dsp::settings::ReadNumber(name.c_str());
}
void WriteStored(const std::string& name, uint32_t value)
{
    dsp::settings::WriteNumber(name.c_str(), value);
}

// Same shape: the moves, block by block, written back over the block.
bool MoveInPlace(dsp::DiskFile& file, uint64_t size, uint32_t blockBytes, uint32_t frameBytes,
                 chmove::BlockMixer& mixer, dsp::Progress& progress)
{
    std::vector<uint8_t> block(blockBytes);
    for (uint64_t done = 0; done < size;) {
        progress.Write(dsp::Progress::Percent(done, size));
        const auto chunk = static_cast<uint32_t>(std::min<uint64_t>(size - done, blockBytes));
        if (file.Read(block.data(), chunk) != chunk)
            return false;
        mixer.MoveInPlace(block.data(), chunk / frameBytes); // a partial last frame stays as it is
        if (!file.Seek(static_cast<int64_t>(done), FILE_BEGIN) || !file.Write(block.data(), chunk))
            return false;
        done += chunk;
    }
    return true;
}

// New shape: whole frames mixed into the sibling, which then replaces the
// input. A partial last frame has no place in the new shape and is left out.
bool Reshape(dsp::DiskFile& input, const char* path, uint64_t size, uint32_t blockBytes, uint32_t frameBytes,
             uint32_t outFrameBytes, chmove::BlockMixer& mixer, dsp::Progress& progress)
{
    std::vector<uint8_t> in(blockBytes), out(size_t{blockBytes} / frameBytes * outFrameBytes);
    return dsp::ReplaceThroughFile(dsp::SiblingPath(path, "-Tmp"), path, [&](dsp::DiskFile& sibling) {
        for (uint64_t done = 0; done < size;) {
            progress.Write(dsp::Progress::Percent(done, size));
            const auto chunk = static_cast<uint32_t>(std::min<uint64_t>(size - done, blockBytes));
            if (input.Read(in.data(), chunk) != chunk)
                return false;
            const uint32_t frames = chunk / frameBytes;
            mixer.Reshape(in.data(), out.data(), frames);
            if (frames != 0 && !sibling.Write(out.data(), frames * outFrameBytes))
                return false;
            done += chunk;
        }
        input.Close();
        return true;
    });
}

void SaveSettings(HWND dialog)
{
    const auto count = SendDlgItemMessageA(dialog, IDC_CHANNEL_COUNT, CB_GETCURSEL, 0, 0);
    const auto mode = SendDlgItemMessageA(dialog, IDC_MIX_MODE, CB_GETCURSEL, 0, 0);
    g_targetChannels = count < 0 ? 0 : static_cast<int>(count);
    g_mixMode = mode < 0 ? 0 : static_cast<int>(mode);
    dsp::settings::WriteNumber(kCountName, static_cast<uint32_t>(g_targetChannels));
    dsp::settings::WriteNumber(kModeName, static_cast<uint32_t>(g_mixMode));
    chmove::SaveMoves(g_moves, WriteStored);
}

void FillPanel(HWND dialog)
{
    dsp::FillingGuard filling;
    SendDlgItemMessageA(dialog, IDC_CHANNEL_COUNT, CB_RESETCONTENT, 0, 0);
    SendDlgItemMessageA(dialog, IDC_CHANNEL_COUNT, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("[as source]"));
    for (int n = 1; n <= chmove::kMaxTargetChannels; ++n) {
        const std::string item = std::to_string(n);
        SendDlgItemMessageA(dialog, IDC_CHANNEL_COUNT, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(item.c_str()));
    }
    SendDlgItemMessageA(dialog, IDC_MIX_MODE, CB_RESETCONTENT, 0, 0);
    for (const char* mode : chmove::kMixModeNames)
        SendDlgItemMessageA(dialog, IDC_MIX_MODE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(mode));
    SendDlgItemMessageA(dialog, IDC_CHANNEL_COUNT, CB_SETCURSEL, g_targetChannels, 0);
    SendDlgItemMessageA(dialog, IDC_MIX_MODE, CB_SETCURSEL, g_mixMode, 0);
    SetDlgItemTextA(dialog, IDC_MOVE_FROM, "1");
    SetDlgItemTextA(dialog, IDC_MOVE_TO, "2");
    g_moveFields.Remember(dialog, IDC_MOVE_FROM);
    g_moveFields.Remember(dialog, IDC_MOVE_TO);
    SendDlgItemMessageA(dialog, IDC_MOVE_LIST, LB_RESETCONTENT, 0, 0);
    for (int n = 0; n < g_moves.Count(); ++n) {
        const std::string line = chmove::MoveLine(g_moves.from[n], g_moves.to[n]);
        SendDlgItemMessageA(dialog, IDC_MOVE_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    }
}

} // namespace

namespace plugin {

void LoadSettings()
{
    g_targetChannels = chmove::TargetChannelsFromStored(dsp::settings::ReadNumber(kCountName));
    g_mixMode = chmove::MixModeFromStored(dsp::settings::ReadNumber(kModeName));
    chmove::LoadMoves(g_moves, ReadStored);
}

int WorkOnFile(const char* path, WAVEFORMATEX* record)
{
    dsp::WaveFormat& format = Format(record);
    if (!dsp::FormatDescribesAudio(format))
        return 0;
    const unsigned channels = format.channels;
    const unsigned target = g_targetChannels == 0 ? channels : static_cast<unsigned>(g_targetChannels);
    const uint32_t sampleBytes = dsp::StoredSampleBytes(format.bitsPerSample);
    const uint32_t frameBytes = sampleBytes * channels;
    const uint32_t blockBytes = dsp::SecondOfWholeFrames(format, frameBytes);
    chmove::BlockMixer mixer(g_moves, format.bitsPerSample, channels, target, g_mixMode,
                             blockBytes / frameBytes);

    dsp::Progress progress;
    dsp::DiskFile input;
    uint64_t size = 0;
    if (!dsp::OpenWithSize(input, path, GENERIC_READ | GENERIC_WRITE, &size))
        return 0;
    if (target == channels && mixer.NoMoves())
        return 1; // nothing would change
    if (target == channels)
        return MoveInPlace(input, size, blockBytes, frameBytes, mixer, progress) ? 1 : 0;

    if (!Reshape(input, path, size, blockBytes, frameBytes, sampleBytes * target, mixer, progress))
        return 0;
    const dsp::WaveFormat shaped = chmove::Reshaped(format, target);
    format.channels = shaped.channels;
    format.avgBytesPerSec = shaped.avgBytesPerSec;
    format.blockAlign = shaped.blockAlign;
    return 1;
}

INT_PTR CALLBACK PanelProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG) {
        FillPanel(dialog);
        return 0;
    }
    if (message != WM_COMMAND)
        return 0;
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    if (plugin::g_filling)
        return 1;
    switch (id) {
    case IDC_CHANNEL_COUNT:
    case IDC_MIX_MODE:
        SaveSettings(dialog);
        break;
    case IDC_MOVE_FROM:
    case IDC_MOVE_TO:
        g_moveFields.CheckWhole(dialog, id, 0, INT32_MAX);
        break;
    case IDC_ADD_MOVE: {
        if (code != BN_CLICKED)
            break;
        const long from = dsp::GetDlgNumber(dialog, IDC_MOVE_FROM);
        const long to = dsp::GetDlgNumber(dialog, IDC_MOVE_TO);
        if (from > 0 && to > 0 && g_moves.Add(static_cast<int32_t>(from), static_cast<int32_t>(to))) {
            const std::string line = chmove::MoveLine(static_cast<int32_t>(from), static_cast<int32_t>(to));
            SendDlgItemMessageA(dialog, IDC_MOVE_LIST, LB_ADDSTRING, 0,
                                reinterpret_cast<LPARAM>(line.c_str()));
        }
        SaveSettings(dialog);
        break;
    }
    case IDC_CLEAR_MOVES:
        if (code != BN_CLICKED)
            break;
        g_moves.Clear();
        SendDlgItemMessageA(dialog, IDC_MOVE_LIST, LB_RESETCONTENT, 0, 0);
        SaveSettings(dialog);
        break;
    default:
        break;
    }
    return 1;
}

} // namespace plugin
