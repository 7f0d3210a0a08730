// Where the basic effects cut, copy and pad, worked out from a file's size and
// byte counts that are already whole frames. Every start and length they
// return lies on a frame boundary, so no sample is ever split.
#pragma once
#include <cstdint>

#include "core/wave_format.h"

namespace dsp::basic {

// A run of bytes in a file.
struct Span
{
    uint64_t start;
    uint64_t length;
};

// The section the grabber keeps: `length` bytes from `position` bytes after
// the start, or before the end when `fromEnd` is set (a position before the
// start of the file counts as the start). Cut to what the file holds; a
// length of 0 means nothing is kept and the file stays as it is.
Span SectionToKeep(uint64_t size, uint64_t position, uint64_t length, bool fromEnd, const WaveFormat& format);

// The size a file keeps when `endBytes` are cut off its end (0 when the cut
// reaches past its start).
uint64_t SizeAfterEndCut(uint64_t size, uint64_t endBytes, const WaveFormat& format);

// How a cut of `beginBytes` off the start of a file of `size` bytes goes.
enum class BeginCut {
    kNone,     // nothing to cut
    kEmpty,    // the cut reaches past the end: the file is emptied in place
    kCopyRest, // the rest, `rest` bytes from `beginBytes` on, goes to a new file
};
struct BeginCutPlan
{
    BeginCut kind;
    Span rest;
};
BeginCutPlan PlanBeginCut(uint64_t size, uint64_t beginBytes);

// Bytes of silence that make a file of `size` bytes `target` bytes long; 0
// when it is already that long or longer.
inline uint64_t PaddingToReach(uint64_t size, uint64_t target)
{
    return size < target ? target - size : 0;
}

// The silence byte: 128 for 8-bit samples, 0 for every other depth.
inline uint8_t SilenceByte(uint16_t bitsPerSample)
{
    return bitsPerSample == 8 ? 0x80 : 0x00;
}

// Reading a file back to front one block at a time: block `done` bytes
// before the end of the `whole` bytes, at most `blockBytes` long.
inline Span NextBlockFromEnd(uint64_t whole, uint64_t done, uint64_t blockBytes)
{
    const uint64_t left = whole - done;
    const uint64_t length = left < blockBytes ? left : blockBytes;
    return Span{whole - done - length, length};
}

} // namespace dsp::basic
