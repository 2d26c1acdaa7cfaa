// Heap use of the ocean's per-frame maths, counted by replacing the global
// allocation functions in this test program: the wave update and the strip
// stream allocate nothing. (Drawing itself also sets the state matrices, whose
// product the shading runtime forms with a heap temporary per call.)
#include "OceanFixtures.h"
#include "ocean/StripStream.h"
#include "ocean/WaveSum.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

namespace {

long allocations = 0;

void* countedAllocation(std::size_t size) {
    void* memory = std::malloc(size == 0 ? 1 : size);
    if (memory == nullptr) {
        throw std::bad_alloc();
    }
    ++allocations;
    return memory;
}

} // namespace

void* operator new(std::size_t size) {
    return countedAllocation(size);
}
void* operator new[](std::size_t size) {
    return countedAllocation(size);
}
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete[](void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
    std::free(memory);
}

namespace korvath::test {
namespace {

TEST(OceanHeap, UpdatingAndBuildingTheStreamAllocateNothing) {
    const OceanGrid grid = sceneGrid();
    const RestPositions rest(grid);
    const std::vector<Wave> waves = sceneWaves();
    std::vector<Vector3> vertices(grid.vertexCount());
    std::vector<StripVertex> stream(streamLength(grid));
    const long before = allocations;
    // Past the fast reduction's range too, where the C library takes over.
    for (const float time : {0.0f, 1.0f / 60.0f, 5000.0f, 1.0e6f}) {
        updateVertices(rest, waves, time, vertices.data());
        buildStripStream(grid, vertices.data(), stream.data());
    }
    EXPECT_EQ(allocations - before, 0);
    EXPECT_NE(stream[0].position.y, 0.0f) << "the frames were computed";
}

} // namespace
} // namespace korvath::test
