// The ocean's CPU maths: wave values, the wave update against positions worked
// out independently in double precision, and the fast wave update (vectorised
// sine and cosine included) against the plain one, allocating nothing. The
// golden poses judge the strips drawn from the result.
#include "ocean/PlainOcean.h"
#include "ocean/StripStream.h"
#include "ocean/WaveSum.h"
#include "testbed/OceanScene.h"

#include "AllocationCounter.h"

#include <gtest/gtest.h>

namespace korvath::test {
namespace {

void fastUpdate(const OceanGrid& grid, const std::vector<Wave>& waves, float time,
                Vector3* vertices) {
    updateVertices(RestPositions(grid), waves, time, vertices);
}

const struct {
    const char* name;
    void (*update)(const OceanGrid&, const std::vector<Wave>&, float, Vector3*);
} paths[] = {{"plain", updateVerticesPlain}, {"fast", fastUpdate}};

TEST(Wave, DirectionIsNormalisedAndDerivedValuesFollow) {
    // The first scene wave, its direction given at twice the length.
    const Wave wave = makeWave(2.0f, 0.0f, 1.2f, 30.0f, 1.8f, 0.0f);
    EXPECT_NEAR(wave.waveNumber, 0.2094395f, 1e-7f);
    EXPECT_NEAR(wave.waveVector.x, 0.1795929f, 1e-7f);
    EXPECT_NEAR(wave.waveVector.z, 0.1077557f, 1e-7f);
    EXPECT_NEAR(wave.angularFrequency, 1.433388f, 1e-6f);
    // The y component counts towards the length too.
    EXPECT_NEAR(makeWave(0.0f, 3.0f, 4.0f, 10.0f, 1.0f, 0.0f).waveVector.y, 0.3769911f, 1e-7f);
}

TEST(WaveUpdate, MatchesIndependentlyWorkedPositions) {
    const std::vector<Wave> none;
    const std::vector<Wave> one = {makeWave(1.0f, 0.0f, 0.0f, 30.0f, 1.8f, 0.0f)};
    const std::vector<Wave> scene = sceneWaves();
    const struct {
        const std::vector<Wave>& waves;
        int row, column;
        float time;
        Vector3 position;
    } table[] = {
        // At rest the grid reaches one cell less far towards +x and -z.
        {none, 0, 0, 3.0f, {-400.0f, 0.0f, 400.0f}},
        {none, 69, 69, 3.0f, {388.57143f, 0.0f, -388.57143f}},
        {one, 35, 35, 0.0f, {0.0f, 1.8f, 0.0f}},
        {scene, 35, 35, 0.0f, {-0.84649f, 3.15043f, -0.74025f}},
        {scene, 35, 35, 1.0f, {2.63295f, 0.18807f, 1.65996f}},
        // Off the diagonal, where swapped rows and columns show.
        {scene, 60, 5, 7.25f, {-341.81955f, -2.40015f, -283.98932f}},
    };
    // Five decimals in the table; float angles near x = 400 are good to about 1e-5 rad.
    for (const auto& path : paths) {
        // One buffer for every case, so anything carried over from the case before shows.
        std::vector<Vector3> vertices(sceneGrid.vertexCount(), Vector3(7.0f, 7.0f, 7.0f));
        for (const auto& expected : table) {
            path.update(sceneGrid, expected.waves, expected.time, vertices.data());
            const Vector3& v = vertices[expected.row * 70 + expected.column];
            EXPECT_LT((v - expected.position).length(), 2e-4f)
                << path.name << ", case " << &expected - table;
        }
    }
}

// The fast path rounds every angle as the plain loop does, so the two differ
// only by the last bit of a sine or cosine times an amplitude (3.8 in all, 2e-6
// after the sums) plus one unit in the last place of the stored coordinate: 3e-5
// for x and z of up to 400, 2.4e-7 for y of under 4. An inexact reduction of the
// growing angle would be off by |angle| * 2^-24 rad, 1e-3 rad after 10,000 s.
// Neither fast step may allocate.
TEST(WaveUpdate, FastAgreesWithPlainAtLargeTimesAndAllocatesNothing) {
    const OceanGrid grid = sceneGrid;
    const RestPositions rest(grid);
    const std::vector<Wave> waves = sceneWaves();
    std::vector<Vector3> plain(grid.vertexCount());
    std::vector<Vector3> fast(grid.vertexCount());
    std::vector<StripVertex> stream(streamLength(grid));
    // Past about 2e5 s the angles leave the fast reduction's range for the C library.
    for (const float time : {1.0f, 10000.0f, 86400.0f, 1.0e6f, -500.0f}) {
        updateVerticesPlain(grid, waves, time, plain.data());
        const long before = allocationCount();
        updateVertices(rest, waves, time, fast.data());
        buildStripStream(grid, fast.data(), stream.data());
        ASSERT_EQ(allocationCount(), before) << time << " s";
        for (size_t n = 0; n < plain.size(); ++n) {
            ASSERT_NEAR(fast[n].x, plain[n].x, 3.3e-5f) << time << " s, vertex " << n;
            ASSERT_NEAR(fast[n].y, plain[n].y, 2.3e-6f) << time << " s, vertex " << n;
            ASSERT_NEAR(fast[n].z, plain[n].z, 3.3e-5f) << time << " s, vertex " << n;
        }
    }
}

} // namespace
} // namespace korvath::test
