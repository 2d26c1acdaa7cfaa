// The vectorised sine and cosine against double-precision references, from
// small angles to the growing angles of long scene times and beyond.
#include "ocean/SinCos.h"
#include "OceanFixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace korvath::test {
namespace {

// Largest distance, in units in the last place, from the double-precision
// sine and cosine rounded to float.
std::int64_t worstError(const std::vector<float>& angles) {
    std::vector<float> sines(angles.size());
    std::vector<float> cosines(angles.size());
    sinCos(angles.data(), static_cast<int>(angles.size()), sines.data(), cosines.data());
    std::int64_t worst = 0;
    for (size_t i = 0; i < angles.size(); ++i) {
        const double angle = angles[i];
        worst = std::max(worst, ulpDistance(sines[i], static_cast<float>(std::sin(angle))));
        worst = std::max(worst, ulpDistance(cosines[i], static_cast<float>(std::cos(angle))));
    }
    return worst;
}

std::vector<float> uniformAngles(float limit, int count) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> spread(-limit, limit);
    std::vector<float> angles(count);
    for (float& angle : angles) {
        angle = spread(random);
    }
    return angles;
}

TEST(SinCosAccuracy, WithinOneUnitInTheLastPlace) {
    EXPECT_LE(worstError(uniformAngles(4.0f, 100000)), 1);
    EXPECT_LE(worstError(uniformAngles(200.0f, 100000)), 1);
    // Angles of scene times up to about two days, where the reduction is tightest.
    EXPECT_LE(worstError(uniformAngles(262144.0f, 100000)), 1);
}

TEST(SinCosAccuracy, NextToMultiplesOfHalfPi) {
    // The floats closest to k pi / 2 have the smallest results, where an
    // inexact reduction shows first.
    std::vector<float> angles;
    for (int k = -200000; k <= 200000; k += 7) {
        const float nearest = static_cast<float>(k * 1.5707963267948966);
        angles.push_back(std::nextafter(nearest, -INFINITY));
        angles.push_back(nearest);
        angles.push_back(std::nextafter(nearest, INFINITY));
    }
    EXPECT_LE(worstError(angles), 1);
}

TEST(SinCosAccuracy, BeyondTheReductionRangeAndNonFinite) {
    EXPECT_LE(worstError({262145.0f, -3.0e6f, 1.0e10f, 3.0e38f, 262143.9f}), 1);

    const float angles[] = {INFINITY, -INFINITY, std::numeric_limits<float>::quiet_NaN()};
    float sines[3];
    float cosines[3];
    sinCos(angles, 3, sines, cosines);
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(std::isnan(sines[i])) << i;
        EXPECT_TRUE(std::isnan(cosines[i])) << i;
    }
}

TEST(SinCosCount, WritesExactlyCountResults) {
    // 13 is no multiple of any vector width: the remainder must stop in time.
    std::vector<float> angles(16, 0.5f);
    std::vector<float> sines(16, 7.0f);
    std::vector<float> cosines(16, 7.0f);
    sinCos(angles.data(), 13, sines.data(), cosines.data());
    EXPECT_FLOAT_EQ(sines[12], std::sin(0.5f));
    EXPECT_FLOAT_EQ(cosines[12], std::cos(0.5f));
    EXPECT_EQ(sines[13], 7.0f);
    EXPECT_EQ(cosines[13], 7.0f);

    sines[0] = 7.0f;
    sinCos(angles.data(), 0, sines.data(), cosines.data());
    EXPECT_EQ(sines[0], 7.0f) << "a count of 0 writes nothing";
}

} // namespace
} // namespace korvath::test
