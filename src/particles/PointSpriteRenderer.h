// Draws particles as textured point sprites through a vertex and fragment
// program pair of our shading runtime: the vertex program moves each point.
#pragma once

#include "particles/ParticleRenderer.h"
#include "shading/ProgramPair.h"

namespace korvath {

class PointSpriteRenderer : public ParticleRenderer {
public:
    // Compiles and loads both programs, ends the program if the vertex program
    // lacks one of its five parameters, and loads the sprite image.
    PointSpriteRenderer(const char* vertexProgramPath, const char* fragmentProgramPath,
                        const char* spritePath, bool blended, CGcontext context,
                        CGprofile vertexProfile, CGprofile fragmentProfile);
    PointSpriteRenderer(const PointSpriteRenderer&) = delete;
    PointSpriteRenderer& operator=(const PointSpriteRenderer&) = delete;

    void beginBatch(float time, const Vector3& acceleration) override;
    void drawParticle(const Particle& particle) override;
    // Leaves point sprites, programmable point size, the bound sprite and the
    // alpha function set, coordinate replacement off; a blended system leaves
    // blending off and the depth test on.
    void endBatch() override;

private:
    // Destroyed with the renderer; the sprite texture stays in the graphics context.
    ProgramPair programs;
    CGparameter accelerationParam = nullptr;
    CGparameter timeParam = nullptr;
    CGparameter textureParam = nullptr;
    CGparameter initVelocityParam = nullptr;
    CGparameter initTimeParam = nullptr;
    GLuint spriteTexture = 0;
    bool blended;
};

} // namespace korvath
