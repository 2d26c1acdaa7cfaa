// The drawing calls a particle system makes, kept behind an interface so the
// system's logic runs without a graphics context (tests and benchmarks record
// the calls instead).
#pragma once

#include "math/Vector.h"
#include "particles/Particle.h"

namespace korvath {

class ParticleRenderer {
public:
    // Releases the programs the renderer holds.
    virtual ~ParticleRenderer() {}

    // Binds the programs, hands over time and acceleration, sets the state and
    // opens one batch of points.
    virtual void beginBatch(float time, const Vector3& acceleration) = 0;
    // One living particle: its start time, lifetime and velocity, then its point.
    virtual void drawParticle(const Particle& particle) = 0;
    // Closes the batch and clears the state beginBatch set that must not linger.
    virtual void endBatch() = 0;
};

} // namespace korvath
