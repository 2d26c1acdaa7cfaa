// Ocean construction, wave list and drawing; the maths lives in WaveSum and
// StripStream, so this file only compiles, binds and sends.
#include "ocean/Ocean.h"

#include "ocean/WaveSum.h"
#include "shading/ProgramFile.h"

#include <GL/glew.h>

namespace korvath {

namespace {

// The grid resolution: 70 x 70 vertices, 9112 of them drawn every frame.
constexpr int gridSize = 70;

float cellSize(float extent) {
    return static_cast<float>(static_cast<double>(extent) / gridSize);
}

CGprogram compileProgram(CGcontext context, CGprofile profile, const char* path) {
    cgGLSetOptimalOptions(profile);
    return loadProgramFile(context, profile, path);
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

Ocean::Ocean(float width, float depth, const ShaderContext& shaderContext)
    : columns(gridSize), rows(gridSize), cellWidth(cellSize(width)), cellDepth(cellSize(depth)),
      context(shaderContext.context), vertexProfile(shaderContext.vertexProfile),
      vertexProgram(compileProgram(context, vertexProfile, "cg/vp_ocean.cg")),
      fragmentProfile(shaderContext.fragmentProfile),
      lightVecParam(cgGetNamedParameter(vertexProgram, "lightVec")),
      modelViewProjParam(cgGetNamedParameter(vertexProgram, "modelViewProj")),
      modelViewParam(cgGetNamedParameter(vertexProgram, "modelView")),
      modelViewITParam(cgGetNamedParameter(vertexProgram, "modelViewIT")), restPositions(grid()) {
    // After the vertex program's parameters: the runtime sees the calls in this order.
    fragmentProgram = compileProgram(context, fragmentProfile, "cg/fp_ocean.cg");
    vertices.assign(grid().vertexCount(), Vector3());
    stream.resize(streamLength(grid()));
}

Ocean::~Ocean() {
    cgDestroyProgram(vertexProgram);
    cgDestroyProgram(fragmentProgram);
}

void Ocean::addWave(float directionX, float directionY, float directionZ, float wavelength,
                    float amplitude, float phase) {
    waves.push_back(makeWave(directionX, directionY, directionZ, wavelength, amplitude, phase));
}

void Ocean::draw(float time, Vector3 lightPosition) {
    updateVertices(restPositions, waves, time, vertices.data());
    buildStripStream(grid(), vertices.data(), stream.data());

    cgGLEnableProfile(vertexProfile);
    cgGLBindProgram(vertexProgram);
    cgGLSetStateMatrixParameter(modelViewProjParam, CG_GL_MODELVIEW_PROJECTION_MATRIX,
                                CG_GL_MATRIX_IDENTITY);
    cgGLSetStateMatrixParameter(modelViewParam, CG_GL_MODELVIEW_MATRIX, CG_GL_MATRIX_IDENTITY);
    cgGLSetStateMatrixParameter(modelViewITParam, CG_GL_MODELVIEW_MATRIX,
                                CG_GL_MATRIX_INVERSE_TRANSPOSE);
    cgGLSetParameter3f(lightVecParam, lightPosition.x, lightPosition.y, lightPosition.z);
    cgGLEnableProfile(fragmentProfile);
    cgGLBindProgram(fragmentProgram);

    sendStrips(stream.data(), stripCount(grid()), stripLength(grid()));

    cgGLDisableProfile(fragmentProfile);
    cgGLDisableProfile(vertexProfile);
}

} // namespace korvath
