// Heap use of a particle system, counted by replacing the global allocation
// functions in this test program: nothing is allocated while it draws, and
// destruction gives back everything it owns.
#include "particles/CircleEmitter.h"
#include "particles/ParticleRenderer.h"
#include "particles/ParticleSystem.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

namespace {

long allocations = 0;
long liveAllocations = 0;

void* countedAllocation(std::size_t size) {
    void* memory = std::malloc(size == 0 ? 1 : size);
    if (memory == nullptr) {
        throw std::bad_alloc();
    }
    ++allocations;
    ++liveAllocations;
    return memory;
}

void countedRelease(void* memory) {
    if (memory != nullptr) {
        --liveAllocations;
        std::free(memory);
    }
}

} // namespace

void* operator new(std::size_t size) { return countedAllocation(size); }
void* operator new[](std::size_t size) { return countedAllocation(size); }
void operator delete(void* memory) noexcept { countedRelease(memory); }
void operator delete[](void* memory) noexcept { countedRelease(memory); }
void operator delete(void* memory, std::size_t) noexcept { countedRelease(memory); }
void operator delete[](void* memory, std::size_t) noexcept { countedRelease(memory); }

namespace korvath {
namespace {

// Counts what it is asked to draw; allocates nothing.
class CountingRenderer : public ParticleRenderer {
public:
    explicit CountingRenderer(long* drawnCount) : drawn(drawnCount) {}
    void beginBatch(float, const Vector3&) override {}
    void drawParticle(const Particle&) override { ++*drawn; }
    void endBatch() override {}

private:
    long* drawn;
};

TEST(ParticleSystemHeap, DrawingAndReseedingAllocateNothing) {
    long drawn = 0;
    auto* emitter = new CircleEmitter(0.01f, 2, Vector3(), Vector3(1.0f, 1.0f, 1.0f), 0.3f, true);
    ParticleSystem system(200, emitter, new CountingRenderer(&drawn));
    const float handedOut = emitter->emitTime;
    const long before = allocations;
    for (int frame = 0; frame < 1000; ++frame) {
        system.draw(static_cast<float>(frame) / 60.0f);
    }
    const long during = allocations - before;
    EXPECT_EQ(during, 0);
    EXPECT_GT(drawn, 0);
    EXPECT_GT(emitter->emitTime, handedOut) << "particles were re-seeded";
}

TEST(ParticleSystemHeap, DestructionReleasesEmitterParticlesAndRenderer) {
    long drawn = 0;
    const long liveBefore = liveAllocations;
    auto* system = new ParticleSystem(
        50, new CircleEmitter(0.5f, 2, Vector3(), Vector3(), 1.0f, false),
        new CountingRenderer(&drawn));
    const long liveWithSystem = liveAllocations;
    system->draw(3.0f);
    delete system;
    const long liveAfter = liveAllocations;
    // System, emitter, renderer and 50 particles at the least.
    EXPECT_GE(liveWithSystem - liveBefore, 53);
    EXPECT_EQ(liveAfter, liveBefore);
}

} // namespace
} // namespace korvath
