// The wave update, plain and fast: positions against values worked out
// independently in double precision, and the two paths against each other.
#include "ocean/WaveSum.h"
#include "OceanFixtures.h"
#include "ocean/PlainOcean.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace korvath::test {
namespace {

using Update = void (*)(const OceanGrid&, const std::vector<Wave>&, float, Vector3*);

void fastUpdate(const OceanGrid& grid, const std::vector<Wave>& waves, float time,
                Vector3* vertices) {
    updateVertices(RestPositions(grid), waves, time, vertices);
}

struct Implementation {
    const char* name;
    Update update;
};

class WaveUpdate : public ::testing::TestWithParam<Implementation> {
protected:
    std::vector<Vector3> at(const std::vector<Wave>& waves, float time) {
        std::vector<Vector3> vertices(grid.vertexCount());
        GetParam().update(grid, waves, time, vertices.data());
        return vertices;
    }

    const OceanGrid grid = sceneGrid();
};

struct Expected {
    int row;
    int column;
    float time;
    Vector3 position;
};

// The reference values carry five decimals; float angles near x = 400 are
// good to about 1e-5 rad.
constexpr float positionTolerance = 2e-4f;

void expectPositions(const std::vector<Vector3>& vertices, const Expected& expected) {
    const Vector3& v = vertices[expected.row * 70 + expected.column];
    const std::string where =
        "row " + std::to_string(expected.row) + ", column " + std::to_string(expected.column);
    EXPECT_NEAR(v.x, expected.position.x, positionTolerance) << where;
    EXPECT_NEAR(v.y, expected.position.y, positionTolerance) << where;
    EXPECT_NEAR(v.z, expected.position.z, positionTolerance) << where;
}

TEST_P(WaveUpdate, WithoutWavesEveryVertexRests) {
    const std::vector<Vector3> vertices = at({}, 3.0f);
    for (int row = 0; row < 70; ++row) {
        for (int column = 0; column < 70; ++column) {
            const Vector3& v = vertices[row * 70 + column];
            ASSERT_EQ(v.x, grid.restX(column));
            ASSERT_EQ(v.y, 0.0f);
            ASSERT_EQ(v.z, grid.restZ(row));
        }
    }
}

TEST_P(WaveUpdate, OneWaveMatchesTheFormula) {
    const std::vector<Wave> waves = {makeWave(1.0f, 0.0f, 0.0f, 30.0f, 1.8f, 0.0f)};
    const Expected table[] = {
        {35, 35, 0.0f, {0.0f, 1.8f, 0.0f}},
        {35, 35, 1.0f, {1.78303f, 0.24656f, 0.0f}},
        {0, 0, 0.5f, {-399.41587f, -1.70258f, 400.0f}},
        {69, 69, 3.0f, {386.78291f, -0.20301f, -388.57143f}},
        {10, 50, 2.5f, {170.01354f, 1.11251f, 285.71429f}},
    };
    for (const Expected& expected : table) {
        expectPositions(at(waves, expected.time), expected);
    }
}

TEST_P(WaveUpdate, SceneWavesMatchTheFormula) {
    const Expected table[] = {
        {35, 35, 0.0f, {-0.84649f, 3.15043f, -0.74025f}},
        {35, 35, 1.0f, {2.63295f, 0.18807f, 1.65996f}},
        {0, 0, 0.5f, {-400.65534f, 0.95617f, 399.30739f}},
        {69, 69, 3.0f, {390.60861f, -0.48724f, -387.79051f}},
        {60, 5, 7.25f, {-341.81955f, -2.40015f, -283.98932f}},
    };
    for (const Expected& expected : table) {
        expectPositions(at(sceneWaves(), expected.time), expected);
    }
}

TEST_P(WaveUpdate, NothingCarriesOverFromAnEarlierTime) {
    std::vector<Vector3> vertices(grid.vertexCount());
    GetParam().update(grid, sceneWaves(), 5.0f, vertices.data());
    const std::vector<Vector3> first = vertices;
    GetParam().update(grid, sceneWaves(), 123.0f, vertices.data());
    GetParam().update(grid, sceneWaves(), 5.0f, vertices.data());
    for (size_t n = 0; n < vertices.size(); ++n) {
        ASSERT_EQ(vertices[n].x, first[n].x);
        ASSERT_EQ(vertices[n].y, first[n].y);
        ASSERT_EQ(vertices[n].z, first[n].z);
    }
}

INSTANTIATE_TEST_SUITE_P(PlainAndFast, WaveUpdate,
                         ::testing::Values(Implementation{"plain", updateVerticesPlain},
                                           Implementation{"fast", fastUpdate}),
                         [](const auto& instance) { return std::string(instance.param.name); });

// The fast path rounds every angle as the plain loop does, so the two differ
// only by the last bit of a sine or cosine (at most one unit each, times an
// amplitude) carried through the sums: a few units of 2^-24 of the summed
// amplitudes, plus one unit in the last place of the stored coordinate. An
// inexact reduction of the growing angle would be off by |angle| * 2^-24 rad,
// 1e-3 rad after 10,000 s: hundreds of times more.
float agreementTolerance(float coordinate, float summedAmplitude) {
    const float lastPlace = std::nextafter(std::fabs(coordinate), INFINITY) - std::fabs(coordinate);
    return summedAmplitude * std::ldexp(1.0f, -21) + lastPlace;
}

TEST(FastWaveUpdate, AgreesWithThePlainLoopAtSmallAndLargeTimes) {
    const OceanGrid grid = sceneGrid();
    const RestPositions rest(grid);
    const float summedAmplitude = 1.8f + 0.8f + 1.2f;
    std::vector<Vector3> plain(grid.vertexCount());
    std::vector<Vector3> fast(grid.vertexCount());
    // Up to 1e6 s the angles pass the fast reduction's range and fall back to
    // the C library, which must join seamlessly.
    for (const float time :
         {0.0f, 0.016f, 1.0f, 77.7f, 1000.0f, 10000.0f, 86400.0f, 1.0e6f, -500.0f}) {
        updateVerticesPlain(grid, sceneWaves(), time, plain.data());
        updateVertices(rest, sceneWaves(), time, fast.data());
        for (size_t n = 0; n < plain.size(); ++n) {
            const Vector3& p = plain[n];
            const Vector3& f = fast[n];
            ASSERT_NEAR(f.x, p.x, agreementTolerance(p.x, summedAmplitude)) << time << " s, " << n;
            ASSERT_NEAR(f.y, p.y, agreementTolerance(p.y, summedAmplitude)) << time << " s, " << n;
            ASSERT_NEAR(f.z, p.z, agreementTolerance(p.z, summedAmplitude)) << time << " s, " << n;
        }
    }
}

} // namespace
} // namespace korvath::test
