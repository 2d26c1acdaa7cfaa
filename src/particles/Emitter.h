// The interface through which a particle system has its particles seeded and
// re-seeded. An emitter draws nothing and knows nothing of the graphics state.
#pragma once

#include "particles/Particle.h"

namespace korvath {

class Emitter {
public:
    virtual ~Emitter() {}

    // A new, fully seeded particle on the heap; the caller owns it. index is the
    // particle's 0-based place in its system, passed in creation order.
    virtual Particle* createParticle(int index) = 0;

    // Gives an existing particle a new start: overwrites initVelocity,
    // initPosition and initTime, keeps lifetime.
    virtual void respawnParticle(Particle& particle) = 0;
};

} // namespace korvath
