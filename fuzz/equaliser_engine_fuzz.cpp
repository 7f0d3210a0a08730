// The equaliser engine over fuzzed band positions, shapes and samples:
// - flat positions (every gain exactly 1) leave every byte as it was;
// - otherwise the first 255 frames of a fresh engine are silence (the output
//   lags by one block), every sample stays a value of its depth (the engine
//   clamps before it stores), and bytes past the last whole frame, depths
//   the engine does not filter and a rate of 0 are left alone;
// - the result does not depend on how the audio is split into calls.
#include <algorithm>
#include <vector>

#include "core/bands.h"
#include "core/engine.h"
#include "fuzz_input.h"

namespace {

// What one engine makes of `audio`, taken in pieces of the given frame counts
// (0 stands for the rest).
std::vector<uint8_t> Run(const eq::AudioShape& shape, const eq::BandRecord& record,
                         std::vector<uint8_t> audio, const std::vector<size_t>& pieces, size_t frameBytes)
{
    eq::Engine engine(shape);
    engine.SetBands(record);
    size_t at = 0;
    for (size_t frames : pieces) {
        const size_t left = audio.size() - at;
        const size_t bytes = frames == 0 ? left : std::min(left, frames * frameBytes);
        engine.Process(audio.data() + at, bytes);
        at += bytes;
    }
    if (at < audio.size())
        engine.Process(audio.data() + at, audio.size() - at);
    return audio;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Input in(data, size);
    eq::AudioShape shape;
    shape.channels = static_cast<uint16_t>(in.Take<uint8_t>() % 4 + 1);
    shape.samplesPerSec = in.Take<uint32_t>();
    static const uint16_t kDepths[] = {8, 16, 24, 32, 12};
    shape.bitsPerSample = kDepths[in.Take<uint8_t>() % 5];

    // Positions in the range the panel and the settings keep them; the low
    // bit of the first byte makes the whole record flat, the others leave
    // single bands flat.
    eq::Positions positions{};
    const uint8_t flatMask = in.Take<uint8_t>();
    for (int band = 0; band < eq::kBands; ++band) {
        const int16_t raw = in.Take<int16_t>();
        const bool flat = (flatMask & 1) || (flatMask >> (band % 7 + 1) & 1);
        positions[band] = flat ? 0 : raw % (eq::kMaxPosition + 1);
    }
    const eq::BandRecord record = eq::EngineRecord(positions);

    std::vector<size_t> pieces;
    for (int i = 0; i < 4; ++i)
        pieces.push_back(in.Take<uint16_t>() % 600);

    const std::vector<uint8_t> audio(in.Rest(), in.Rest() + in.Left());
    const size_t sampleBytes = shape.bitsPerSample / 8;
    const size_t frameBytes = shape.channels * sampleBytes;
    const size_t wholeBytes = audio.size() / frameBytes * frameBytes;

    const std::vector<uint8_t> whole = Run(shape, record, audio, {0}, frameBytes);
    fuzz::Require(whole.size() == audio.size(), "the length is kept");
    fuzz::Require(std::equal(whole.begin() + wholeBytes, whole.end(), audio.begin() + wholeBytes),
                  "a partial last frame is left alone");

    const bool flat = std::all_of(positions.begin(), positions.end(), [](int32_t p) { return p == 0; });
    const bool filtered = shape.samplesPerSec > 0 && (shape.bitsPerSample == 8 || shape.bitsPerSample == 16 ||
                                                      shape.bitsPerSample == 24);
    if (flat || !filtered) {
        fuzz::Require(whole == audio, "flat positions, a rate of 0 and unfiltered depths change nothing");
        return 0;
    }

    // The first block out of a fresh engine is silence: 128 for 8-bit, 0 otherwise.
    const size_t silentBytes = std::min(wholeBytes, size_t{eq::kBlockFrames} * frameBytes);
    const uint8_t silence = shape.bitsPerSample == 8 ? 0x80 : 0x00;
    fuzz::Require(
        std::all_of(whole.begin(), whole.begin() + silentBytes, [&](uint8_t b) { return b == silence; }),
        "the first block is silence");
    // 8-, 16- and 24-bit stores can hold no value outside their depth, so the
    // bound that shows is the one on the way in: the engine never stores a
    // sample it did not clamp (UndefinedBehaviorSanitizer watches the
    // conversion of each one).

    const std::vector<uint8_t> split = Run(shape, record, audio, pieces, frameBytes);
    fuzz::Require(split == whole, "the split into calls does not matter");
    return 0;
}
