// Builds the strip stream row by row: every drawn vertex gets its normal once
// and is written into the (up to) two strips that emit it.
#include "ocean/StripStream.h"
#include "ocean/VectorClones.h"

namespace korvath {

namespace {

// Writes the entry of row `here`, column, to each of first and second that is not null:
// gridNormal spelt out component by component, with the same operations in
// the same order. The out-of-line Vector3 operations, and a temporary entry
// copied afterwards, cost several times the arithmetic; plain float stores do not.
inline void writeEntry(const Vector3* above, const Vector3* here, const Vector3* below, int column,
                       StripVertex* first, StripVertex* second) {
    const float ax = here[column - 1].x - here[column + 1].x;
    const float ay = here[column - 1].y - here[column + 1].y;
    const float az = here[column - 1].z - here[column + 1].z;
    const float bx = above[column].x - below[column].x;
    const float by = above[column].y - below[column].y;
    const float bz = above[column].z - below[column].z;
    const float values[6] = {ay * bz - az * by, az * bx - ax * bz, ax * by - ay * bx,
                             here[column].x,    here[column].y,    here[column].z};
    for (StripVertex* target : {first, second}) {
        if (target != nullptr) {
            target->normal.x = values[0];
            target->normal.y = values[1];
            target->normal.z = values[2];
            target->position.x = values[3];
            target->position.y = values[4];
            target->position.z = values[5];
        }
    }
}

} // namespace

KORVATH_VECTOR_CLONES void buildStripStream(const OceanGrid& grid, const Vector3* vertices,
                                            StripVertex* stream) {
    const int strips = stripCount(grid);
    const int length = stripLength(grid);
    const int columns = grid.columns;
    if (strips == 0) {
        return; // too few rows: even the first row's normals would read outside the grid
    }
    // Row r is emitted first in each pair by strip r - 1 and second by strip r:
    // the first and the last drawn row belong to one strip only.
    for (int row = 1; row <= strips + 1; ++row) {
        const Vector3* above = vertices + (row - 1) * columns;
        const Vector3* here = above + columns;
        const Vector3* below = here + columns;
        StripVertex* asUpperRow = row > 1 ? stream + (row - 2) * length : nullptr;
        StripVertex* asLowerRow = row <= strips ? stream + (row - 1) * length + 1 : nullptr;
        for (int column = 1; column < columns - 1; ++column) {
            const int pair = 2 * (column - 1);
            writeEntry(above, here, below, column, asUpperRow ? asUpperRow + pair : nullptr,
                       asLowerRow ? asLowerRow + pair : nullptr);
        }
    }
}

} // namespace korvath
