// Bit depth and dither on any chunk: each member writes exactly the output
// format's bytes for the whole frames it was given and never past its buffer.
#include <vector>

#include "bit_depth.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Input in(data, size);
    static const int kMembers[] = {8, 16, 24};
    static const int kDepths[] = {8, 16, 24, 32};
    const int outBits = kMembers[in.Take<uint8_t>() % 3];
    const int inBits = kDepths[in.Take<uint8_t>() % 4];
    const unsigned channels = 1 + in.Take<uint8_t>() % depth::kMaxDitherChannels;
    const depth::Member member = depth::MemberFor(outBits);
    if (!member.Converts(inBits, channels))
        return 0;
    const size_t inFrame = inBits / 8 * channels;
    const size_t frames = in.Left() / inFrame;
    std::vector<depth::ChannelDitherState> states(depth::kMaxDitherChannels);
    std::vector<uint8_t> out(frames * channels * (outBits / 8) + 1, 0xA5);
    const size_t written = depth::ConvertChunk(outBits, in.Rest(), frames * inFrame, inBits, channels,
                                               states.data(), out.data());
    fuzz::Require(written == frames * channels * (outBits / 8), "the output's whole frames");
    fuzz::Require(out.back() == 0xA5, "nothing past the output");
    return 0;
}
