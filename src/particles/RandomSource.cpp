// A linear congruential generator with the multiplier and increment of the C
// standard's example rand, so its sequence is the well-known one from seed 1.
#include "particles/RandomSource.h"

namespace korvath {

int RandomSource::next() {
    // Unsigned arithmetic wraps modulo 2^32 as the generator requires. The low
    // bits of an LCG have short periods, so the value comes from bits 16 to 30.
    state = state * 1103515245u + 12345u;
    return static_cast<int>((state / 65536u) % 32768u);
}

RandomSource& sharedRandomSource() {
    static RandomSource source;
    return source;
}

} // namespace korvath
