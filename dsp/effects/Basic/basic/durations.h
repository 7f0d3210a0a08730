// Lengths the basic effects take in milliseconds: shown in their panels as
// minutes, seconds and milliseconds, and turned into byte counts that always
// end on a frame boundary.
#pragma once
#include <cstdint>

namespace dsp::basic {

struct ClockParts {
  uint32_t minutes;
  uint32_t seconds;       // 0..59
  uint32_t milliseconds;  // 0..999
};

// Splits a length for display: ms / 60000, (ms % 60000) / 1000, ms % 1000.
ClockParts SplitMilliseconds(uint32_t ms);

// Joins three panel fields back into milliseconds in 32-bit arithmetic, so a
// field may hold more than 59 seconds or 999 milliseconds (shown normalised
// the next time). Negative fields wrap the way the 32-bit sum does.
uint32_t JoinMilliseconds(long minutes, long seconds, long milliseconds);

// Bytes in `ms` milliseconds of audio with `blockAlign` bytes a frame (4 when
// 0) and `rate` frames a second, rounded down to whole frames. Computed in
// 64 bits; a product too large for that saturates (it only means "more than
// any file").
uint64_t FrameBytesForMilliseconds(uint32_t blockAlign, uint32_t rate, uint32_t ms);

// The frame size those byte counts are rounded to: the block align, 4 when 0.
inline uint32_t FrameSize(uint32_t blockAlign) { return blockAlign ? blockAlign : 4u; }

inline uint64_t RoundDownToFrames(uint64_t bytes, uint32_t frameSize) {
  return frameSize ? bytes - bytes % frameSize : bytes;
}

}  // namespace dsp::basic
