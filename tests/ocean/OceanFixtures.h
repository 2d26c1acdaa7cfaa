// What the ocean tests share: the volcano scene's grid and waves, and a
// distance between floats in units in the last place.
#pragma once

#include "ocean/OceanGrid.h"
#include "ocean/Wave.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace korvath::test {

// The volcano scene's 800 x 800 ocean.
inline OceanGrid sceneGrid() {
    const float cell = static_cast<float>(800.0 / 70.0);
    return {70, 70, cell, cell};
}

// The volcano scene's three waves, in its order.
inline std::vector<Wave> sceneWaves() {
    return {makeWave(1.0f, 0.0f, 0.6f, 30.0f, 1.8f, 0.0f),
            makeWave(1.0f, 0.0f, -0.4f, 8.0f, 0.8f, 0.5f),
            makeWave(0.5f, 0.0f, 0.9f, 13.0f, 1.2f, 1.0f)};
}

// How many representable floats lie between a and b (0 when equal).
inline std::int64_t ulpDistance(float a, float b) {
    auto ordered = [](float value) {
        std::int32_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        return bits < 0 ? static_cast<std::int64_t>(INT32_MIN) - bits : bits;
    };
    const std::int64_t difference = ordered(a) - ordered(b);
    return difference < 0 ? -difference : difference;
}

} // namespace korvath::test
