// Mesh3ds::draw: the mesh's call sequence sent to OpenGL's immediate mode.
#include "mesh/Mesh3ds.h"
#include "mesh/MeshDrawing.h"

#include <GL/glew.h>

namespace korvath {

namespace {

struct ImmediateModeSink {
    void bindTexture(std::uint32_t name) { glBindTexture(GL_TEXTURE_2D, name); }
    void begin() { glBegin(GL_TRIANGLES); }
    void normal(float x, float y, float z) { glNormal3f(x, y, z); }
    void texCoord(float u, float v) { glTexCoord2f(u, v); }
    void vertex(float x, float y, float z) { glVertex3f(x, y, z); }
    void end() { glEnd(); }
};

} // namespace

void Mesh3ds::draw() const {
    ImmediateModeSink gl;
    emitMesh(*this, gl);
}

} // namespace korvath
