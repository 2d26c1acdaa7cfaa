// Builds the strip stream row by row: every drawn vertex gets its normal once
// and is written into the (up to) two strips that emit it.
#include "ocean/StripStream.h"

namespace korvath {

__attribute__((target_clones("avx2", "default"))) void
buildStripStream(const OceanGrid& grid, const Vector3* vertices, StripVertex* stream) {
    const int strips = stripCount(grid);
    const int length = stripLength(grid);
    if (strips == 0) {
        return; // too few rows: even the first row's normals would read outside the grid
    }
    // Row r is emitted first in each pair by strip r - 1 and second by strip r.
    for (int row = 1; row <= strips + 1; ++row) {
        StripVertex* asUpperRow = row >= 2 ? stream + (row - 2) * length : nullptr;
        StripVertex* asLowerRow = row <= strips ? stream + (row - 1) * length + 1 : nullptr;
        for (int column = 1; column <= length / 2; ++column) {
            const int n = row * grid.columns + column;
            const StripVertex entry{gridNormal(vertices, grid.columns, n), vertices[n]};
            const int pair = 2 * (column - 1);
            if (asUpperRow != nullptr) {
                asUpperRow[pair] = entry;
            }
            if (asLowerRow != nullptr) {
                asLowerRow[pair] = entry;
            }
        }
    }
}

} // namespace korvath
