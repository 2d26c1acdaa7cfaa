// Ocean construction, wave list and drawing; the maths lives in WaveSum and
// StripStream, so this file only compiles, binds and sends.
#include "ocean/Ocean.h"

#include "ocean/WaveSum.h"

#include <GL/glew.h>

namespace korvath {

namespace {

// The grid resolution: 70 x 70 vertices, 9112 of them drawn every frame.
constexpr int gridSize = 70;

float cellSize(float extent) {
    return static_cast<float>(static_cast<double>(extent) / gridSize);
}

void sendStrips(const StripVertex* stream, int strips, int length) {
    for (int strip = 0; strip < strips; ++strip) {
        glBegin(GL_TRIANGLE_STRIP);
        for (const StripVertex* entry = stream + strip * length;
             entry != stream + (strip + 1) * length; ++entry) {
            glNormal3f(entry->normal.x, entry->normal.y, entry->normal.z);
            glVertex3f(entry->position.x, entry->position.y, entry->position.z);
        }
        glEnd();
    }
}

} // namespace

// The ocean's programs have every parameter it sets; like the rest of the
// runtime's handles, they are not checked here.
Ocean::Ocean(float width, float depth, const ShaderContext& shaderContext)
    : columns(gridSize), rows(gridSize), cellWidth(cellSize(width)), cellDepth(cellSize(depth)),
      programs(shaderContext, {"cg/vp_ocean.cg", {}}, {"cg/fp_ocean.cg", {}},
               ProgramPair::Compile::Optimised),
      lightVecParam(programs.vertexParameter("lightVec")), restPositions(grid()) {
    vertices.assign(grid().vertexCount(), Vector3());
    stream.resize(streamLength(grid()));
}

void Ocean::addWave(float directionX, float directionY, float directionZ, float wavelength,
                    float amplitude, float phase) {
    waves.push_back(makeWave(directionX, directionY, directionZ, wavelength, amplitude, phase));
}

void Ocean::draw(float time, Vector3 lightPosition) {
    updateVertices(restPositions, waves, time, vertices.data());
    buildStripStream(grid(), vertices.data(), stream.data());

    programs.bind();
    programs.setStandardMatrices();
    cgGLSetParameter3f(lightVecParam, lightPosition.x, lightPosition.y, lightPosition.z);

    sendStrips(stream.data(), stripCount(grid()), stripLength(grid()));

    programs.unbind();
}

} // namespace korvath
