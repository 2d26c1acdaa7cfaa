// Where a particle stands at a given scene time: not started yet, alive, or
// past its end. Judged afresh every frame from the time alone.
#pragma once

#include "particles/Particle.h"

namespace korvath {

enum class ParticleState { Waiting, Alive, Expired };

// Both comparisons are strict: at its start time a particle still waits, at its
// end time it has expired. The end is summed in double precision so a large
// start time does not swallow a short lifetime.
inline ParticleState judgeParticle(const Particle& particle, float time) {
    if (!(time > particle.initTime)) {
        return ParticleState::Waiting;
    }
    const double end = double{particle.initTime} + double{particle.lifetime};
    return time < end ? ParticleState::Alive : ParticleState::Expired;
}

} // namespace korvath
