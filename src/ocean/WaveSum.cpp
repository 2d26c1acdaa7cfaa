// Vectorised Gerstner sum: each block of vertices gets its angles for one wave
// at a time, their sines and cosines in one call, and the wave's share added.
#include "ocean/WaveSum.h"

#include "ocean/SinCos.h"
#include "ocean/VectorClones.h"

#include <algorithm>

namespace korvath {

namespace {
// Vertices per block: 256 keeps the six scratch arrays (6 KiB) in the
// first-level cache and leaves only one short remainder per frame.
constexpr int blockSize = 256;
} // namespace

KORVATH_VECTOR_CLONES void updateVertices(const RestPositions& rest, const std::vector<Wave>& waves,
                                          float time, Vector3* vertices) {
    const int count = static_cast<int>(rest.x.size());
    for (int first = 0; first < count; first += blockSize) {
        const int length = std::min(blockSize, count - first);
        const float* restX = rest.x.data() + first;
        const float* restZ = rest.z.data() + first;
        float sumX[blockSize] = {};
        float sumY[blockSize] = {};
        float sumZ[blockSize] = {};
        float angles[blockSize];
        float sines[blockSize];
        float cosines[blockSize];

        for (const Wave& wave : waves) {
            const float kx = wave.waveVector.x;
            const float kz = wave.waveVector.z;
            const float travel = wave.angularFrequency * time;
            const float lean = wave.amplitude / wave.waveNumber;
            // The rest grid lies in y = 0, so waveVector.y drops out of the dot product.
            for (int i = 0; i < length; ++i) {
                angles[i] = ((kx * restX[i] + kz * restZ[i]) - travel) + wave.phase;
            }
            sinCos(angles, length, sines, cosines);
            for (int i = 0; i < length; ++i) {
                const float shift = sines[i] * lean;
                sumX[i] += kx * shift;
                sumZ[i] += kz * shift;
                sumY[i] += wave.amplitude * cosines[i];
            }
        }
        for (int i = 0; i < length; ++i) {
            vertices[first + i] = Vector3(restX[i] - sumX[i], sumY[i], restZ[i] - sumZ[i]);
        }
    }
}

} // namespace korvath
