// What a particle system did, in order, as seen by the test stand-ins for its
// renderer and its emitter.
#pragma once

#include "math/Vector.h"
#include "particles/Particle.h"

#include <vector>

namespace korvath::test {

enum class CallKind { Begin, Draw, End, Respawn, EmitterDeleted, RendererReleased };

struct Call {
    CallKind kind;
    float time = 0.0f;        // Begin: the scene time handed over
    Vector3 acceleration;     // Begin: the acceleration handed over
    Particle particle;        // Draw: the particle as drawn; Respawn: as re-seeded
};

struct CallLog {
    std::vector<Call> calls;

    int count(CallKind kind) const;
    // The particles drawn, in order.
    std::vector<Particle> drawn() const;
};

} // namespace korvath::test
