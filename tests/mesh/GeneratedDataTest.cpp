// The committed data files: the generator reproduces them byte for byte, and
// the meshes stay within capacity and frame budget and face outwards. The
// golden poses judge how they look.
#include "ScratchFiles.h"
#include "mesh/Mesh3ds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>

namespace korvath {
namespace {

TEST(GeneratedData, GeneratorReproducesEveryFileTheProgramReads) {
    const test::ScratchDirectory directory;
    ASSERT_EQ(
        std::system((std::string(KORVATH_GENERATOR) + " " + directory.path().string()).c_str()), 0);
    for (const char* file : {"model/korvath.3ds", "model/korvath.jpg", "model/landscape.3ds",
                             "model/landscape.jpg", "model/flieger.3ds", "model/flieger.jpg",
                             "particle/lava.bmp", "particle/ash.bmp", "particle/stone.bmp"}) {
        const auto committed = test::readFileBytes("data/" + std::string(file));
        EXPECT_FALSE(committed.empty()) << file;
        EXPECT_TRUE(test::readFileBytes(directory.file(file)) == committed) << file;
    }
}

TEST(GeneratedData, MeshesStayWithinBudgetAndFaceOutwards) {
    // Outward normals enclose a positive signed volume: measured from any point
    // for the closed aircraft, from far below for the height fields.
    const struct {
        const char* path;
        int minTriangles, maxTriangles;
        float insideY;
    } meshes[] = {{"data/model/korvath.3ds", 2000, 4000, -1000.0f},
                  {"data/model/landscape.3ds", 2000, 3000, -1000.0f},
                  {"data/model/flieger.3ds", 100, 600, 0.0f}};
    for (const auto& m : meshes) {
        const auto mesh = std::make_unique<Mesh3ds>();
        ASSERT_TRUE(mesh->load(m.path)) << m.path;
        EXPECT_GE(mesh->polygonCount, m.minTriangles) << m.path;
        EXPECT_LE(mesh->polygonCount, m.maxTriangles) << m.path;
        EXPECT_LE(mesh->vertexCount, Mesh3ds::capacity) << m.path;
        double volume = 0.0;
        for (int i = 0; i < mesh->polygonCount; ++i) {
            const Triangle& t = mesh->polygons[i];
            ASSERT_LT(std::max({t.a, t.b, t.c}), mesh->vertexCount) << m.path << " " << i;
            const Vector3& corner = mesh->vertices[t.a];
            const Vector4& n = mesh->normals[i];
            volume += (corner.x * n.x + (corner.y - m.insideY) * n.y + corner.z * n.z) / 6.0;
        }
        EXPECT_GT(volume, 0.0) << m.path;
    }
}

} // namespace
} // namespace korvath
