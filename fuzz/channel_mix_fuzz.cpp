// Channel mixing on any block: every shape the plug-in allows mixes down or
// up without touching memory outside the buffers, and a list of moves saved
// and loaded again is the same list.
#include <map>
#include <vector>

#include "channel_mix.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Input in(data, size);
    static const int kDepths[] = {8, 16, 24, 32};
    const int bits = kDepths[in.Take<uint8_t>() % 4];
    const unsigned inChannels = 1 + in.Take<uint8_t>() % 12;
    const unsigned outChannels = 1 + in.Take<uint8_t>() % chmove::kMaxTargetChannels;
    const int mode = in.Take<uint8_t>() % chmove::kMixModes;
    chmove::MoveList moves;
    for (int n = in.Take<uint8_t>() % 8; n > 0; --n)
        moves.Add(in.Take<int8_t>(), in.Take<int8_t>());

    std::map<std::string, uint32_t> stored;
    chmove::SaveMoves(moves, [&](const std::string& name, uint32_t value) { stored[name] = value; });
    chmove::MoveList loaded;
    chmove::LoadMoves(loaded,
                      [&](const std::string& name) { return stored.count(name) ? stored[name] : 0u; });
    fuzz::Require(loaded.Count() == moves.Count(), "the moves load back");

    const unsigned sampleBytes = bits / 8;
    const size_t frames = in.Left() / (sampleBytes * inChannels);
    chmove::BlockMixer mixer(moves, bits, inChannels, outChannels, mode, frames);
    std::vector<uint8_t> block(in.Rest(), in.Rest() + frames * sampleBytes * inChannels);
    std::vector<uint8_t> out(frames * sampleBytes * outChannels);
    if (inChannels == outChannels)
        mixer.MoveInPlace(block.data(), frames);
    else
        mixer.Reshape(block.data(), out.data(), frames);
    return 0;
}
