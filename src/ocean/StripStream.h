// The ocean's drawn stream: the vertices of its triangle strips in emission
// order, each with its unnormalised normal, ready to be sent to GL.
#pragma once

#include "math/Vector.h"
#include "ocean/OceanGrid.h"

namespace korvath {

struct StripVertex {
    Vector3 normal;
    Vector3 position;
};

// Strip s (0-based) runs along grid row i = s + 1 for i < rows - 2 and, for each
// column j from 1 to columns - 2, emits row i + 1 then row i: counter-clockwise
// seen from +y. The outer ring of the grid only feeds the normals.
inline int stripCount(const OceanGrid& grid) {
    return grid.rows > 3 ? grid.rows - 3 : 0;
}
inline int stripLength(const OceanGrid& grid) {
    return grid.columns > 2 ? 2 * (grid.columns - 2) : 0;
}
inline int streamLength(const OceanGrid& grid) {
    return stripCount(grid) * stripLength(grid);
}

// The normal of the vertex with storage index n, which must not lie on the
// grid's outer ring: (left - right neighbour) x (previous - next row's neighbour).
inline Vector3 gridNormal(const Vector3* vertices, int columns, int n) {
    return cross(vertices[n - 1] - vertices[n + 1], vertices[n - columns] - vertices[n + columns]);
}

// Fills streamLength(grid) entries from the grid's current vertices, computing
// each normal once although most vertices appear in two strips. Allocates nothing.
void buildStripStream(const OceanGrid& grid, const Vector3* vertices, StripVertex* stream);

} // namespace korvath
