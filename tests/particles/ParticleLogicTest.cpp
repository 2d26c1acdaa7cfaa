// The particle logic without a graphics context: the random source's known
// sequence, the circle emitter's draws, square and start times, the system's
// judgement of waiting, alive and expired particles, and its heap use, counted
// by replacing the global allocation functions in this test program.
#include "particles/CircleEmitter.h"
#include "particles/ParticleSystem.h"
#include "particles/RandomSource.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <new>
#include <utility>
#include <vector>

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

// clang-format off
void* operator new(std::size_t size) { return countedAllocation(size); }
void* operator new[](std::size_t size) { return countedAllocation(size); }
void operator delete(void* memory) noexcept { countedRelease(memory); }
void operator delete[](void* memory) noexcept { countedRelease(memory); }
void operator delete(void* memory, std::size_t) noexcept { countedRelease(memory); }
void operator delete[](void* memory, std::size_t) noexcept { countedRelease(memory); }
// clang-format on

namespace korvath::test {
namespace {

// ---- The emitter ------------------------------------------------------------

// The draws of one re-seed, in order; a random lifetime draws before them.
enum RespawnDraw { XDraw = 0, ZDraw = 1, AngleZDraw = 2, AngleXDraw = 3 };

// Draws from the shared source until the draw `ahead` places on (0: the next
// one) will be `value`.
void advanceSharedSourceUntil(int ahead, int value) {
    for (;; sharedRandomSource().next()) {
        RandomSource peek = sharedRandomSource();
        for (int i = 0; i < ahead; ++i) {
            peek.next();
        }
        if (peek.next() == value) {
            return;
        }
    }
}

CircleEmitter makeEmitter(bool randomLifetime, int spread = 4) {
    return CircleEmitter(0.5f, spread, Vector3(10.0f, 3.0f, -20.0f), Vector3(2.0f, 7.0f, 5.0f),
                         8.0f, randomLifetime);
}

TEST(RandomSource, StartsWithTheSequenceOfTheClassicRandFromSeedOne) {
    RandomSource source;
    for (int value : {16838, 5758, 10113, 17515, 31051, 5627, 23010, 7419, 16212, 4086}) {
        EXPECT_EQ(source.next(), value);
    }
}

TEST(CircleEmitter, CreateDrawsFiveTimesWithRandomLifetimeFourWithoutAndRespawnFour) {
    for (const bool randomLifetime : {true, false}) {
        CircleEmitter emitter = makeEmitter(randomLifetime);
        RandomSource predicted = sharedRandomSource();
        std::unique_ptr<Particle> particle(emitter.createParticle(0));
        EXPECT_EQ(particle->initTime, 0.5f); // start times run on from create to re-seed
        const double lifetime = randomLifetime ? predicted.next() / 32767.0 * 8.0 : 8.0;
        int draws[4];
        for (int& draw : draws) {
            draw = predicted.next();
        }
        EXPECT_EQ(sharedRandomSource(), predicted) << "random lifetime " << randomLifetime;
        EXPECT_NEAR(particle->lifetime, lifetime, 1e-5);
        EXPECT_NEAR(particle->initPosition.x, 10.0 + draws[XDraw] * 4 / 32767.0, 1e-5);
        EXPECT_NEAR(particle->initPosition.z, -20.0 + draws[ZDraw] * 4 / 32767.0, 1e-5);
        EXPECT_NEAR(particle->initVelocity.x, 2.0 * std::cos(draws[AngleXDraw] / 5217.675), 1e-5);
        EXPECT_NEAR(particle->initVelocity.z, 5.0 * std::sin(draws[AngleZDraw] / 5217.675), 1e-5);

        const float created = particle->lifetime;
        emitter.respawnParticle(*particle);
        for (int& draw : draws) {
            draw = predicted.next();
        }
        EXPECT_EQ(sharedRandomSource(), predicted) << "a re-seed draws four times";
        EXPECT_EQ(particle->lifetime, created) << "a re-seed keeps the lifetime";
        EXPECT_EQ(particle->initTime, 1.0f);
    }
}

TEST(CircleEmitter, BothEndsOfTheSquareAreReachedAtTheOriginHeight) {
    CircleEmitter emitter = makeEmitter(false, 9);
    Particle particle;
    for (const int value : {0, RandomSource::maxValue}) {
        const float reach = value == 0 ? 0.0f : 9.0f;
        advanceSharedSourceUntil(XDraw, value);
        emitter.respawnParticle(particle);
        EXPECT_EQ(particle.initPosition.x, 10.0f + reach);
        advanceSharedSourceUntil(ZDraw, value);
        emitter.respawnParticle(particle);
        EXPECT_EQ(particle.initPosition.z, -20.0f + reach);
        EXPECT_EQ(particle.initPosition.y, 3.0f);
        EXPECT_EQ(particle.initVelocity.y, 7.0f);
    }
}

// ---- The system -------------------------------------------------------------

// Particle i starts as the i-th given particle; every re-seed is counted and
// gives its particle one fixed start time.
struct ScriptedEmitter : Emitter {
    ScriptedEmitter(std::vector<Particle> particles, float respawnStartTime)
        : initial(std::move(particles)), respawnTime(respawnStartTime) {}
    Particle* createParticle(int index) override { return new Particle(initial.at(index)); }
    void respawnParticle(Particle& particle) override {
        ++respawns;
        particle.initTime = respawnTime;
    }
    std::vector<Particle> initial;
    float respawnTime;
    int respawns = 0;
};

// Counts the calls; allocates nothing.
struct CountingRenderer : ParticleRenderer {
    int begins = 0, draws = 0, ends = 0;
    void beginBatch(float, const Vector3&) override { ++begins; }
    void drawParticle(const Particle&) override { ++draws; }
    void endBatch() override { ++ends; }
};

TEST(ParticleSystemStates, WaitingAliveAndExpiredMeetAtTheirBoundaries) {
    const float justBefore2 = std::nextafter(2.0f, 0.0f), justAfter2 = std::nextafter(2.0f, 3.0f);
    struct Frame {
        float time;
        int drawn, respawns;
    };
    const struct {
        const char* what;
        float initTime, lifetime;
        std::vector<Frame> frames;
    } cases[] = {
        {"start at the scene time waits", 2.0f, 1.0f, {{2.0f, 0, 0}, {justAfter2, 1, 0}}},
        {"end at the scene time is re-seeded", 1.5f, 0.5f, {{justBefore2, 1, 0}, {2.0f, 0, 1}}},
        // Re-seeded to start at 2.5, before the scene time: drawn from the next frame on.
        {"a re-seed in the past waits one frame", 1.0f, 1.0f, {{3.0f, 0, 1}, {3.1f, 1, 0}}},
    };
    for (const auto& c : cases) {
        auto* emitter = new ScriptedEmitter({Particle{{}, {}, c.initTime, c.lifetime}}, 2.5f);
        auto* renderer = new CountingRenderer();
        ParticleSystem system(1, emitter, renderer);
        for (const Frame& expected : c.frames) {
            *renderer = CountingRenderer();
            emitter->respawns = 0;
            system.draw(expected.time);
            EXPECT_EQ(renderer->draws, expected.drawn) << c.what << " at " << expected.time;
            EXPECT_EQ(emitter->respawns, expected.respawns) << c.what << " at " << expected.time;
        }
    }
}

TEST(ParticleSystemStates, LifetimeZeroIsNeverDrawnAndAdvancesTheEmitterOncePerFrame) {
    auto* emitter = new CircleEmitter(0.25f, 2, Vector3(), Vector3(1.0f, 1.0f, 1.0f), 0.0f, false);
    auto* renderer = new CountingRenderer();
    ParticleSystem system(1, emitter, renderer);
    float expected = 0.25f;
    for (float time : {1.0f, 1.1f, 1.2f, 5.0f}) {
        system.draw(time);
        expected += 0.25f;
        EXPECT_EQ(emitter->emitTime, expected) << "at time " << time;
    }
    EXPECT_EQ(renderer->draws, 0);
}

TEST(ParticleSystemStates, NothingIsDrawnAtTimeZeroWithAFreshEmitter) {
    // The lava fountain's emitter: start times 0.01 to 1.0 handed out.
    auto* emitter = new CircleEmitter(0.01f, 2, Vector3(-7.0f, 40.0f, 0.0f),
                                      Vector3(14.0f, 15.5f, 14.0f), 2.0f, true);
    auto* renderer = new CountingRenderer();
    ParticleSystem system(100, emitter, renderer);
    const float handedOut = emitter->emitTime;
    system.draw(0.0f);
    EXPECT_EQ(renderer->draws, 0);
    EXPECT_EQ(emitter->emitTime, handedOut) << "nothing was re-seeded";
}

TEST(ParticleSystemBatch, NoParticlesStillMakeOneEmptyBatch) {
    for (int count : {0, -3}) {
        auto* renderer = new CountingRenderer();
        ParticleSystem system(count, new ScriptedEmitter({}, 0.0f), renderer);
        system.draw(4.0f);
        EXPECT_EQ(renderer->begins, 1) << "count " << count;
        EXPECT_EQ(renderer->ends, 1) << "count " << count;
        EXPECT_EQ(renderer->draws, 0) << "count " << count;
    }
}

// ---- Heap use ---------------------------------------------------------------

TEST(ParticleSystemHeap, DrawingAndReseedingAllocateNothing) {
    auto* emitter = new CircleEmitter(0.01f, 2, Vector3(), Vector3(1.0f, 1.0f, 1.0f), 0.3f, true);
    auto* renderer = new CountingRenderer();
    ParticleSystem system(200, emitter, renderer);
    const float handedOut = emitter->emitTime;
    const long before = allocations;
    for (int frame = 0; frame < 1000; ++frame) {
        system.draw(static_cast<float>(frame) / 60.0f);
    }
    EXPECT_EQ(allocations - before, 0);
    EXPECT_GT(renderer->draws, 0);
    EXPECT_GT(emitter->emitTime, handedOut) << "particles were re-seeded";
}

TEST(ParticleSystemHeap, DestructionReleasesEmitterParticlesAndRenderer) {
    const long liveBefore = liveAllocations;
    auto* system = new ParticleSystem(
        50, new CircleEmitter(0.5f, 2, Vector3(), Vector3(), 1.0f, false), new CountingRenderer());
    // System, emitter, renderer and 50 particles at the least.
    EXPECT_GE(liveAllocations - liveBefore, 53);
    system->draw(3.0f);
    delete system;
    EXPECT_EQ(liveAllocations, liveBefore);
}

} // namespace
} // namespace korvath::test
