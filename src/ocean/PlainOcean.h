// The ocean's maths written the straightforward way: the C library's sine and
// cosine per wave and vertex, and each normal computed in every strip that
// emits it. Kept as the baseline that the fast path is checked and timed against.
#pragma once

#include "math/Vector.h"
#include "ocean/OceanGrid.h"
#include "ocean/StripStream.h"
#include "ocean/Wave.h"

#include <vector>

namespace korvath {

// The same vertices as updateVertices, with std::sin and std::cos of each angle.
void updateVerticesPlain(const OceanGrid& grid, const std::vector<Wave>& waves, float time,
                         Vector3* vertices);

// The same stream as buildStripStream, filled in emission order.
void buildStripStreamPlain(const OceanGrid& grid, const Vector3* vertices, StripVertex* stream);

} // namespace korvath
