// One batch of particles drawn as point sprites: a fixed number of particles
// seeded by its emitter, judged every frame, drawn while alive and re-seeded
// in place once expired. The motion itself is computed by the vertex program.
#pragma once

#include "math/Vector.h"
#include "particles/Emitter.h"
#include "particles/ParticleRenderer.h"
#include "shading/ShadingRuntime.h"

#include <list>

namespace korvath {

class ParticleSystem {
public:
    // Takes ownership of emitter. Compiles the program pair against the shared
    // context (ending the program if the vertex program lacks "modelViewProj",
    // "acceleration", "time", "initVelocity" or "initTime"), loads the sprite and
    // has the emitter create count particles (none for count <= 0).
    ParticleSystem(int count, Emitter* emitter, const char* vertexProgramPath,
                   const char* fragmentProgramPath, const char* spritePath, bool blended,
                   CGcontext context, CGprofile vertexProfile, CGprofile fragmentProfile);
    // The same system drawing through another renderer; takes ownership of both.
    ParticleSystem(int count, Emitter* emitter, ParticleRenderer* renderer);
    // Deletes the emitter, then the particles, then the renderer and its programs.
    ~ParticleSystem();
    ParticleSystem(const ParticleSystem&) = delete;
    ParticleSystem& operator=(const ParticleSystem&) = delete;

    // Under the modelview and projection in force: one batch with every particle
    // alive at time (seconds of scene time); expired ones are re-seeded and wait
    // for the next frame. Allocates nothing.
    void draw(float time);

    Vector3 acceleration; // handed to the vertex program; set by the owner

private:
    void createParticles(int count);

    Emitter* emitter;
    ParticleRenderer* renderer;
    std::list<Particle*> particles; // in creation order
};

} // namespace korvath
