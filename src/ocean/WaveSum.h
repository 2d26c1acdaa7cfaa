// The per-frame wave update of all grid vertices, vectorised.
#pragma once

#include "math/Vector.h"
#include "ocean/OceanGrid.h"
#include "ocean/Wave.h"

#include <vector>

namespace korvath {

// Moves every vertex of the grid from its rest point (x0, 0, z0) by the sum of
// the waves at time t (seconds), in list order: with
// theta = waveVector . (x0, 0, z0) - angularFrequency t + phase per wave,
// x = x0 - sum(waveVector.x * (amplitude / waveNumber) * sin theta),
// y = sum(amplitude * cos theta), z likewise with waveVector.z.
// The angles are rounded exactly as that single-precision loop rounds them, so
// the result differs from it only by the last bits of each sine and cosine.
// Writes rest.x.size() vertices; allocates nothing.
void updateVertices(const RestPositions& rest, const std::vector<Wave>& waves, float time,
                    Vector3* vertices);

} // namespace korvath
