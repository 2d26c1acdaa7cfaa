// Per-frame cost of the ocean's maths for the volcano scene's three waves: the
// wave update and the strip stream, each the plain way and the fast way, and a
// whole frame of both. Scene times advance by 1/60 s per iteration from 1000 s.
#include "ocean/OceanGrid.h"
#include "ocean/PlainOcean.h"
#include "ocean/StripStream.h"
#include "ocean/WaveSum.h"
#include "testbed/OceanScene.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace korvath {
namespace {

struct SceneOcean {
    const OceanGrid grid = test::sceneGrid;
    const RestPositions rest{grid};
    const std::vector<Wave> waves = test::sceneWaves();
    std::vector<Vector3> vertices = std::vector<Vector3>(grid.vertexCount());
    std::vector<StripVertex> stream = std::vector<StripVertex>(streamLength(grid));
    float time = 1000.0f;

    float nextTime() { return time += 1.0f / 60.0f; }
};

// Keeps the compiler from dropping results that nothing reads.
void publish(SceneOcean& ocean) {
    benchmark::DoNotOptimize(ocean.vertices.data());
    benchmark::DoNotOptimize(ocean.stream.data());
    benchmark::ClobberMemory();
}

void BM_VertexUpdate_plain(benchmark::State& state) {
    SceneOcean ocean;
    for (auto _ : state) {
        updateVerticesPlain(ocean.grid, ocean.waves, ocean.nextTime(), ocean.vertices.data());
        publish(ocean);
    }
}

void BM_VertexUpdate_fast(benchmark::State& state) {
    SceneOcean ocean;
    for (auto _ : state) {
        updateVertices(ocean.rest, ocean.waves, ocean.nextTime(), ocean.vertices.data());
        publish(ocean);
    }
}

void BM_StripStream_plain(benchmark::State& state) {
    SceneOcean ocean;
    updateVertices(ocean.rest, ocean.waves, ocean.nextTime(), ocean.vertices.data());
    for (auto _ : state) {
        buildStripStreamPlain(ocean.grid, ocean.vertices.data(), ocean.stream.data());
        publish(ocean);
    }
}

void BM_StripStream_fast(benchmark::State& state) {
    SceneOcean ocean;
    updateVertices(ocean.rest, ocean.waves, ocean.nextTime(), ocean.vertices.data());
    for (auto _ : state) {
        buildStripStream(ocean.grid, ocean.vertices.data(), ocean.stream.data());
        publish(ocean);
    }
}

void BM_Frame_plain(benchmark::State& state) {
    SceneOcean ocean;
    for (auto _ : state) {
        updateVerticesPlain(ocean.grid, ocean.waves, ocean.nextTime(), ocean.vertices.data());
        buildStripStreamPlain(ocean.grid, ocean.vertices.data(), ocean.stream.data());
        publish(ocean);
    }
}

void BM_Frame_fast(benchmark::State& state) {
    SceneOcean ocean;
    for (auto _ : state) {
        updateVertices(ocean.rest, ocean.waves, ocean.nextTime(), ocean.vertices.data());
        buildStripStream(ocean.grid, ocean.vertices.data(), ocean.stream.data());
        publish(ocean);
    }
}

// Plain and fast next to each other, so that load from other processes hits both alike.
BENCHMARK(BM_VertexUpdate_plain)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_VertexUpdate_fast)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StripStream_plain)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StripStream_fast)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Frame_plain)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Frame_fast)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace korvath
