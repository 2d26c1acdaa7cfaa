// Vectorisable sine and cosine: the angle is reduced by pi/2 in double precision
// (exactly, for the angles the ocean meets) and both functions are evaluated as
// double polynomials on [-pi/4, pi/4], so rounding to float is the only error
// that reaches the caller. Fused multiply-adds are welcome here (see CMakeLists).
#include "ocean/SinCos.h"
#include "ocean/VectorClones.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace korvath {

namespace {

constexpr double twoOverPi = 0.6366197723675814;
// pi/2 in two parts: the first 33 bits, so that q * halfPiHigh is exact for
// every quadrant count |q| < 2^20, and the remainder.
constexpr double halfPiHigh = 1.5707963267341256;
constexpr double halfPiLow = 6.077100506506192e-11;
// Adding and subtracting 1.5 * 2^52 rounds a double below 2^51 to an integer,
// which then sits in the low mantissa bits of the sum.
constexpr double roundingShift = 6755399441055744.0;
// Up to here the quadrant count stays far below 2^20 (the ocean's angles grow
// by about 1.4 radians per second of scene time: 2^18 lasts two days).
constexpr float reductionLimit = 262144.0f;

// Taylor coefficients: on |r| <= pi/4 the first omitted terms are below 7e-12
// (sine) and 4e-13 (cosine), far under half a float unit in the last place.
constexpr double sin3 = -1.0 / 6.0;
constexpr double sin5 = 1.0 / 120.0;
constexpr double sin7 = -1.0 / 5040.0;
constexpr double sin9 = 1.0 / 362880.0;
constexpr double sin11 = -1.0 / 39916800.0;
constexpr double cos2 = -1.0 / 2.0;
constexpr double cos4 = 1.0 / 24.0;
constexpr double cos6 = -1.0 / 720.0;
constexpr double cos8 = 1.0 / 40320.0;
constexpr double cos10 = -1.0 / 3628800.0;
constexpr double cos12 = 1.0 / 479001600.0;

std::uint64_t bitsOf(double value) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

double fromBits(std::uint64_t bits) {
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// Returns whether some angle lay beyond the reduction limit (or was infinite);
// those results are left for the caller to replace. The quadrant picks the
// polynomial and the sign through bit masks on the doubles: written as
// conditional selects, GCC would not vectorise the loop.
KORVATH_VECTOR_CLONES bool polynomialSinCos(const float* angles, int count, float* sines,
                                            float* cosines) {
    int beyondLimit = 0;
    for (int i = 0; i < count; ++i) {
        beyondLimit |= std::fabs(angles[i]) > reductionLimit;
        const double angle = angles[i];
        const double shifted = angle * twoOverPi + roundingShift;
        const double quadrantCount = shifted - roundingShift;
        const std::uint64_t quadrant = bitsOf(shifted); // q mod 4 in the two lowest bits

        const double r = (angle - quadrantCount * halfPiHigh) - quadrantCount * halfPiLow;
        const double r2 = r * r;
        const double sinR =
            r + r * r2 * (sin3 + r2 * (sin5 + r2 * (sin7 + r2 * (sin9 + r2 * sin11))));
        const double cosR =
            1.0 + r2 * (cos2 + r2 * (cos4 + r2 * (cos6 + r2 * (cos8 + r2 * (cos10 + r2 * cos12)))));

        // sin(r + q pi/2) and cos(r + q pi/2): odd quadrants swap the two,
        // quadrants 2, 3 negate the sine and quadrants 1, 2 the cosine.
        const std::uint64_t swap = 0u - (quadrant & 1u);
        const std::uint64_t sine = (bitsOf(sinR) & ~swap) | (bitsOf(cosR) & swap);
        const std::uint64_t cosine = (bitsOf(cosR) & ~swap) | (bitsOf(sinR) & swap);
        sines[i] = static_cast<float>(fromBits(sine ^ ((quadrant & 2u) << 62)));
        cosines[i] = static_cast<float>(fromBits(cosine ^ (((quadrant + 1u) & 2u) << 62)));
    }
    return beyondLimit != 0;
}

} // namespace

void sinCos(const float* angles, int count, float* sines, float* cosines) {
    if (!polynomialSinCos(angles, count, sines, cosines)) {
        return;
    }
    for (int i = 0; i < count; ++i) {
        if (std::fabs(angles[i]) > reductionLimit) {
            sines[i] = std::sin(angles[i]);
            cosines[i] = std::cos(angles[i]);
        }
    }
}

} // namespace korvath
