// Rest positions of the ocean grid in storage order.
#include "ocean/OceanGrid.h"

namespace korvath {

RestPositions::RestPositions(const OceanGrid& grid) {
    x.reserve(grid.vertexCount());
    z.reserve(grid.vertexCount());
    for (int row = 0; row < grid.rows; ++row) {
        for (int column = 0; column < grid.columns; ++column) {
            x.push_back(grid.restX(column));
            z.push_back(grid.restZ(row));
        }
    }
}

} // namespace korvath
