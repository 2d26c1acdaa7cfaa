// The volcano scene's fixed tables: its three waves and its three eruptions.
// The scene builds itself from them; tests and benchmarks read the same values.
#pragma once

#include "math/Vector.h"

namespace korvath {

struct WaveSettings {
    Vector3 direction;
    float wavelength;
    float amplitude;
    float phase;
};

// A long swell, a short chop across it and a middle wave, in the order they are
// summed: together they break up the regular pattern any single wave would show.
inline const WaveSettings volcanoWaves[] = {
    {{1.0f, 0.0f, 0.6f}, 30.0f, 1.8f, 0.0f},
    {{1.0f, 0.0f, -0.4f}, 8.0f, 0.8f, 0.5f},
    {{0.5f, 0.0f, 0.9f}, 13.0f, 1.2f, 1.0f},
};

struct EruptionSettings {
    int particleCount;
    const char* vertexProgram;
    const char* fragmentProgram;
    const char* sprite;
    bool blended;
    float emitInterval;
    int spread;
    Vector3 origin;
    Vector3 velocityScale;
    float lifetime;
    bool randomLifetime;
    Vector3 acceleration;
};

// One row per system, as in a table.
// clang-format off
inline const EruptionSettings lavaEruption = {
    100, "cg/vp_volcanoLava.cg", "cg/fp_volcanoLava.cg", "data/particle/lava.bmp", false,
    0.01f, 2, {-7.0f, 40.0f, 0.0f}, {14.0f, 15.5f, 14.0f}, 2.0f, true, {0.0f, -1.0f, 0.0f}};
inline const EruptionSettings ashEruption = {
    400, "cg/vp_volcanoAsh.cg", "cg/fp_volcanoAsh.cg", "data/particle/ash.bmp", true,
    0.0125f, 9, {-7.0f, 70.0f, 0.0f}, {7.5f, 18.5f, 5.5f}, 12.0f, true, {0.0f, -1.0f, 2.0f}};
inline const EruptionSettings stoneEruption = {
    30, "cg/vp_volcanoStone.cg", "cg/fp_volcanoStone.cg", "data/particle/stone.bmp", false,
    0.5f, 2, {-7.0f, 48.0f, 0.0f}, {27.3f, 58.5f, 34.5f}, 4.0f, false, {0.0f, -28.0f, 0.5f}};
// clang-format on

} // namespace korvath
