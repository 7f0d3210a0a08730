// Reverser: writes the frames of the file in the opposite order, each frame's
// bytes kept together and in their own order. The input is read back to
// front one second at a time into a result file beside it (path + ".TEMP"),
// which replaces the input in one move once it is complete. Bytes after the
// last whole frame (a file that ends inside a frame) stay at the end.
#include <windows.h>

#include <vector>

#include "file_steps.h"
#include "core/plans.h"
#include "core/transforms.h"
#include "plugin.h"
#include "replace.h"

namespace plugin {

void LoadSettings() {}

INT_PTR CALLBACK PanelProc(HWND, UINT, WPARAM, LPARAM)
{
    return 0;
}

int WorkOnFile(const char* path, WAVEFORMATEX* record)
{
    using namespace dsp::basic;
    if (!dsp::WorkableInput(path, record))
        return 0;
    if (record->nBlockAlign == 0)
        record->nBlockAlign = 1;
    const dsp::WaveFormat& format = Format(record);

    dsp::Progress progress;
    dsp::DiskFile in;
    uint64_t size = 0;
    if (!dsp::OpenWithSize(in, path, GENERIC_READ, &size))
        return 0;
    const uint64_t whole = dsp::WholeFrames(size, format);
    const uint32_t second = dsp::BytesForMilliseconds(format, 1000);
    std::vector<uint8_t> block(second), reversed(second);

    const bool replaced =
        dsp::ReplaceThroughFile(dsp::SiblingPath(path, ".TEMP"), path, [&](dsp::DiskFile& out) {
            for (uint64_t done = 0; done < whole;) {
                progress.Write(dsp::Progress::Percent(done, size));
                const Span span = NextBlockFromEnd(whole, done, second);
                const uint32_t n = static_cast<uint32_t>(span.length);
                if (!in.Seek(static_cast<int64_t>(span.start), FILE_BEGIN) || in.Read(block.data(), n) != n) {
                    return false;
                }
                ReverseFrames(block.data(), reversed.data(), n, format.blockAlign);
                if (!out.Write(reversed.data(), n))
                    return false;
                done += n;
            }
            const bool complete = dsp::CopyRange(in, whole, size - whole, out, dsp::kCopyPiece, nullptr);
            in.Close();
            return complete;
        });
    return replaced ? 1 : 0;
}

} // namespace plugin
