// Derived values of a Gerstner wave and the ocean grid's rest positions.
#include "OceanFixtures.h"

#include <gtest/gtest.h>

namespace korvath::test {
namespace {

TEST(WaveDerivedValues, SceneFirstWave) {
    const Wave wave = makeWave(1.0f, 0.0f, 0.6f, 30.0f, 1.8f, 0.0f);
    EXPECT_NEAR(wave.waveNumber, 0.2094395f, 1e-7f);
    EXPECT_NEAR(wave.waveVector.x, 0.1795929f, 1e-7f);
    EXPECT_EQ(wave.waveVector.y, 0.0f);
    EXPECT_NEAR(wave.waveVector.z, 0.1077557f, 1e-7f);
    EXPECT_NEAR(wave.angularFrequency, 1.433388f, 1e-6f);
    EXPECT_EQ(wave.amplitude, 1.8f);
    EXPECT_EQ(wave.phase, 0.0f);
}

TEST(WaveDerivedValues, DirectionIsNormalisedIncludingItsYComponent) {
    const Wave doubled = makeWave(2.0f, 0.0f, 0.0f, 8.0f, 0.8f, 0.5f);
    const Wave unit = makeWave(1.0f, 0.0f, 0.0f, 8.0f, 0.8f, 0.5f);
    EXPECT_EQ(doubled.waveVector.x, unit.waveVector.x);
    EXPECT_EQ(doubled.waveNumber, unit.waveNumber);
    EXPECT_EQ(doubled.angularFrequency, unit.angularFrequency);

    const Wave tilted = makeWave(0.0f, 3.0f, 4.0f, 10.0f, 1.0f, 0.0f);
    EXPECT_FLOAT_EQ(tilted.waveVector.y, 0.6f * tilted.waveNumber);
    EXPECT_FLOAT_EQ(tilted.waveVector.z, 0.8f * tilted.waveNumber);
}

TEST(OceanRestGrid, ReachesOneCellLessTowardsPlusXAndMinusZ) {
    const OceanGrid grid = sceneGrid();
    EXPECT_NEAR(grid.cellWidth, 11.428572f, 1e-6f);
    EXPECT_EQ(grid.restX(0), -400.0f);
    EXPECT_NEAR(grid.restX(69), 388.571f, 1e-3f);
    EXPECT_EQ(grid.restZ(0), 400.0f);
    EXPECT_NEAR(grid.restZ(69), -388.571f, 1e-3f);
    EXPECT_EQ(grid.restX(35), 0.0f);
    EXPECT_EQ(grid.restZ(35), 0.0f);
}

} // namespace
} // namespace korvath::test
