// The ocean's CPU maths: wave values and rest grid, the wave update against
// positions worked out independently in double precision, the strip stream's
// order and normals, the fast paths against the plain ones, the vectorised sine
// and cosine, and the heap use of a frame.
#include "OceanScene.h"
#include "ocean/PlainOcean.h"
#include "ocean/SinCos.h"
#include "ocean/StripStream.h"
#include "ocean/WaveSum.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>
#include <random>
#include <utility>

// This program counts heap allocations by replacing the global allocation
// functions (the array forms call these).
namespace {
long allocations = 0;
} // namespace

void* operator new(std::size_t size) {
    void* memory = std::malloc(size == 0 ? 1 : size);
    if (memory == nullptr) {
        throw std::bad_alloc();
    }
    ++allocations;
    return memory;
}
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}

namespace korvath::test {
namespace {

using Update = void (*)(const OceanGrid&, const std::vector<Wave>&, float, Vector3*);
using Build = void (*)(const OceanGrid&, const Vector3*, StripVertex*);

void fastUpdate(const OceanGrid& grid, const std::vector<Wave>& waves, float time,
                Vector3* vertices) {
    updateVertices(RestPositions(grid), waves, time, vertices);
}

const struct {
    const char* name;
    Update update;
    Build build;
} paths[] = {{"plain", updateVerticesPlain, buildStripStreamPlain},
             {"fast", fastUpdate, buildStripStream}};

std::vector<Vector3> surfaceAt(const std::vector<Wave>& waves, float time) {
    std::vector<Vector3> vertices(sceneGrid().vertexCount());
    updateVertices(RestPositions(sceneGrid()), waves, time, vertices.data());
    return vertices;
}

TEST(Wave, DerivedValuesAndNormalisedDirection) {
    const Wave wave = makeWave(1.0f, 0.0f, 0.6f, 30.0f, 1.8f, 0.0f);
    EXPECT_NEAR(wave.waveNumber, 0.2094395f, 1e-7f);
    EXPECT_NEAR(wave.waveVector.x, 0.1795929f, 1e-7f);
    EXPECT_EQ(wave.waveVector.y, 0.0f);
    EXPECT_NEAR(wave.waveVector.z, 0.1077557f, 1e-7f);
    EXPECT_NEAR(wave.angularFrequency, 1.433388f, 1e-6f);

    const Wave doubled = makeWave(2.0f, 0.0f, 0.0f, 8.0f, 0.8f, 0.5f);
    const Wave unit = makeWave(1.0f, 0.0f, 0.0f, 8.0f, 0.8f, 0.5f);
    EXPECT_EQ(doubled.waveVector.x, unit.waveVector.x);
    // The y component counts towards the length too.
    const Wave tilted = makeWave(0.0f, 3.0f, 4.0f, 10.0f, 1.0f, 0.0f);
    EXPECT_FLOAT_EQ(tilted.waveVector.y, 0.6f * tilted.waveNumber);
    EXPECT_FLOAT_EQ(tilted.waveVector.z, 0.8f * tilted.waveNumber);
}

TEST(OceanGrid, ReachesOneCellLessTowardsPlusXAndMinusZ) {
    const OceanGrid grid = sceneGrid();
    EXPECT_EQ(grid.restX(0), -400.0f);
    EXPECT_NEAR(grid.restX(69), 388.571f, 1e-3f);
    EXPECT_EQ(grid.restZ(0), 400.0f);
    EXPECT_NEAR(grid.restZ(69), -388.571f, 1e-3f);
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
        {none, 69, 69, 3.0f, {388.57143f, 0.0f, -388.57143f}},
        {one, 35, 35, 0.0f, {0.0f, 1.8f, 0.0f}},
        {one, 35, 35, 1.0f, {1.78303f, 0.24656f, 0.0f}},
        {one, 0, 0, 0.5f, {-399.41587f, -1.70258f, 400.0f}},
        {one, 69, 69, 3.0f, {386.78291f, -0.20301f, -388.57143f}},
        {scene, 35, 35, 0.0f, {-0.84649f, 3.15043f, -0.74025f}},
        {scene, 35, 35, 1.0f, {2.63295f, 0.18807f, 1.65996f}},
        {scene, 0, 0, 0.5f, {-400.65534f, 0.95617f, 399.30739f}},
        {scene, 69, 69, 3.0f, {390.60861f, -0.48724f, -387.79051f}},
        {scene, 60, 5, 7.25f, {-341.81955f, -2.40015f, -283.98932f}},
    };
    // Five decimals in the table; float angles near x = 400 are good to about 1e-5 rad.
    const float tolerance = 2e-4f;
    for (const auto& path : paths) {
        // One buffer for every case, so anything carried over from the case before shows.
        std::vector<Vector3> vertices(sceneGrid().vertexCount(), Vector3(7.0f, 7.0f, 7.0f));
        for (const auto& expected : table) {
            path.update(sceneGrid(), expected.waves, expected.time, vertices.data());
            const Vector3& v = vertices[expected.row * 70 + expected.column];
            SCOPED_TRACE(testing::Message() << path.name << ", case " << &expected - table);
            EXPECT_NEAR(v.x, expected.position.x, tolerance);
            EXPECT_NEAR(v.y, expected.position.y, tolerance);
            EXPECT_NEAR(v.z, expected.position.z, tolerance);
        }
    }
}

// The fast path rounds every angle as the plain loop does, so the two differ
// only by the last bit of a sine or cosine (at most one unit each, times an
// amplitude) carried through the sums: a few units of 2^-24 of the summed
// amplitudes, plus one unit in the last place of the stored coordinate. An
// inexact reduction of the growing angle would be off by |angle| * 2^-24 rad,
// 1e-3 rad after 10,000 s: hundreds of times more.
TEST(WaveUpdate, FastAgreesWithPlainAtSmallAndLargeTimes) {
    const float summedAmplitude = 1.8f + 0.8f + 1.2f;
    auto tolerance = [&](float coordinate) {
        const float magnitude = std::fabs(coordinate);
        return summedAmplitude * std::ldexp(1.0f, -21) +
               (std::nextafter(magnitude, INFINITY) - magnitude);
    };
    std::vector<Vector3> plain(sceneGrid().vertexCount());
    // Past about 2e5 s the angles leave the fast reduction's range for the C library.
    for (const float time : {0.0f, 1.0f, 77.7f, 10000.0f, 86400.0f, 1.0e6f, -500.0f}) {
        updateVerticesPlain(sceneGrid(), sceneWaves(), time, plain.data());
        const std::vector<Vector3> fast = surfaceAt(sceneWaves(), time);
        for (size_t n = 0; n < plain.size(); ++n) {
            ASSERT_NEAR(fast[n].x, plain[n].x, tolerance(plain[n].x)) << time << " s, vertex " << n;
            ASSERT_NEAR(fast[n].y, plain[n].y, tolerance(plain[n].y)) << time << " s, vertex " << n;
            ASSERT_NEAR(fast[n].z, plain[n].z, tolerance(plain[n].z)) << time << " s, vertex " << n;
        }
    }
}

TEST(StripStream, SixtySevenStripsEachPairingTheNextRowWithItsOwn) {
    const OceanGrid grid = sceneGrid();
    ASSERT_EQ(stripCount(grid), 67);
    ASSERT_EQ(stripLength(grid), 136);
    ASSERT_EQ(streamLength(grid), 67 * 136);
    const std::vector<Vector3> vertices = surfaceAt(sceneWaves(), 2.0f);
    std::vector<StripVertex> streams[2];
    for (int p = 0; p < 2; ++p) {
        SCOPED_TRACE(paths[p].name);
        std::vector<StripVertex>& stream = streams[p];
        stream.resize(streamLength(grid));
        paths[p].build(grid, vertices.data(), stream.data());
        // Strip s runs columns 1 to 68 of rows s + 2 and s + 1 in turn: the first
        // starts at row 2 then row 1 of column 1, the last ends at row 68 then row
        // 67 of column 68.
        for (int n = 0; n < streamLength(grid); ++n) {
            const int row = n / 136 + (n % 2 == 0 ? 2 : 1);
            const Vector3& expected = vertices[row * 70 + 1 + n % 136 / 2];
            ASSERT_EQ(std::memcmp(&stream[n].position, &expected, sizeof expected), 0) << n;
        }
    }
    // The fast path computes each normal once for both strips that use it, the
    // plain one in every strip: the same operations, so the same bits.
    EXPECT_EQ(
        std::memcmp(streams[0].data(), streams[1].data(), streams[0].size() * sizeof(StripVertex)),
        0);
}

TEST(StripStream, PlaneNormalsAreFourCellAreasTimesTheirUpwardNormal) {
    const OceanGrid grid = sceneGrid();
    const float up = 4.0f * grid.cellWidth * grid.cellDepth;
    EXPECT_NEAR(up, 522.449f, 1e-3f);
    // Rest coordinates of up to 400 carry a rounding of 3e-5 into differences
    // of two cells (22.9): about 1e-6 relative per factor.
    const float tolerance = 1e-5f * up;
    // y = slopeX x + slopeZ z: a flat sea, then one rising towards +x and -z.
    for (const auto& [slopeX, slopeZ] : {std::pair{0.0f, 0.0f}, std::pair{0.5f, -0.25f}}) {
        std::vector<Vector3> vertices = surfaceAt({}, 0.0f);
        for (Vector3& v : vertices) {
            v.y = slopeX * v.x + slopeZ * v.z;
        }
        for (const auto& path : paths) {
            std::vector<StripVertex> stream(streamLength(grid));
            path.build(grid, vertices.data(), stream.data());
            for (const StripVertex& entry : stream) {
                ASSERT_NEAR(entry.normal.x, -slopeX * up, tolerance) << path.name << " " << slopeX;
                ASSERT_NEAR(entry.normal.y, up, tolerance) << path.name << " " << slopeX;
                ASSERT_NEAR(entry.normal.z, -slopeZ * up, tolerance) << path.name << " " << slopeX;
            }
        }
    }
}

TEST(StripStream, GridsTooSmallForAStripWriteNothing) {
    // Even the first strip's normals would read outside a grid of three rows.
    for (const OceanGrid small : {OceanGrid{70, 3, 1.0f, 1.0f}, OceanGrid{2, 70, 1.0f, 1.0f}}) {
        EXPECT_EQ(streamLength(small), 0);
        const std::vector<Vector3> vertices(small.vertexCount());
        for (const auto& path : paths) {
            StripVertex untouched{{7.0f, 7.0f, 7.0f}, {7.0f, 7.0f, 7.0f}};
            path.build(small, vertices.data(), &untouched);
            EXPECT_EQ(untouched.normal.x, 7.0f) << path.name;
        }
    }
}

// Equal, or one representable float apart.
bool withinOneUlp(float a, float b) {
    return a == b || a == std::nextafter(b, INFINITY) || a == std::nextafter(b, -INFINITY);
}

TEST(SinCos, WithinOneUnitInTheLastPlaceOfTheDoubleReference) {
    std::vector<float> angles;
    std::mt19937 random(7);
    // Up to 262144 rad: scene times of about two days, where the reduction is tightest.
    for (const float limit : {4.0f, 200.0f, 262144.0f}) {
        std::uniform_real_distribution<float> spread(-limit, limit);
        for (int i = 0; i < 30000; ++i) {
            angles.push_back(spread(random));
        }
    }
    // Next to k pi / 2 the results are smallest, where an inexact reduction shows first.
    for (int k = -200000; k <= 200000; k += 97) {
        const float nearest = static_cast<float>(k * 1.5707963267948966);
        angles.insert(angles.end(), {std::nextafter(nearest, -INFINITY), nearest,
                                     std::nextafter(nearest, INFINITY)});
    }
    // Beyond the fast reduction's range the C library takes over.
    angles.insert(angles.end(), {262143.9f, 262145.0f, -3.0e6f, 1.0e10f, 3.0e38f});
    std::vector<float> sines(angles.size());
    std::vector<float> cosines(angles.size());
    sinCos(angles.data(), static_cast<int>(angles.size()), sines.data(), cosines.data());
    for (size_t i = 0; i < angles.size(); ++i) {
        const double angle = angles[i];
        ASSERT_TRUE(withinOneUlp(sines[i], static_cast<float>(std::sin(angle)))) << angle;
        ASSERT_TRUE(withinOneUlp(cosines[i], static_cast<float>(std::cos(angle)))) << angle;
    }
}

TEST(SinCos, NonFiniteAnglesGiveNanAndNothingPastTheCountIsWritten) {
    std::vector<float> angles = {0.5f, INFINITY, -INFINITY, NAN, 0.5f};
    angles.resize(14, 0.5f);
    std::vector<float> sines(14, 7.0f);
    std::vector<float> cosines(14, 7.0f);
    // 13 is no multiple of any vector width: the remainder must stop in time.
    sinCos(angles.data(), 13, sines.data(), cosines.data());
    EXPECT_FLOAT_EQ(sines[12] + cosines[12], std::sin(0.5f) + std::cos(0.5f));
    for (int i = 1; i < 4; ++i) {
        EXPECT_TRUE(std::isnan(sines[i]) && std::isnan(cosines[i])) << i;
    }
    EXPECT_EQ(sines[13], 7.0f);
    EXPECT_EQ(cosines[13], 7.0f);
}

TEST(OceanHeap, UpdatingAndBuildingTheStreamAllocateNothing) {
    const OceanGrid grid = sceneGrid();
    const RestPositions rest(grid);
    const std::vector<Wave> waves = sceneWaves();
    std::vector<Vector3> vertices(grid.vertexCount());
    std::vector<StripVertex> stream(streamLength(grid));
    const long before = allocations;
    // 1e6 s takes the angles past the fast reduction, to the C library.
    for (const float time : {0.0f, 1.0f / 60.0f, 5000.0f, 1.0e6f}) {
        updateVertices(rest, waves, time, vertices.data());
        buildStripStream(grid, vertices.data(), stream.data());
    }
    EXPECT_EQ(allocations - before, 0);
    EXPECT_NE(stream[0].position.y, 0.0f) << "the frames were computed";
}

} // namespace
} // namespace korvath::test
