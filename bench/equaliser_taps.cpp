// Prints the equaliser's 255 filter taps for a sample rate and 18 band
// positions, one per line, in the form sox's fir effect reads.
//   equaliser_taps RATE P0 P1 ... P17
#include <cstdio>
#include <cstdlib>

#include "core/bands.h"
#include "core/engine.h"

int main(int argc, char** argv)
{
    if (argc != 2 + eq::kBands) {
        std::fprintf(stderr, "usage: equaliser_taps RATE P0 ... P17\n");
        return 2;
    }
    const double rate = std::atof(argv[1]);
    eq::Positions positions{};
    for (int band = 0; band < eq::kBands; ++band) {
        positions[band] = eq::ClampPosition(std::atol(argv[2 + band]));
    }
    const eq::Taps taps = eq::DesignTaps(eq::GainsFromRecord(eq::EngineRecord(positions)), rate);
    for (float t : taps)
        std::printf("%.9g\n", static_cast<double>(t));
    return 0;
}
