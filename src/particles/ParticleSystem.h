// One batch of particles: a fixed number of particles seeded by its emitter,
// judged every frame, drawn through its renderer while alive and re-seeded in
// place once expired. No GL here: the renderer owns the drawing, and its vertex
// program computes the motion.
#pragma once

#include "math/Vector.h"
#include "particles/Emitter.h"
#include "particles/ParticleRenderer.h"

#include <list>

namespace korvath {

class ParticleSystem {
public:
    // Takes ownership of emitter and renderer, and has the emitter create count
    // particles (none for count <= 0).
    ParticleSystem(int count, Emitter* emitter, ParticleRenderer* renderer);
    // Deletes the emitter, then the particles, then the renderer and its programs.
    ~ParticleSystem();
    ParticleSystem(const ParticleSystem&) = delete;
    ParticleSystem& operator=(const ParticleSystem&) = delete;

    // Under the modelview and projection in force: one batch with every particle
    // alive at time (seconds of scene time); expired ones are re-seeded and wait
    // for the next frame. The bookkeeping allocates nothing; a point-sprite
    // renderer's batch allocates the matrix product's 16-float temporary, when the
    // runtime forms its modelview-projection matrix.
    void draw(float time);

    Vector3 acceleration; // handed to the vertex program; set by the owner

private:
    Emitter* emitter;
    ParticleRenderer* renderer;
    std::list<Particle*> particles; // in creation order
};

} // namespace korvath
