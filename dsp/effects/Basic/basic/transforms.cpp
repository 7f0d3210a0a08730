#include "basic/transforms.h"

#include <cstring>

namespace dsp::basic {

void ReverseFrames(const uint8_t* in, uint8_t* out, size_t bytes, size_t frameSize) {
  if (frameSize == 0) frameSize = 1;
  const size_t frames = bytes / frameSize;
  for (size_t i = 0; i < frames; ++i) {
    std::memcpy(out + i * frameSize, in + (frames - 1 - i) * frameSize, frameSize);
  }
}

}  // namespace dsp::basic
