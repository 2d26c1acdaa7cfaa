// The ocean's vertex grid: its dimensions, the rest position of every vertex,
// and those rest positions laid out flat for the vectorised wave update.
#pragma once

#include <vector>

namespace korvath {

// Vertices are stored row-major: row i, column j is element i * columns + j.
// Column j rests at x = (j - columns / 2) * cellWidth, row i at
// z = (rows / 2 - i) * cellDepth (integer halves), y = 0: the grid reaches one
// cell less far towards +x and towards -z than towards -x and +z.
struct OceanGrid {
    int columns;
    int rows;
    float cellWidth;
    float cellDepth;

    int vertexCount() const { return columns * rows; }
    float restX(int column) const { return static_cast<float>(column - columns / 2) * cellWidth; }
    float restZ(int row) const { return static_cast<float>(rows / 2 - row) * cellDepth; }
};

// The rest x and z of every vertex, in storage order.
struct RestPositions {
    explicit RestPositions(const OceanGrid& grid);

    std::vector<float> x;
    std::vector<float> z;
};

} // namespace korvath
