// The committed data files: the generator reproduces them byte for byte, and
// the meshes are what the scenes need (within capacity and frame budget, wound
// outwards, placed where the scenes look, the aircraft flying nose first).
#include "math/Matrix4.h"
#include "mesh/Mesh3ds.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
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

const char* const dataFiles[] = {
    "model/korvath.3ds",   "model/korvath.jpg", "model/landscape.3ds",
    "model/landscape.jpg", "model/flieger.3ds", "model/flieger.jpg",
    "particle/lava.bmp",   "particle/ash.bmp",  "particle/stone.bmp",
};

std::vector<char> fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::unique_ptr<Mesh3ds> loadData(const char* path) {
    auto mesh = std::make_unique<Mesh3ds>();
    EXPECT_TRUE(mesh->load(path)) << path;
    return mesh;
}

Vector3 corner(const Mesh3ds& mesh, int triangle, int which) {
    const Triangle& t = mesh.polygons[triangle];
    return mesh.vertices[which == 0 ? t.a : which == 1 ? t.b : t.c];
}

// ---- The generator ---------------------------------------------------------------

TEST(GeneratedData, GeneratorReproducesEveryFileTheProgramReads) {
    char pattern[] = "/tmp/korvath-data-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::string directory = pattern;
    ASSERT_EQ(std::system((std::string(KORVATH_GENERATOR) + " " + directory).c_str()), 0);
    for (const char* file : dataFiles) {
        const std::vector<char> generated = fileBytes(directory + "/" + file);
        EXPECT_FALSE(generated.empty()) << file;
        EXPECT_TRUE(generated == fileBytes(std::string("data/") + file)) << file;
        std::remove((directory + "/" + file).c_str());
    }
    std::remove((directory + "/model").c_str());
    std::remove((directory + "/particle").c_str());
    std::remove(directory.c_str());
}

TEST(GeneratedData, SpritesAre24BitBmpsWithTheClassic40ByteHeader) {
    for (const char* sprite :
         {"data/particle/lava.bmp", "data/particle/ash.bmp", "data/particle/stone.bmp"}) {
        const std::vector<char> bytes = fileBytes(sprite);
        ASSERT_GT(bytes.size(), 54u) << sprite;
        const auto at = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
        EXPECT_EQ(at(0), 'B');
        EXPECT_EQ(at(1), 'M');
        EXPECT_EQ(at(14), 40) << sprite; // header size
        EXPECT_EQ(at(18), 64) << sprite; // width
        EXPECT_EQ(at(22), 64) << sprite; // height
        EXPECT_EQ(at(28), 24) << sprite; // bits per pixel
    }
}

// ---- All meshes ------------------------------------------------------------------

struct Budget {
    const char* path;
    int minTriangles, maxTriangles;
};

class GeneratedMesh : public ::testing::TestWithParam<Budget> {};

