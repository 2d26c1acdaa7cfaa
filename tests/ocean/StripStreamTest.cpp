// The strip stream, plain and fast: strip count and order, normals of simple
// surfaces, winding, and the two paths giving the same stream.
#include "ocean/StripStream.h"
#include "OceanFixtures.h"
#include "ocean/PlainOcean.h"
#include "ocean/WaveSum.h"

#include <gtest/gtest.h>

#include <string>

namespace korvath::test {
namespace {

using Build = void (*)(const OceanGrid&, const Vector3*, StripVertex*);

struct Implementation {
    const char* name;
    Build build;
};

class StripStreamBuild : public ::testing::TestWithParam<Implementation> {
protected:
    std::vector<StripVertex> streamOf(const std::vector<Vector3>& vertices) {
        std::vector<StripVertex> stream(streamLength(grid));
        GetParam().build(grid, vertices.data(), stream.data());
        return stream;
    }

    std::vector<Vector3> wavySurface(float time) {
        std::vector<Vector3> vertices(grid.vertexCount());
        updateVertices(RestPositions(grid), sceneWaves(), time, vertices.data());
        return vertices;
    }

    const OceanGrid grid = sceneGrid();
};

void expectSameVector(const Vector3& actual, const Vector3& expected, const std::string& what) {
    EXPECT_EQ(actual.x, expected.x) << what;
    EXPECT_EQ(actual.y, expected.y) << what;
    EXPECT_EQ(actual.z, expected.z) << what;
}

TEST_P(StripStreamBuild, EachStripPairsTheNextRowWithItsOwn) {
    const std::vector<Vector3> vertices = wavySurface(2.0f);
    const std::vector<StripVertex> stream = streamOf(vertices);
    auto vertexAt = [&](int row, int column) { return vertices[row * 70 + column]; };
    expectSameVector(stream[0].position, vertexAt(2, 1), "first strip, first vertex");
    expectSameVector(stream[1].position, vertexAt(1, 1), "first strip, second vertex");
    expectSameVector(stream[9110].position, vertexAt(68, 68), "last strip, last but one");
    expectSameVector(stream[9111].position, vertexAt(67, 68), "last strip, last vertex");
    for (int strip = 0; strip < 67; ++strip) {
        for (int entry = 0; entry < 136; ++entry) {
            const int row = strip + 1 + (entry % 2 == 0 ? 1 : 0);
            const int column = 1 + entry / 2;
            const StripVertex& emitted = stream[strip * 136 + entry];
            ASSERT_EQ(emitted.position.y, vertexAt(row, column).y) << strip << ", " << entry;
            const Vector3 normal = gridNormal(vertices.data(), 70, row * 70 + column);
            ASSERT_EQ(emitted.normal.x, normal.x) << strip << ", " << entry;
            ASSERT_EQ(emitted.normal.z, normal.z) << strip << ", " << entry;
        }
    }
}

TEST_P(StripStreamBuild, FlatSeaNormalsPointUp) {
    std::vector<Vector3> vertices(grid.vertexCount());
    updateVertices(RestPositions(grid), {}, 0.0f, vertices.data());
    const float up = 4.0f * grid.cellWidth * grid.cellDepth;
    // Neighbours' rest coordinates of up to 400 carry a rounding of 3e-5 into
    // differences of two cells (22.9): about 1e-6 relative per factor.
    const float neighbourRounding = 1e-5f;
    EXPECT_NEAR(up, 522.449f, 1e-3f);
    for (const StripVertex& emitted : streamOf(vertices)) {
        ASSERT_EQ(emitted.normal.x, 0.0f);
        ASSERT_NEAR(emitted.normal.y, up, neighbourRounding * up);
        ASSERT_EQ(emitted.normal.z, 0.0f);
    }
}

TEST_P(StripStreamBuild, SlopeRisingTowardsPlusXLeansItsNormalToMinusX) {
    std::vector<Vector3> vertices(grid.vertexCount());
    updateVertices(RestPositions(grid), {}, 0.0f, vertices.data());
    for (Vector3& v : vertices) {
        v.y = 0.5f * v.x;
    }
    const StripVertex middle = streamOf(vertices)[30 * 136 + 60];
    const float area = grid.cellWidth * grid.cellDepth;
    EXPECT_FLOAT_EQ(middle.normal.x, -2.0f * area);
    EXPECT_FLOAT_EQ(middle.normal.y, 4.0f * area);
    EXPECT_FLOAT_EQ(middle.normal.z, 0.0f);
}

TEST_P(StripStreamBuild, TrianglesWindCounterClockwiseSeenFromAbove) {
    const std::vector<StripVertex> stream = streamOf(wavySurface(0.0f));
    // In a strip every second triangle reverses its vertex order.
    for (int first : {0, 1, 2 * 136, 66 * 136 + 132}) {
        const Vector3& a = stream[first].position;
        const Vector3& b = stream[first + 1].position;
        const Vector3& c = stream[first + 2].position;
        const Vector3 facing = first % 2 == 0 ? cross(b - a, c - a) : cross(c - a, b - a);
        EXPECT_GT(facing.y, 0.0f) << "triangle at " << first;
    }
}

TEST_P(StripStreamBuild, GridsTooSmallForAStripWriteNothing) {
    // Even the first row's normals would read outside a grid of two rows.
    for (const OceanGrid small : {OceanGrid{70, 3, 1.0f, 1.0f}, OceanGrid{70, 2, 1.0f, 1.0f},
                                  OceanGrid{2, 70, 1.0f, 1.0f}}) {
        EXPECT_EQ(streamLength(small), 0);
        std::vector<Vector3> vertices(small.vertexCount());
        StripVertex untouched{{7.0f, 7.0f, 7.0f}, {7.0f, 7.0f, 7.0f}};
        GetParam().build(small, vertices.data(), &untouched);
        EXPECT_EQ(untouched.normal.x, 7.0f);
    }
}

INSTANTIATE_TEST_SUITE_P(PlainAndFast, StripStreamBuild,
                         ::testing::Values(Implementation{"plain", buildStripStreamPlain},
                                           Implementation{"fast", buildStripStream}),
                         [](const auto& instance) { return std::string(instance.param.name); });

TEST(StripStreamLayout, SixtySevenStripsOf136) {
    EXPECT_EQ(stripCount(sceneGrid()), 67);
    EXPECT_EQ(stripLength(sceneGrid()), 136);
    EXPECT_EQ(streamLength(sceneGrid()), 9112);
}

TEST(FastStripStream, EqualsThePlainStreamBitForBit) {
    const OceanGrid grid = sceneGrid();
    std::vector<Vector3> vertices(grid.vertexCount());
    updateVertices(RestPositions(grid), sceneWaves(), 42.0f, vertices.data());
    std::vector<StripVertex> plain(streamLength(grid));
    std::vector<StripVertex> fast(streamLength(grid));
    buildStripStreamPlain(grid, vertices.data(), plain.data());
    buildStripStream(grid, vertices.data(), fast.data());
    for (size_t n = 0; n < plain.size(); ++n) {
        expectSameVector(fast[n].normal, plain[n].normal, "normal " + std::to_string(n));
        expectSameVector(fast[n].position, plain[n].position, "position " + std::to_string(n));
        if (HasFailure()) {
            return;
        }
    }
}

} // namespace
} // namespace korvath::test
