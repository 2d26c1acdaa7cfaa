// Mesh3ds::load on files built with the 3DS writer: face normals, skipped
// chunks, several objects and the mends that keep an untrusted file within the
// record; a file that cannot be opened.
#include "ScratchFiles.h"
#include "ThreeDsWriter.h"
#include "mesh/Mesh3ds.h"

#include <gtest/gtest.h>

#include <memory>

namespace korvath {
namespace {

constexpr std::uint16_t unknownId = 0xB000;

// The triangle (0, 0, 0), (1, 0, 0), (0, 1, 0) as face (0, 1, 2), with mapping
// coordinates, in an object called "tri".
ThreeDsMesh unitTriangle() {
    return {"tri",
            {{0.0f, 0.0f, 0.0f}, {1.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f}},
            {{0, 1, 2}},
            {{0.25f, 0.5f}, {0.75f, 0.5f}, {0.25f, 1.0f}}};
}

// A file of one object "tri" with the given chunks in its triangle mesh.
std::vector<std::uint8_t> fileOf(std::vector<ThreeDsChunk> lists,
                                 std::vector<ThreeDsChunk> before = {}) {
    before.push_back(objectChunk("tri", {triangleMeshChunk(std::move(lists))}));
    return serialise(mainChunk(std::move(before)));
}

ThreeDsChunk opaqueChunk(std::uint16_t id, std::vector<ThreeDsChunk> children = {}) {
    return {id, {1, 2, 3, 4}, std::move(children), {}};
}

// Loads the bytes through a scratch file into a fresh record.
std::unique_ptr<Mesh3ds> loadBytes(const std::vector<std::uint8_t>& bytes) {
    const test::ScratchDirectory directory;
    EXPECT_TRUE(writeFileBytes(directory.file("mesh.3ds"), bytes));
    auto mesh = std::make_unique<Mesh3ds>();
    EXPECT_TRUE(mesh->load(directory.file("mesh.3ds").c_str()));
    return mesh;
}

// What a file loads into: name, counts and whatever else `holds` (if given) checks.
struct LoadCase {
    const char* what;
    std::vector<std::uint8_t> bytes;
    const char* name;
    int vertexCount, polygonCount;
    bool (*holds)(const Mesh3ds&);
};

void expectLoads(const LoadCase& c) {
    const auto mesh = loadBytes(c.bytes);
    EXPECT_STREQ(mesh->name, c.name) << c.what;
    EXPECT_EQ(mesh->vertexCount, c.vertexCount) << c.what;
    EXPECT_EQ(mesh->polygonCount, c.polygonCount) << c.what;
    EXPECT_TRUE(c.holds == nullptr || c.holds(*mesh)) << c.what;
}

// ---- Well-formed files ------------------------------------------------------

TEST(Mesh3dsLoad, NormalsWindingSkippedChunksAndLaterObjects) {
    // Decoy vertex lists nested in a material and an unknown chunk, and group
    // chunks nested in the face list, must not be read as lists.
    const ThreeDsChunk decoy = vertexListChunk({{9.0f, 9.0f, 9.0f}});
    const ThreeDsMesh tri = unitTriangle();
    const ThreeDsMesh first = {
        "first", {{10, 0, 0}, {11, 0, 0}, {12, 0, 0}, {13, 0, 0}}, {{0, 1, 2}, {1, 3, 2}}, {}};
    const LoadCase cases[] = {
        {"one triangle", meshFileBytes({tri}), "tri", 3, 1,
         [](const Mesh3ds& m) {
             const Vector4& n = m.normals[0];
             return n.x == 0.0f && n.y == 0.0f && n.z == 1.0f && n.w == 1.0f &&
                    m.texCoords[1].u == 0.75f;
         }},
        {"reversed winding", meshFileBytes({{"tri", tri.vertices, {{0, 2, 1}}, {}}}), "tri", 3, 1,
         [](const Mesh3ds& m) { return m.normals[0].z == -1.0f; }},
        {"unknown chunks are skipped with everything nested in them",
         fileOf({opaqueChunk(unknownId, {decoy}), vertexListChunk(tri.vertices),
                 faceListChunk(tri.faces, {opaqueChunk(0x4130), opaqueChunk(0x4150)}),
                 mappingChunk(tri.texCoords)},
                {opaqueChunk(0xAFFF, {decoy})}),
         "tri", 3, 1,
         [](const Mesh3ds& m) { return m.texCoords[1].u == 0.75f && m.normals[0].z == 1.0f; }},
        {"a later object overwrites from index 0 and keeps what lies beyond",
         meshFileBytes({first, {"b", tri.vertices, tri.faces, {}}}), "b", 3, 1,
         [](const Mesh3ds& m) { return m.vertices[3].x == 13.0f && m.polygons[1].b == 3; }},
    };
    for (const LoadCase& c : cases) {
        expectLoads(c);
    }
    EXPECT_FALSE(std::make_unique<Mesh3ds>()->load("/nonexistent/korvath/mesh.3ds"));
}

// ---- Untrusted input: the mends ---------------------------------------------

TEST(Mesh3dsMends, HostileFilesStayWithinTheRecord) {
    const ThreeDsMesh tri = unitTriangle();
    // 9000 vertices whose first three make the unit triangle; 8100 faces.
    std::vector<Vector3> many(9000, Vector3(0.0f, 1.0f, 0.0f));
    many[0] = Vector3(0.0f, 0.0f, 0.0f);
    many[1] = Vector3(1.0f, 0.0f, 0.0f);
    // 12 bytes of vertex 0 and 2 of vertex 1's x remain.
    std::vector<std::uint8_t> cut =
        fileOf({vertexListChunk({{5, 6, 7}, {8, 9, 10}, {11, 12, 13}})});
    cut.resize(cut.size() - 22);

    const LoadCase cases[] = {
        {"counts above 8000 are cut and the next chunk is read in place",
         fileOf({vertexListChunk(many), faceListChunk(std::vector<ThreeDsFace>(8100, {0, 1, 2})),
                 mappingChunk(tri.texCoords)}),
         "tri", Mesh3ds::capacity, Mesh3ds::capacity,
         [](const Mesh3ds& m) {
             return m.vertices[7999].y == 1.0f && m.normals[7999].z == 1.0f &&
                    m.texCoords[1].u == 0.75f;
         }},
        {"a face index not below 8000 becomes (0, 0, 0)",
         meshFileBytes(
             {{"tri", tri.vertices, {{0, 1, 2}, {0, 8000, 2}, {65535, 1, 2}, {7999, 1, 2}}, {}}}),
         "tri", 3, 4,
         [](const Mesh3ds& m) {
             const Triangle &p = m.polygons[1], &q = m.polygons[2];
             const Vector4& n = m.normals[1];
             return (p.a | p.b | p.c | q.a | q.b | q.c) == 0 && n.x == 0.0f && n.y == 0.0f &&
                    n.z == 0.0f && m.polygons[3].a == 7999 && m.normals[0].z == 1.0f;
         }},
        {"a chunk length below 6 ends the reading",
         fileOf({{unknownId, {}, {}, 0u}, vertexListChunk(tri.vertices)}), "tri", 0, 0, nullptr},
        {"a long name keeps 19 characters and its rest is passed over",
         meshFileBytes({{"abcdefghijklmnopqrstuvwxyz0", tri.vertices, tri.faces, {}}}),
         "abcdefghijklmnopqrs", 3, 1, nullptr},
        {"a file ending inside a list keeps its count", cut, "tri", 3, 0,
         [](const Mesh3ds& m) { return m.vertices[0].z == 7.0f && m.vertices[1].x == 0.0f; }},
    };
    for (const LoadCase& c : cases) {
        expectLoads(c);
    }
}

} // namespace
} // namespace korvath
