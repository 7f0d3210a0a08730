// File steps the effects share: appending silence, copying a run of a file
// into another, and putting a complete result file in the input's place.
#pragma once

#include <windows.h>
#include <mmreg.h>

#include <cstdint>
#include <functional>
#include <string>

#include "core/wave_format.h"
#include "disk_file.h"
#include "progress.h"

namespace dsp {

// Pieces of silence and of copies that go through the silence buffer.
constexpr uint32_t kSilencePiece = 64000;
// Pieces of the copies that go through a copy buffer.
constexpr uint32_t kCopyPiece = 65536;

// Opens `path` (existing, with `access`, sharing on, no messages) and reads
// its size. False when either fails; the file is then closed.
bool OpenWithSize(DiskFile& file, const char* path, DWORD access, uint64_t* size);

// Writes `count` bytes of `fill` at the current position of `out`, in pieces
// of at most 64000 bytes. False as soon as a write fails.
bool WriteFill(DiskFile& out, uint8_t fill, uint64_t count);

// Appends `count` bytes of `fill` to the end of `file`. When a write fails
// the file is cut back to the size it had and the result is false.
bool AppendFill(DiskFile& file, uint8_t fill, uint64_t count);

// Copies `length` bytes from `start` in `in` to the current position of
// `out` in pieces of at most `piece` bytes, writing the percentage copied to
// `progress` (when given) before each piece. False on a short read or a
// failed write.
bool CopyRange(DiskFile& in, uint64_t start, uint64_t length, DiskFile& out, uint32_t piece,
               Progress* progress);

// The in-place loops read and write as many whole seconds at once as fit in
// this many bytes (at least one second).
constexpr uint32_t kInPlacePiece = 1 << 20;

// Rewrites `size` bytes of the open `file` from its start in place, in blocks
// of `second` bytes (the last one may be shorter): before each block it
// writes the percentage of bytes done to `progress`, then hands the block to
// `transform`. The bytes travel in pieces of several blocks (up to
// kInPlacePiece), each written back where it was read. With `rewrite` false
// the file is only read through and nothing is written. False on a failed
// seek, a short read or a failed write; what was written before stays.
bool RewriteInPlace(DiskFile& file, uint64_t size, uint32_t second, Progress& progress,
                    const std::function<void(uint8_t* block, uint32_t bytes)>& transform,
                    bool rewrite = true);

// Makes the result of an effect in a second file and puts it in the input's
// place. `resultPath` is created (write access, create-always, sharing on,
// no messages) and handed to `produce`; only when that returns true is the
// closed result moved over `input` in one step (dsp::ReplaceInput). In every
// other case the input is left as it was, the result file is removed and the
// answer is false.
bool ReplaceThroughFile(const std::string& resultPath, const char* input,
                        const std::function<bool(DiskFile& out)>& produce);

// Keeps only the `length` bytes from `start` of the file at `path`: they are
// copied in pieces of `piece` bytes (progress written before each) to the
// sibling named by `ending`, which then replaces the file in one step. On any
// failure the file is left as it was and no sibling remains.
bool KeepRange(const char* path, const char* ending, uint64_t start, uint64_t length, uint32_t piece,
               Progress* progress);

// The format record as a shape of audio, refusing records that cannot
// describe audio (the effects return 0 for them before opening anything).
inline const WaveFormat* AudioFormat(const WAVEFORMATEX* format)
{
    const WaveFormat* f = reinterpret_cast<const WaveFormat*>(format);
    return f && FormatDescribesAudio(*f) ? f : nullptr;
}

// The format record for working on `path`: null when the record cannot
// describe audio or the file is missing or read-only (see below), so the
// effect can refuse with 0 before it opens anything.
const WaveFormat* WorkableInput(const char* path, const WAVEFORMATEX* record);

// True when `path` names an existing file that is not marked read-only. The
// effects ask before they start, so a read-only file is refused the same way
// on every system (Windows refuses to open or replace it; a process with
// more rights than the file's marks, as under Wine run by root, would not).
bool WritableFile(const char* path);

} // namespace dsp
