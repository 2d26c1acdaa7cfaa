// The particle programs' parameters, the point-sprite state and the one
// GL_POINTS batch per system and frame.
#include "particles/PointSpriteRenderer.h"

#include "image/TextureImage.h"

namespace korvath {

PointSpriteRenderer::PointSpriteRenderer(const char* vertexProgramPath,
                                         const char* fragmentProgramPath, const char* spritePath,
                                         bool blendedValue, CGcontext context,
                                         CGprofile vertexProfile, CGprofile fragmentProfile)
    : programs({context, vertexProfile, fragmentProfile},
               {vertexProgramPath,
                {"modelViewProj", "acceleration", "time", "initVelocity", "initTime"}},
               {fragmentProgramPath, {}}, ProgramPair::Compile::Optimised),
      accelerationParam(programs.vertexParameter("acceleration")),
      timeParam(programs.vertexParameter("time")),
      textureParam(programs.fragmentParameter("texture")),
      initVelocityParam(programs.vertexParameter("initVelocity")),
      initTimeParam(programs.vertexParameter("initTime")),
      spriteTexture(loadTextureImage(spritePath)), blended(blendedValue) {
    cgGLSetTextureParameter(textureParam, spriteTexture);
}

void PointSpriteRenderer::beginBatch(float time, const Vector3& acceleration) {
    programs.bind();
    cgGLSetParameter1f(timeParam, time);
    cgGLSetParameter3f(accelerationParam, acceleration.x, acceleration.y, acceleration.z);
    programs.setStandardMatrices();

    glEnable(GL_VERTEX_PROGRAM_POINT_SIZE);
    glEnable(GL_POINT_SPRITE);
    // The fragment programs give the sprite's black background alpha 0.
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.0f);
    if (blended) {
        glDisable(GL_DEPTH_TEST);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
    // Unit 0: nothing selects another unit while the particles are drawn.
    glBindTexture(GL_TEXTURE_2D, spriteTexture);
    glTexEnvi(GL_POINT_SPRITE, GL_COORD_REPLACE, GL_TRUE);
    glBegin(GL_POINTS);
}

void PointSpriteRenderer::drawParticle(const Particle& particle) {
    // Per-vertex parameters: each point is processed with the values set just before it.
    cgGLSetParameter2f(initTimeParam, particle.initTime, particle.lifetime);
    cgGLSetParameter3f(initVelocityParam, particle.initVelocity.x, particle.initVelocity.y,
                       particle.initVelocity.z);
    glVertex3f(particle.initPosition.x, particle.initPosition.y, particle.initPosition.z);
}

void PointSpriteRenderer::endBatch() {
    glEnd();
    // Mesa keeps replacing texture coordinates for every primitive while this is
    // on, which would paint the next frame's terrain in one texel's colour.
    glTexEnvi(GL_POINT_SPRITE, GL_COORD_REPLACE, GL_FALSE);
    glDisable(GL_ALPHA_TEST);
    programs.unbind();
    if (blended) {
        glDisable(GL_BLEND);
        glEnable(GL_DEPTH_TEST);
    }
}

} // namespace korvath
