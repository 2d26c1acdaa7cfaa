// Mesh3ds::load: the chunk loop, the three lists, face normals, several
// objects, and the limits that keep an untrusted file within the record.
#include "MeshFiles.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace korvath {
namespace {

using test::loadBytes;
using test::unitTriangle;

constexpr std::uint16_t unknownId = 0xB000;
constexpr std::uint16_t materialId = 0xAFFF;
constexpr std::uint16_t smoothingId = 0x4150;
constexpr std::uint16_t materialGroupId = 0x4130;

std::vector<std::uint8_t> fileOf(std::vector<ThreeDsChunk> objects) {
    return serialise(mainChunk(std::move(objects)));
}

ThreeDsChunk meshObject(const std::string& name, std::vector<ThreeDsChunk> lists) {
    return objectChunk(name, {triangleMeshChunk(std::move(lists))});
}

ThreeDsChunk opaqueChunk(std::uint16_t id, std::vector<std::uint8_t> data,
                         std::vector<ThreeDsChunk> children = {}) {
    return {id, std::move(data), std::move(children), {}};
}

void expectVector(const Vector4& v, float x, float y, float z) {
    EXPECT_FLOAT_EQ(v.x, x);
    EXPECT_FLOAT_EQ(v.y, y);
    EXPECT_FLOAT_EQ(v.z, z);
    EXPECT_FLOAT_EQ(v.w, 1.0f);
}

// ---- One object -------------------------------------------------------------

TEST(Mesh3dsLoad, ReadsOneTriangleWithNameCountsAndCounterClockwiseNormal) {
    const auto mesh = loadBytes(meshFileBytes({unitTriangle()}));
    EXPECT_STREQ(mesh->name, "tri");
    EXPECT_EQ(mesh->vertexCount, 3);
    EXPECT_EQ(mesh->polygonCount, 1);
    EXPECT_FLOAT_EQ(mesh->vertices[1].x, 1.0f);
    EXPECT_FLOAT_EQ(mesh->vertices[2].y, 1.0f);
    EXPECT_EQ(mesh->polygons[0].c, 2);
    EXPECT_FLOAT_EQ(mesh->texCoords[1].u, 0.75f);
    EXPECT_FLOAT_EQ(mesh->texCoords[2].v, 1.0f);
    expectVector(mesh->normals[0], 0.0f, 0.0f, 1.0f);
}

TEST(Mesh3dsLoad, FaceNormalFollowsTheWindingAndIsTwiceTheArea) {
    ThreeDsMesh reversed = unitTriangle();
    reversed.faces = {{0, 2, 1}};
    expectVector(loadBytes(meshFileBytes({reversed}))->normals[0], 0.0f, 0.0f, -1.0f);

    ThreeDsMesh larger = unitTriangle();
    larger.vertices = {{0.0f, 0.0f, 0.0f}, {2.0f, 0.0f, 0.0f}, {0.0f, 0.0f, -3.0f}};
    expectVector(loadBytes(meshFileBytes({larger}))->normals[0], 0.0f, 6.0f, 0.0f);

    ThreeDsMesh degenerate = unitTriangle();
    degenerate.faces = {{0, 1, 1}};
    expectVector(loadBytes(meshFileBytes({degenerate}))->normals[0], 0.0f, 0.0f, 0.0f);
}

TEST(Mesh3dsLoad, WithoutMappingCoordinatesTheTexCoordsStayZero) {
    ThreeDsMesh bare = unitTriangle();
    bare.texCoords.clear();
    const auto mesh = loadBytes(meshFileBytes({bare}));
    EXPECT_EQ(mesh->polygonCount, 1);
    EXPECT_FLOAT_EQ(mesh->texCoords[1].u, 0.0f);
    EXPECT_FLOAT_EQ(mesh->texCoords[2].v, 0.0f);
}

TEST(Mesh3dsLoad, NineteenCharacterNameKeepsItsTerminatorInTheLastByte) {
    ThreeDsMesh named = unitTriangle();
    named.name = "abcdefghijklmnopqrs";
    const auto mesh = loadBytes(meshFileBytes({named}));
    EXPECT_STREQ(mesh->name, "abcdefghijklmnopqrs");
    EXPECT_EQ(mesh->name[19], '\0');
}

TEST(Mesh3dsLoad, AnyChunkSequenceIsReadWithoutAMainChunk) {
    const auto mesh = loadBytes(serialise(vertexListChunk(unitTriangle().vertices)));
    EXPECT_EQ(mesh->vertexCount, 3);
    EXPECT_EQ(mesh->polygonCount, 0);
}

// ---- Chunks skipped --------------------------------------------------------

TEST(Mesh3dsLoad, UnknownChunksAreSkippedWithEverythingNestedInThem) {
    // A material holding what looks like a vertex list must not be read as one.
    const ThreeDsChunk decoy = vertexListChunk({{9.0f, 9.0f, 9.0f}});
    const ThreeDsMesh triangle = unitTriangle();
    const auto mesh = loadBytes(fileOf({
        opaqueChunk(materialId, {1, 2, 3}, {decoy}),
        meshObject("tri", {opaqueChunk(unknownId, {0, 0, 0, 0}, {decoy}),
                           vertexListChunk(triangle.vertices), mappingChunk(triangle.texCoords),
                           faceListChunk(triangle.faces)}),
    }));
    EXPECT_EQ(mesh->vertexCount, 3);
    EXPECT_FLOAT_EQ(mesh->vertices[0].x, 0.0f);
    EXPECT_EQ(mesh->polygonCount, 1);
    expectVector(mesh->normals[0], 0.0f, 0.0f, 1.0f);
}

TEST(Mesh3dsLoad, ChunksNestedInTheFaceListAreSkippedAfterTheFaces) {
    const ThreeDsMesh triangle = unitTriangle();
    const std::vector<ThreeDsChunk> groups = {
        opaqueChunk(materialGroupId, {'r', 'e', 'd', 0, 1, 0, 0, 0}),
        opaqueChunk(smoothingId, {1, 0, 0, 0}),
    };
    const auto mesh = loadBytes(fileOf({meshObject("tri", {vertexListChunk(triangle.vertices),
                                                           faceListChunk(triangle.faces, groups),
                                                           mappingChunk(triangle.texCoords)})}));
    EXPECT_EQ(mesh->polygonCount, 1);
    EXPECT_FLOAT_EQ(mesh->texCoords[1].u, 0.75f);
}

TEST(Mesh3dsLoad, UnknownChunkReachingPastTheEndEndsTheReading) {
    const ThreeDsMesh triangle = unitTriangle();
    ThreeDsChunk overlong = opaqueChunk(unknownId, {0, 0});
    overlong.declaredLength = 1000000;
    const auto mesh = loadBytes(fileOf(
        {meshObject("tri", {vertexListChunk(triangle.vertices), faceListChunk(triangle.faces),
                            overlong, mappingChunk(triangle.texCoords)})}));
    EXPECT_EQ(mesh->polygonCount, 1);
    expectVector(mesh->normals[0], 0.0f, 0.0f, 1.0f);
    EXPECT_FLOAT_EQ(mesh->texCoords[1].u, 0.0f);
}

// ---- Several objects -------------------------------------------------------

TEST(Mesh3dsLoad, LaterObjectsOverwriteFromIndexZeroAndKeepWhatLiesBeyond) {
    ThreeDsMesh first;
    first.name = "first";
    first.vertices = {
        {10.0f, 0.0f, 0.0f}, {11.0f, 0.0f, 0.0f}, {12.0f, 0.0f, 0.0f}, {13.0f, 0.0f, 0.0f}};
    first.faces = {{0, 1, 2}, {1, 3, 2}};
    ThreeDsMesh second = unitTriangle();
    second.name = "b";
    const auto mesh = loadBytes(meshFileBytes({first, second}));
    EXPECT_STREQ(mesh->name, "b");
    EXPECT_EQ(mesh->name[2], 'r'); // the first name's bytes after the new NUL stay
    EXPECT_EQ(mesh->vertexCount, 3);
    EXPECT_EQ(mesh->polygonCount, 1);
    EXPECT_FLOAT_EQ(mesh->vertices[3].x, 13.0f);
    EXPECT_EQ(mesh->polygons[1].b, 3);
    expectVector(mesh->normals[0], 0.0f, 0.0f, 1.0f);
    expectVector(mesh->normals[1], 0.0f, 0.0f, 0.0f); // beyond polygonCount: not computed
}

TEST(Mesh3dsLoad, EmptyListsSetTheCountsToZeroAndReadNothing) {
    const auto mesh = loadBytes(fileOf({
        meshObjectChunk(unitTriangle()),
        meshObject("empty", {vertexListChunk({}), mappingChunk({}), faceListChunk({})}),
    }));
    EXPECT_EQ(mesh->vertexCount, 0);
    EXPECT_EQ(mesh->polygonCount, 0);
    EXPECT_FLOAT_EQ(mesh->vertices[1].x, 1.0f);
    expectVector(mesh->normals[0], 0.0f, 0.0f, 0.0f);
}

// ---- Record before and without a file ---------------------------------------

TEST(Mesh3dsLoad, ConstructionLeavesAnEmptyMeshThatDrawsNothing) {
    const auto mesh = std::make_unique<Mesh3ds>();
    EXPECT_EQ(mesh->vertexCount, 0);
    EXPECT_EQ(mesh->polygonCount, 0);
    EXPECT_EQ(mesh->name[0], '\0');
    EXPECT_EQ(mesh->textureId, 0u);
    expectVector(mesh->normals[Mesh3ds::capacity - 1], 0.0f, 0.0f, 0.0f);
}

TEST(Mesh3dsLoad, MissingFileAnswersFalseAndLeavesTheRecordUnchanged) {
    auto mesh = loadBytes(meshFileBytes({unitTriangle()}));
    EXPECT_FALSE(mesh->load("/nonexistent/korvath/mesh.3ds"));
    EXPECT_STREQ(mesh->name, "tri");
    EXPECT_EQ(mesh->polygonCount, 1);
    expectVector(mesh->normals[0], 0.0f, 0.0f, 1.0f);
}

// ---- Untrusted input ---------------------------------------------------------

std::vector<Vector3> numberedVertices(int count) {
    std::vector<Vector3> vertices;
    for (int k = 0; k < count; ++k) {
        vertices.emplace_back(static_cast<float>(k), 2.0f * k, 0.0f);
    }
    return vertices;
}

TEST(Mesh3dsLoad, ListsAboveCapacityKeepTheFirst8000AndTheNextChunkIsReadInPlace) {
    const ThreeDsMesh triangle = unitTriangle();
    const auto vertices = loadBytes(fileOf({meshObject(
        "big", {vertexListChunk(numberedVertices(9000)), faceListChunk(triangle.faces)})}));
    EXPECT_EQ(vertices->vertexCount, Mesh3ds::capacity);
    EXPECT_FLOAT_EQ(vertices->vertices[7999].y, 15998.0f);
    EXPECT_EQ(vertices->polygonCount, 1);
    EXPECT_EQ(vertices->polygons[0].b, 1);

    const std::vector<ThreeDsFace> manyFaces(8100, ThreeDsFace{0, 1, 2});
    const auto faces = loadBytes(
        fileOf({meshObject("big", {vertexListChunk(triangle.vertices), faceListChunk(manyFaces),
                                   mappingChunk(triangle.texCoords)})}));
    EXPECT_EQ(faces->polygonCount, Mesh3ds::capacity);
    expectVector(faces->normals[7999], 0.0f, 0.0f, 1.0f);
    EXPECT_FLOAT_EQ(faces->texCoords[1].u, 0.75f);

    std::vector<TexCoord> manyTexCoords(8500, TexCoord{0.5f, 0.5f});
    manyTexCoords[7999] = {0.125f, 0.875f};
    const auto mapping = loadBytes(fileOf(
        {meshObject("big", {mappingChunk(manyTexCoords), vertexListChunk(triangle.vertices)})}));
    EXPECT_FLOAT_EQ(mapping->texCoords[7999].v, 0.875f);
    EXPECT_EQ(mapping->vertexCount, 3);
}

TEST(Mesh3dsLoad, FaceIndexBeyondCapacityBecomesADegenerateTriangleAtVertexZero) {
    ThreeDsMesh hostile = unitTriangle();
    hostile.faces = {{0, 1, 2}, {0, 8000, 2}, {65535, 1, 2}, {7999, 1, 2}};
    const auto mesh = loadBytes(meshFileBytes({hostile}));
    EXPECT_EQ(mesh->polygonCount, 4);
    for (const int i : {1, 2}) {
        EXPECT_EQ(mesh->polygons[i].a, 0);
        EXPECT_EQ(mesh->polygons[i].b, 0);
        EXPECT_EQ(mesh->polygons[i].c, 0);
        expectVector(mesh->normals[i], 0.0f, 0.0f, 0.0f);
    }
    // Below the capacity an index is kept even beyond the vertex count.
    EXPECT_EQ(mesh->polygons[3].a, 7999);
    expectVector(mesh->normals[0], 0.0f, 0.0f, 1.0f);
}

TEST(Mesh3dsLoad, ChunkLengthBelowTheHeaderSizeEndsTheReading) {
    ThreeDsChunk backwards = opaqueChunk(unknownId, {});
    backwards.declaredLength = 0;
    const ThreeDsMesh triangle = unitTriangle();
    const auto skipped =
        loadBytes(fileOf({meshObject("tri", {backwards, vertexListChunk(triangle.vertices)})}));
    EXPECT_STREQ(skipped->name, "tri");
    EXPECT_EQ(skipped->vertexCount, 0);

    ThreeDsChunk shortMain = mainChunk({meshObjectChunk(triangle)});
    shortMain.declaredLength = 5;
    EXPECT_EQ(loadBytes(serialise(shortMain))->vertexCount, 0);
}

TEST(Mesh3dsLoad, LongNameIsCutTo19CharactersAndTheRestIsPassedOver) {
    for (const std::string name : {"abcdefghijklmnopqrst", "abcdefghijklmnopqrstuvwxyz0123"}) {
        ThreeDsMesh named = unitTriangle();
        named.name = name;
        const auto mesh = loadBytes(meshFileBytes({named}));
        EXPECT_STREQ(mesh->name, "abcdefghijklmnopqrs") << name;
        EXPECT_EQ(mesh->polygonCount, 1) << name;
        expectVector(mesh->normals[0], 0.0f, 0.0f, 1.0f);
    }
}

// A file whose last chunk is the given one, cut `cut` bytes before its end.
std::vector<std::uint8_t> cutAfter(const ThreeDsChunk& last, size_t cut) {
    std::vector<std::uint8_t> bytes = fileOf({meshObject("cut", {last})});
    bytes.resize(bytes.size() - cut);
    return bytes;
}

TEST(Mesh3dsLoad, FileEndingInsideAListKeepsTheCountAndFillsOnlyWhatWasRead) {
    const std::vector<Vector3> vertices = {
        {5.0f, 6.0f, 7.0f}, {8.0f, 9.0f, 10.0f}, {11.0f, 12.0f, 13.0f}};
    // 12 bytes of vertex 0 and 2 of vertex 1's x remain.
    const auto mesh = loadBytes(cutAfter(vertexListChunk(vertices), 22));
    EXPECT_EQ(mesh->vertexCount, 3);
    EXPECT_FLOAT_EQ(mesh->vertices[0].z, 7.0f);
    EXPECT_FLOAT_EQ(mesh->vertices[1].x, 0.0f);
    EXPECT_FLOAT_EQ(mesh->vertices[2].z, 0.0f);

    // Face 0 whole, face 1 with only its first index.
    const auto faces = loadBytes(cutAfter(faceListChunk({{0, 1, 2}, {2, 1, 0}}), 6));
    EXPECT_EQ(faces->polygonCount, 2);
    EXPECT_EQ(faces->polygons[1].a, 2);
    EXPECT_EQ(faces->polygons[1].b, 0);
}

TEST(Mesh3dsLoad, FileEndingInsideANameOrAHeaderStopsCleanly) {
    std::vector<std::uint8_t> name = fileOf({objectChunk("abcdef", {})});
    name.resize(name.size() - 4); // "abc" remain
    EXPECT_STREQ(loadBytes(name)->name, "abc");

    std::vector<std::uint8_t> header = meshFileBytes({unitTriangle()});
    header.insert(header.end(), {0x10, 0x41, 0x20});
    const auto mesh = loadBytes(header);
    EXPECT_EQ(mesh->polygonCount, 1);
}

TEST(Mesh3dsLoad, ReportsACutFileInOneLineOnStandardErrorAndACleanOneNotAtAll) {
    const test::TemporaryFile clean(meshFileBytes({unitTriangle()}));
    auto mesh = std::make_unique<Mesh3ds>();
    ::testing::internal::CaptureStderr();
    mesh->load(clean.path());
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");

    ThreeDsMesh hostile = unitTriangle();
    hostile.faces = {{0, 9000, 2}, {9000, 1, 2}};
    const test::TemporaryFile cut(meshFileBytes({hostile}));
    ::testing::internal::CaptureStderr();
    mesh->load(cut.path());
    const std::string report = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(report.find(cut.path()), std::string::npos) << report;
    EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 1) << report;
}

} // namespace
} // namespace korvath
