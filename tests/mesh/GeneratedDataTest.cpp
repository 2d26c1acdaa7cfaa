// The committed data files: the generator reproduces them byte for byte, and
// the meshes stay within capacity and frame budget, face outwards and give the
// aircraft its nose where the shadow scene flies it.
#include "mesh/Mesh3ds.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <unistd.h>
#include <vector>

namespace korvath {
namespace {

std::vector<char> fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::unique_ptr<Mesh3ds> loadData(const char* path) {
    auto mesh = std::make_unique<Mesh3ds>();
    EXPECT_TRUE(mesh->load(path)) << path;
    return mesh;
}

TEST(GeneratedData, GeneratorReproducesEveryFileTheProgramReads) {
    const std::filesystem::path directory =
        std::filesystem::temp_directory_path() / ("korvath-data-" + std::to_string(getpid()));
    ASSERT_EQ(std::system((std::string(KORVATH_GENERATOR) + " " + directory.string()).c_str()), 0);
    for (const char* file : {"model/korvath.3ds", "model/korvath.jpg", "model/landscape.3ds",
                             "model/landscape.jpg", "model/flieger.3ds", "model/flieger.jpg",
                             "particle/lava.bmp", "particle/ash.bmp", "particle/stone.bmp"}) {
        const std::vector<char> generated = fileBytes((directory / file).string());
        EXPECT_FALSE(generated.empty()) << file;
        EXPECT_TRUE(generated == fileBytes(std::string("data/") + file)) << file;
    }
    std::filesystem::remove_all(directory);
}

// ---- All meshes ---------------------------------------------------------------

struct Budget {
    const char* path;
    int minTriangles, maxTriangles;
};

class GeneratedMesh : public ::testing::TestWithParam<Budget> {};

TEST_P(GeneratedMesh, StaysWithinCapacityAndTheFrameBudgetWithValidIndicesAndMapping) {
    const auto mesh = loadData(GetParam().path);
    EXPECT_GE(mesh->polygonCount, GetParam().minTriangles);
    EXPECT_LE(mesh->polygonCount, GetParam().maxTriangles);
    EXPECT_LE(mesh->vertexCount, Mesh3ds::capacity);
    for (int i = 0; i < mesh->polygonCount; ++i) {
        const Triangle& t = mesh->polygons[i];
        ASSERT_LT(std::max({t.a, t.b, t.c}), mesh->vertexCount) << i;
    }
    for (int k = 0; k < mesh->vertexCount; ++k) {
        const TexCoord& uv = mesh->texCoords[k];
        ASSERT_TRUE(uv.u >= 0.0f && uv.u <= 1.0f && uv.v >= 0.0f && uv.v <= 1.0f) << k;
    }
}

INSTANTIATE_TEST_SUITE_P(DataMeshes, GeneratedMesh,
                         ::testing::Values(Budget{"data/model/korvath.3ds", 2000, 4000},
                                           Budget{"data/model/landscape.3ds", 2000, 3000},
                                           Budget{"data/model/flieger.3ds", 100, 600}));

TEST(GeneratedData, HeightFieldsFaceUpwards) {
    for (const char* path : {"data/model/korvath.3ds", "data/model/landscape.3ds"}) {
        const auto mesh = loadData(path);
        for (int i = 0; i < mesh->polygonCount; ++i) {
            ASSERT_GT(mesh->normals[i].y, 0.0f) << path << " triangle " << i;
        }
    }
}

// ---- The aircraft -----------------------------------------------------------------

TEST(AircraftMesh, IsClosedAndWoundOutwards) {
    const auto mesh = loadData("data/model/flieger.3ds");
    // Closed and consistently wound: every edge, by its corner positions, is
    // run once in each direction.
    using Point = std::tuple<float, float, float>;
    std::map<std::pair<Point, Point>, int> edges;
    double volume = 0.0;
    for (int i = 0; i < mesh->polygonCount; ++i) {
        const Triangle& t = mesh->polygons[i];
        const Vector3 corners[3] = {mesh->vertices[t.a], mesh->vertices[t.b], mesh->vertices[t.c]};
        for (int j = 0; j < 3; ++j) {
            const Vector3 &from = corners[j], &to = corners[(j + 1) % 3];
            ++edges[{{from.x, from.y, from.z}, {to.x, to.y, to.z}}];
            --edges[{{to.x, to.y, to.z}, {from.x, from.y, from.z}}];
        }
        const Vector4& n = mesh->normals[i];
        volume += (corners[0].x * n.x + corners[0].y * n.y + corners[0].z * n.z) / 6.0;
    }
    for (const auto& [edge, balance] : edges) {
        ASSERT_EQ(balance, 0);
    }
    EXPECT_GT(volume, 0.005); // outward normals enclose a positive volume
}

TEST(AircraftMesh, NoseLeadsAlongMinusYAndTheFinStandsUpAlongZAtTheBack) {
    // The shadow scene's placement turns model -y into the flight direction and
    // model +z into up; the model must have its spinner and fin accordingly.
    const auto mesh = loadData("data/model/flieger.3ds");
    Vector3 nose, fin;
    for (int k = 0; k < mesh->vertexCount; ++k) {
        const Vector3& v = mesh->vertices[k];
        nose = v.y < nose.y ? v : nose;
        fin = v.z > fin.z ? v : fin;
    }
    EXPECT_LT(nose.y, -0.7f); // the spinner tip, on the fuselage axis
    EXPECT_LT(std::fabs(nose.x), 0.05f);
    EXPECT_LT(std::fabs(nose.z), 0.1f);
    EXPECT_GT(fin.z, 0.2f); // upright, not inverted
    EXPECT_GT(fin.y, 0.3f);
}

} // namespace
} // namespace korvath
