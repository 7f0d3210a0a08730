// Position and preset files of any content: positions read are always in
// the panel's range, and a short file leaves the positions alone.
#include "core/bands.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    eq::Positions positions{};
    positions.fill(7);
    const eq::Positions before = positions;
    if (eq::PositionsFromRecordFile(data, size, positions)) {
        for (int32_t p : positions)
            fuzz::Require(p >= eq::kMinPosition && p <= eq::kMaxPosition, "record positions in range");
    } else {
        fuzz::Require(positions == before, "a short record changes nothing");
    }
    positions = before;
    if (eq::PositionsFromEqfTail(data, size, positions)) {
        for (int32_t p : positions)
            fuzz::Require(p >= eq::kMinPosition && p <= eq::kMaxPosition, "preset positions in range");
    } else {
        fuzz::Require(positions == before, "a short preset changes nothing");
    }
    return 0;
}
