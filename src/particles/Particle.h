// The record an emitter fills and a particle system owns: where, when, how fast
// and for how long one particle lives. Eight floats, all 0 when new.
#pragma once

#include "math/Vector.h"

namespace korvath {

struct Particle {
    Vector3 initVelocity;  // handed to the vertex program as "initVelocity"
    Vector3 initPosition;  // in the system's model space; sent as the point's vertex
    float initTime = 0.0f; // scene time in seconds at which the particle starts
    float lifetime = 0.0f; // seconds the particle lives after initTime
};

} // namespace korvath
