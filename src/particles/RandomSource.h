// The pseudo-random source of the emitters: integers 0 to 32767, the same
// sequence in every run without seeding.
#pragma once

#include <cstdint>

namespace korvath {

class RandomSource {
public:
    static constexpr int maxValue = 32767;

    // The next value, 0 to maxValue inclusive.
    int next();

    bool operator==(const RandomSource& other) const { return state == other.state; }
    bool operator!=(const RandomSource& other) const { return state != other.state; }

private:
    std::uint32_t state = 1;
};

// The one source all emitters of the process draw from, in draw order. Copying
// it predicts the draws to come without disturbing them.
RandomSource& sharedRandomSource();

} // namespace korvath
