#include "basic/durations.h"

#include <limits>

namespace dsp::basic {

ClockParts SplitMilliseconds(uint32_t ms) {
  return ClockParts{ms / 60000u, (ms % 60000u) / 1000u, ms % 1000u};
}

uint32_t JoinMilliseconds(long minutes, long seconds, long milliseconds) {
  return static_cast<uint32_t>(minutes) * 60000u + static_cast<uint32_t>(seconds) * 1000u +
         static_cast<uint32_t>(milliseconds);
}

uint64_t FrameBytesForMilliseconds(uint32_t blockAlign, uint32_t rate, uint32_t ms) {
  const uint32_t frame = FrameSize(blockAlign);
  const uint64_t perSecond = uint64_t{frame} * rate;  // < 2^48
  // Whole seconds and the rest separately, so the sum only overflows for
  // formats no file has.
  uint64_t whole = 0;
  if (__builtin_mul_overflow(perSecond, uint64_t{ms / 1000u}, &whole)) {
    return RoundDownToFrames(std::numeric_limits<uint64_t>::max(), frame);
  }
  const uint64_t part = perSecond * (ms % 1000u) / 1000u;  // < 2^58
  uint64_t bytes = 0;
  if (__builtin_add_overflow(whole, part, &bytes)) {
    bytes = std::numeric_limits<uint64_t>::max();
  }
  return RoundDownToFrames(bytes, frame);
}

}  // namespace dsp::basic
