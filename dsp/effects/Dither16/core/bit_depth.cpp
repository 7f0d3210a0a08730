#include "bit_depth.h"

namespace depth {

bool Member::Converts(int inBits, unsigned channels) const {
  if (outBits == 24) return inBits == 8 || inBits == 16;
  return inBits != outBits && channels <= kMaxDitherChannels;
}

Member MemberFor(int outBits) {
  switch (outBits) {
    case 16: return {16, "Converts the source to 16 bit, dithering output "};
    case 8: return {8, "Converts the source to 8 bit, dithering output "};
    default: return {24, "Converts the source to 24 bit"};
  }
}

void WidenTo24(const uint8_t* in, int inBits, size_t samples, uint8_t* out) {
  if (inBits == 8) {
    for (size_t i = 0; i < samples; ++i) {
      *out++ = 0;
      *out++ = 0;
      *out++ = static_cast<uint8_t>(in[i] - 128);
    }
  } else {
    for (size_t i = 0; i < samples; ++i) {
      *out++ = 0;
      *out++ = in[2 * i];
      *out++ = in[2 * i + 1];
    }
  }
}

}  // namespace depth
