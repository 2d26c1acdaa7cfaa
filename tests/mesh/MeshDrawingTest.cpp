// The call sequence Mesh3ds::draw sends to OpenGL, recorded through the same
// sequence function with a recording sink.
#include "mesh/MeshDrawing.h"
#include "MeshFiles.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace korvath {
namespace {

class RecordingSink {
public:
    void bindTexture(std::uint32_t name) { log << "bind " << name << "\n"; }
    void begin() { log << "begin\n"; }
    void normal(float x, float y, float z) {
        log << "normal " << x << " " << y << " " << z << "\n";
    }
    void texCoord(float u, float v) { log << "tex " << u << " " << v << "\n"; }
    void vertex(float x, float y, float z) {
        log << "vertex " << x << " " << y << " " << z << "\n";
    }
    void end() { log << "end\n"; }

    std::string calls() const { return log.str(); }

private:
    std::ostringstream log;
};

std::string recordedCalls(const Mesh3ds& mesh) {
    RecordingSink sink;
    emitMesh(mesh, sink);
    return sink.calls();
}

TEST(MeshDrawing, EmptyMeshBindsAndOpensAndClosesOneBatch) {
    const auto mesh = std::make_unique<Mesh3ds>();
    mesh->textureId = 7;
    EXPECT_EQ(recordedCalls(*mesh), "bind 7\nbegin\nend\n");
}

TEST(MeshDrawing, EachTriangleSendsItsNormalThenCornersAThenBThenC) {
    ThreeDsMesh twoFaces = test::unitTriangle();
    twoFaces.faces = {{0, 1, 2}, {2, 1, 0}};
    const auto mesh = test::loadBytes(meshFileBytes({twoFaces}));
    mesh->textureId = 3;
    EXPECT_EQ(recordedCalls(*mesh), "bind 3\nbegin\n"
                                    "normal 0 0 1\n"
                                    "tex 0.25 0.5\nvertex 0 0 0\n"
                                    "tex 0.75 0.5\nvertex 1 0 0\n"
                                    "tex 0.25 1\nvertex 0 1 0\n"
                                    "normal 0 0 -1\n"
                                    "tex 0.25 1\nvertex 0 1 0\n"
                                    "tex 0.75 0.5\nvertex 1 0 0\n"
                                    "tex 0.25 0.5\nvertex 0 0 0\n"
                                    "end\n");
}

TEST(MeshDrawing, WithoutMappingCoordinatesEveryCornerGetsTexCoordZero) {
    ThreeDsMesh bare = test::unitTriangle();
    bare.texCoords.clear();
    const std::string calls = recordedCalls(*test::loadBytes(meshFileBytes({bare})));
    size_t zeros = 0;
    for (size_t at = calls.find("tex 0 0\n"); at != std::string::npos;
         at = calls.find("tex 0 0\n", at + 1)) {
        ++zeros;
    }
    EXPECT_EQ(zeros, 3u);
    EXPECT_EQ(calls.find("tex 0.", 0), std::string::npos);
}

} // namespace
} // namespace korvath
