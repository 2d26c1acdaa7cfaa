// The volcano scene's ocean as the tests use it: the 800 x 800 grid and its
// three waves, in the scene's order (the order of summation).
#pragma once

#include "ocean/OceanGrid.h"
#include "ocean/Wave.h"

#include <vector>

namespace korvath::test {

// Direction x, y, z, wavelength, amplitude, phase: the arguments of addWave.
inline constexpr float sceneWaveArguments[3][6] = {
    {1.0f, 0.0f, 0.6f, 30.0f, 1.8f, 0.0f},
    {1.0f, 0.0f, -0.4f, 8.0f, 0.8f, 0.5f},
    {0.5f, 0.0f, 0.9f, 13.0f, 1.2f, 1.0f},
};

// The cell size as the ocean computes it, in double precision then rounded.
inline constexpr float sceneCell = static_cast<float>(800.0 / 70.0);
inline constexpr OceanGrid sceneGrid = {70, 70, sceneCell, sceneCell};

inline std::vector<Wave> sceneWaves() {
    std::vector<Wave> waves;
    for (const float* a : sceneWaveArguments) {
        waves.push_back(makeWave(a[0], a[1], a[2], a[3], a[4], a[5]));
    }
    return waves;
}

} // namespace korvath::test
