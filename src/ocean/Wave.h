// One Gerstner wave component and how its derived values follow from the
// direction, wavelength, amplitude and phase the scene gives.
#pragma once

#include "math/Vector.h"

namespace korvath {

struct Wave {
    Vector3 waveVector;     // unit direction of travel times waveNumber
    float waveNumber;       // k = 2 pi / wavelength, radians per world unit
    float amplitude;        // A, world units
    float angularFrequency; // omega = sqrt(g k), radians per second
    float phase;            // phi, radians
};

// The wave travelling along (directionX, directionY, directionZ), normalised
// here, so any non-zero length gives the same wave. Nothing is validated: a
// zero direction or wavelength yields non-finite values.
Wave makeWave(float directionX, float directionY, float directionZ, float wavelength,
              float amplitude, float phase);

} // namespace korvath
