// The baseline ocean loops: one vertex, one wave, one sine and cosine at a time.
#include "ocean/PlainOcean.h"

#include <cmath>

namespace korvath {

void updateVerticesPlain(const OceanGrid& grid, const std::vector<Wave>& waves, float time,
                         Vector3* vertices) {
    for (int row = 0; row < grid.rows; ++row) {
        for (int column = 0; column < grid.columns; ++column) {
            const Vector3 rest(grid.restX(column), 0.0f, grid.restZ(row));
            float sumX = 0.0f;
            float sumY = 0.0f;
            float sumZ = 0.0f;
            for (const Wave& wave : waves) {
                const Vector3& k = wave.waveVector;
                const float dot = k.x * rest.x + k.y * rest.y + k.z * rest.z;
                const float angle = dot - wave.angularFrequency * time + wave.phase;
                const float shift = std::sin(angle) * (wave.amplitude / wave.waveNumber);
                sumX += k.x * shift;
                sumZ += k.z * shift;
                sumY += wave.amplitude * std::cos(angle);
            }
            vertices[row * grid.columns + column] = Vector3(rest.x - sumX, sumY, rest.z - sumZ);
        }
    }
}

void buildStripStreamPlain(const OceanGrid& grid, const Vector3* vertices, StripVertex* stream) {
    StripVertex* next = stream;
    for (int row = 1; row < grid.rows - 2; ++row) {
        for (int column = 1; column < grid.columns - 1; ++column) {
            for (const int n : {(row + 1) * grid.columns + column, row * grid.columns + column}) {
                *next++ = {gridNormal(vertices, grid.columns, n), vertices[n]};
            }
        }
    }
}

} // namespace korvath
