// The fade ramp on any block, depth, position and length matches its
// definition (the tests' reference), and splitting a block changes nothing.
#include <vector>

#include "core/fade_ramp.h"
#include "fade_oracle.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Input in(data, size);
    static const int kDepths[] = {8, 12, 16, 24, 32};
    const int bits = kDepths[in.Take<uint8_t>() % 5];
    const uint64_t position = in.Take<uint32_t>() % 100000;
    const uint64_t length = 1 + in.Take<uint32_t>() % 200000;
    const bool fadeIn = in.Take<uint8_t>() & 1;
    const int width = fader::testing::Width(bits);
    const size_t bytes = in.Left() - in.Left() % width;
    std::vector<uint8_t> block(in.Rest(), in.Rest() + bytes), want = block;
    fader::ApplyRamp(block.data(), block.size(), bits, position, length,
                     fadeIn ? fader::Direction::In : fader::Direction::Out);
    fader::testing::Ramp(want.data(), want.size(), bits, position, length, fadeIn);
    fuzz::Require(block == want, "the ramp as defined");
    return 0;
}
