// The emitter of the volcano's particle systems: particles start in a square
// at a fixed height, with random horizontal and fixed vertical velocity, at
// start times one emitInterval apart.
#pragma once

#include "math/Vector.h"
#include "particles/Emitter.h"

namespace korvath {

class CircleEmitter : public Emitter {
public:
    // spread: side of the start square in x and z, whose smallest corner is
    // origin.x, origin.z; origin.y: start height. velocityScale x, z: amplitudes
    // of the horizontal velocity; y: the vertical velocity. lifetime: seconds,
    // the upper bound of a random fraction when randomLifetime is set.
    CircleEmitter(float emitInterval, int spread, Vector3 origin, Vector3 velocityScale,
                  float lifetime, bool randomLifetime);

    // Five draws from sharedRandomSource() with randomLifetime, four without.
    Particle* createParticle(int index) override;
    // Exactly four draws from sharedRandomSource(); advances emitTime by emitInterval.
    void respawnParticle(Particle& particle) override;

    float emitTime = 0.0f; // start time handed to the most recently seeded particle
    const float emitInterval;
    const int spread;
    const Vector3 origin;
    const Vector3 velocityScale;
    const float lifetime;
    const bool randomLifetime;
};

} // namespace korvath
