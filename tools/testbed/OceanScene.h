// The volcano scene's ocean as the tests use it: the 800 x 800 grid and its
// three waves from the scene's own table, in the order of summation.
#pragma once

#include "ocean/OceanGrid.h"
#include "ocean/Wave.h"
#include "scenes/VolcanoSettings.h"

#include <vector>

namespace korvath::test {

// The cell size as the ocean computes it, in double precision then rounded.
inline constexpr float sceneCell = static_cast<float>(800.0 / 70.0);
inline constexpr OceanGrid sceneGrid = {70, 70, sceneCell, sceneCell};

inline std::vector<Wave> sceneWaves() {
    std::vector<Wave> waves;
    for (const WaveSettings& wave : volcanoWaves) {
        waves.push_back(makeWave(wave.direction.x, wave.direction.y, wave.direction.z,
                                 wave.wavelength, wave.amplitude, wave.phase));
    }
    return waves;
}

} // namespace korvath::test