TEST_P(GeneratedMesh, StaysWithinCapacityAndTheFrameBudgetWithValidIndices) {
    const auto mesh = loadData(GetParam().path);
    EXPECT_GE(mesh->polygonCount, GetParam().minTriangles);
    EXPECT_LE(mesh->polygonCount, GetParam().maxTriangles);
    EXPECT_LE(mesh->vertexCount, Mesh3ds::capacity);
    for (int i = 0; i < mesh->polygonCount; ++i) {
        const Triangle& t = mesh->polygons[i];
        ASSERT_LT(std::max({t.a, t.b, t.c}), mesh->vertexCount) << i;
    }
    for (int k = 0; k < mesh->vertexCount; ++k) {
        ASSERT_GE(mesh->texCoords[k].u, 0.0f);
        ASSERT_LE(mesh->texCoords[k].u, 1.0f);
        ASSERT_GE(mesh->texCoords[k].v, 0.0f);
        ASSERT_LE(mesh->texCoords[k].v, 1.0f);
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

TEST(GeneratedData, AircraftIsClosedAndWoundOutwards) {
    const auto mesh = loadData("data/model/flieger.3ds");
    // Closed and consistently wound: every edge, by its corner positions, is
    // run once in each direction.
    using Point = std::tuple<float, float, float>;
    std::map<std::pair<Point, Point>, int> edges;
    double volume = 0.0;
    for (int i = 0; i < mesh->polygonCount; ++i) {
        Point p[3];
        for (int j = 0; j < 3; ++j) {
            const Vector3 v = corner(*mesh, i, j);
            p[j] = {v.x, v.y, v.z};
        }
        for (int j = 0; j < 3; ++j) {
            ++edges[{p[j], p[(j + 1) % 3]}];
            --edges[{p[(j + 1) % 3], p[j]}];
        }
        const Vector3 a = corner(*mesh, i, 0);
        const Vector4& n = mesh->normals[i];
        volume += (a.x * n.x + a.y * n.y + a.z * n.z) / 6.0;
    }
    for (const auto& [edge, balance] : edges) {
        ASSERT_EQ(balance, 0);
    }
    // Outward normals enclose a positive volume.
    EXPECT_GT(volume, 0.005);
}

// ---- The island --------------------------------------------------------------------

TEST(IslandMesh, CraterRimShoreAndSeaFloorSitWhereTheVolcanoSceneNeedsThem) {
    const auto mesh = loadData("data/model/korvath.3ds");
    const auto fromAxis = [](const Vector3& v) { return std::hypot(v.x + 7.0f, v.z); };
    int highest = 0;
    int onAxis = 0;
    float farthest = 0.0f;
    bool beach = false;
    for (int k = 0; k < mesh->vertexCount; ++k) {
        const Vector3& v = mesh->vertices[k];
        highest = v.y > mesh->vertices[highest].y ? k : highest;
        onAxis = fromAxis(v) < fromAxis(mesh->vertices[onAxis]) ? k : onAxis;
        farthest = std::max(farthest, fromAxis(v));
        beach = beach || (v.y > -1.0f && v.y < 2.0f);
        ASSERT_GT(v.x, -400.0f);
        ASSERT_LT(v.x, 389.0f);
        ASSERT_GT(v.z, -400.0f);
        ASSERT_LT(v.z, 389.0f);
    }
    // The rim is where the lava fountain leaves at height 60.
    const Vector3& rim = mesh->vertices[highest];
    EXPECT_LT(fromAxis(rim), 15.0f);
    EXPECT_GT(rim.y, 55.0f);
    EXPECT_LT(rim.y, 64.0f);
    EXPECT_LT(mesh->vertices[onAxis].y, rim.y - 5.0f); // a crater, not a peak
    EXPECT_TRUE(beach);
    // The outer edge lies well under the troughs of waves about 4 high.
    for (int k = 0; k < mesh->vertexCount; ++k) {
        const Vector3& v = mesh->vertices[k];
        if (fromAxis(v) > 0.95f * farthest) {
            ASSERT_LT(v.y, -8.0f) << k;
        }
    }
}

// ---- The landscape -------------------------------------------------------------

TEST(LandscapeMesh, HillsAroundTheOriginStayUnderTheAircraft) {
    const auto mesh = loadData("data/model/landscape.3ds");
    float lowest = 1e9f, highest = -1e9f, highestNear = -1e9f;
    float minX = 1e9f, maxX = -1e9f, minZ = 1e9f, maxZ = -1e9f;
    for (int k = 0; k < mesh->vertexCount; ++k) {
        const Vector3& v = mesh->vertices[k];
        lowest = std::min(lowest, v.y);
        highest = std::max(highest, v.y);
        if (std::fabs(v.x) < 10.0f && std::fabs(v.z) < 10.0f) {
            highestNear = std::max(highestNear, v.y);
        }
        minX = std::min(minX, v.x);
        maxX = std::max(maxX, v.x);
        minZ = std::min(minZ, v.z);
        maxZ = std::max(maxZ, v.z);
    }
    EXPECT_LE(minX, -15.0f);
    EXPECT_GE(maxX, 15.0f);
    EXPECT_LE(minZ, -15.0f);
    EXPECT_GE(maxZ, 15.0f);
    EXPECT_GT(lowest, -1.0f);
    EXPECT_GT(highest, 2.0f);
    EXPECT_LT(highest, 5.0f); // the aircraft circles at height 6
    EXPECT_GT(highestNear, 1.0f);
}

// The world position of the eye the shadow scene opens with: its look-at from
// (0, 10, 10) times the camera values the switch sets (translation (3, -1.7, -3),
// -39 degrees about x, -237 about y). The view is rigid, so the eye is -R^T t.
Vector3 openingEye() {
    const float e[3] = {0.0f, 10.0f, 10.0f};
    const float length = std::sqrt(e[1] * e[1] + e[2] * e[2]);
    const float f[3] = {0.0f, -e[1] / length, -e[2] / length}; // towards the origin
    const float s[3] = {1.0f, 0.0f, 0.0f};                     // f x up, normalised
    const float u[3] = {s[1] * f[2] - s[2] * f[1], s[2] * f[0] - s[0] * f[2],
                        s[0] * f[1] - s[1] * f[0]};
    Matrix4 lookAt;
    for (int c = 0; c < 3; ++c) {
        lookAt.m[4 * c + 0] = s[c];
        lookAt.m[4 * c + 1] = u[c];
        lookAt.m[4 * c + 2] = -f[c];
    }
    for (int r = 0; r < 3; ++r) {
        const float* axis = r == 0 ? s : r == 1 ? u : f;
        const float sign = r == 2 ? 1.0f : -1.0f;
        lookAt.m[12 + r] = sign * (axis[0] * e[0] + axis[1] * e[1] + axis[2] * e[2]);
    }
    const Matrix4 view = lookAt * Matrix4::translation(3.0f, -1.7f, -3.0f, 1.0f) *
                         Matrix4::rotation(-39.0f, 1.0f, 0.0f, 0.0f) *
                         Matrix4::rotation(-237.0f, 0.0f, 1.0f, 0.0f);
    float eye[3];
    for (int i = 0; i < 3; ++i) {
        eye[i] = -(view.m[4 * i] * view.m[12] + view.m[4 * i + 1] * view.m[13] +
                   view.m[4 * i + 2] * view.m[14]);
    }
    return {eye[0], eye[1], eye[2]};
}

TEST(LandscapeMesh, TheOpeningViewStandsAboveTheGroundAndSeesTheOriginOverIt) {
    const auto mesh = loadData("data/model/landscape.3ds");
    const Vector3 eye = openingEye();
    ASSERT_GT(eye.y, 0.5f); // a low view, near (-13, 0.9, -12)
    const float toOrigin = std::hypot(eye.x, eye.z);
    for (int k = 0; k < mesh->vertexCount; ++k) {
        const Vector3& v = mesh->vertices[k];
        // Where the vertex lies along the ground line from the eye to the origin.
        const float along = ((v.x - eye.x) * -eye.x + (v.z - eye.z) * -eye.z) / toOrigin;
        const float across =
            std::fabs((v.x - eye.x) * -eye.z - (v.z - eye.z) * -eye.x) / toOrigin;
        if (along < -1.5f || along > toOrigin || across > 1.5f) {
            continue;
        }
        // Near the eye the ground keeps clear of the 0.5 near plane; further on it
        // stays below the eye, so nothing hides the aircraft's circle.
        ASSERT_LT(v.y, along < 2.0f ? eye.y - 0.5f : eye.y) << v.x << ", " << v.z;
    }
}

// ---- The aircraft --------------------------------------------------------------

Vector3 transformPoint(const Matrix4& m, const Vector3& p, float w = 1.0f) {
    const float in[4] = {p.x, p.y, p.z, w};
    float out[3];
    for (int r = 0; r < 3; ++r) {
        out[r] = m.m[r] * in[0] + m.m[4 + r] * in[1] + m.m[8 + r] * in[2] + m.m[12 + r] * in[3];
    }
    return {out[0], out[1], out[2]};
}

// The shadow scene's placement at time t, in the order of its GL calls.
Matrix4 aircraftPlacement(float t) {
    return Matrix4::translation(4.0f * static_cast<float>(std::sin(t)), 6.0f,
                                4.0f * static_cast<float>(std::cos(t)), 1.0f) *
           Matrix4::rotation(t * 180.0f / 3.14f, 0.0f, 1.0f, 0.0f) *
           Matrix4::rotation(90.0f, 0.0f, 1.0f, 0.0f) * Matrix4::rotation(-90.0f, 1.0f, 0.0f, 0.0f);
}

const float flightTimes[] = {0.0f, 0.7f, 2.0f, 4.5f};

TEST(AircraftMesh, ModelAxesTurnIntoTheFlightDirectionAndUp) {
    for (const float t : flightTimes) {
        const Matrix4 placement = aircraftPlacement(t);
        const Vector3 nose = transformPoint(placement, {0.0f, -1.0f, 0.0f}, 0.0f);
        const Vector3 up = transformPoint(placement, {0.0f, 0.0f, 1.0f}, 0.0f);
        EXPECT_NEAR(nose.x, std::cos(t), 0.01f) << t;
        EXPECT_NEAR(nose.y, 0.0f, 1e-5f) << t;
        EXPECT_NEAR(nose.z, -std::sin(t), 0.01f) << t;
        EXPECT_NEAR(up.y, 1.0f, 1e-5f) << t;
    }
}

TEST(AircraftMesh, FliesNoseFirstUprightWithItsWingsAcrossTheCircle) {
    const auto mesh = loadData("data/model/flieger.3ds");
    for (const float t : flightTimes) {
        const Matrix4 placement = aircraftPlacement(t);
        const Vector3 centre(4.0f * std::sin(t), 6.0f, 4.0f * std::cos(t));
        const Vector3 forward(std::cos(t), 0.0f, -std::sin(t)); // the velocity's direction
        const Vector3 side(std::sin(t), 0.0f, std::cos(t));     // away from the circle's axis
        struct Extreme {
            float value = -1e9f;
            Vector3 at; // forward, height, side of the vertex
        } front, top, wide;
        for (int k = 0; k < mesh->vertexCount; ++k) {
            const Vector3 p = transformPoint(placement, mesh->vertices[k]);
            const Vector3 d(p.x - centre.x, p.y - centre.y, p.z - centre.z);
            const Vector3 local(d.x * forward.x + d.z * forward.z, d.y,
                                d.x * side.x + d.z * side.z);
            const auto keep = [&](Extreme& e, float value) {
                if (value > e.value) {
                    e = {value, local};
                }
            };
            keep(front, local.x);
            keep(top, local.y);
            keep(wide, std::fabs(local.z));
        }
        // The spinner tip leads, on the fuselage axis.
        EXPECT_GT(front.at.x, 0.6f) << t;
        EXPECT_LT(std::fabs(front.at.z), 0.05f) << t;
        EXPECT_LT(std::fabs(front.at.y), 0.1f) << t;
        // The fin tip is the highest point, at the back: upright, not inverted.
        EXPECT_GT(top.at.y, 0.2f) << t;
        EXPECT_LT(top.at.x, -0.3f) << t;
        // The wing tips reach out sideways about 0.75 units.
        EXPECT_GT(wide.value, 0.6f) << t;
        EXPECT_LT(wide.value, 1.0f) << t;
        EXPECT_LT(std::fabs(wide.at.x), 0.4f) << t;
    }
}

} // namespace
} // namespace korvath
