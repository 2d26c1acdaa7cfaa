// The particle logic without a graphics context: the random source's known
// sequence, the circle emitter's square (the golden poses, which replay the
// eruption from its start, see every other draw), the system's
// judgement of waiting, alive and expired particles, and its heap use.
#include "particles/CircleEmitter.h"
#include "particles/ParticleSystem.h"
#include "particles/RandomSource.h"

#include "AllocationCounter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <tuple>
#include <vector>

namespace korvath::test {
namespace {

// ---- The emitter ------------------------------------------------------------

TEST(Emitter, RandomSequenceAndSquareEnds) {
    RandomSource fresh; // the classic rand from seed 1
    for (int value : {16838, 5758, 10113, 17515, 31051, 5627, 23010, 7419, 16212, 4086}) {
        EXPECT_EQ(fresh.next(), value);
    }

    // Both ends of the square are reached: a re-seed draws x first, then z.
    CircleEmitter emitter(0.5f, 9, Vector3(), Vector3(), 8.0f, false);
    Particle particle;
    for (const int value : {0, RandomSource::maxValue}) {
        for (const int ahead : {0, 1}) {
            // Draw until the draw `ahead` places on is `value`.
            RandomSource peek = sharedRandomSource();
            for (int i = 0; i < ahead; ++i) {
                peek.next();
            }
            while (peek.next() != value) {
                sharedRandomSource().next();
            }
            emitter.respawnParticle(particle);
            EXPECT_EQ(ahead == 0 ? particle.initPosition.x : particle.initPosition.z,
                      value == 0 ? 0.0f : 9.0f)
                << value << " in draw " << ahead;
        }
    }
}

// ---- The system -------------------------------------------------------------

// Counts the calls; allocates nothing.
struct CountingRenderer : ParticleRenderer {
    int begins = 0, draws = 0, ends = 0;
    void beginBatch(float, const Vector3&) override { ++begins; }
    void drawParticle(const Particle&) override { ++draws; }
    void endBatch() override { ++ends; }
};

TEST(ParticleSystemStates, WaitingAliveAndExpiredMeetAtTheirBoundaries) {
    // A fresh emitter starts particle k at (k + 1) x interval; a re-seed hands
    // out the next start time, counted here by the emitter's advance.
    const struct {
        const char* what;
        int count;
        float interval, lifetime;
        std::vector<std::tuple<float, int, int>> frames; // time, drawn, re-seeded
    } cases[] = {
        {"start == time waits", 1, 2.0f, 1.0f, {{2.0f, 0, 0}, {std::nextafter(2.0f, 3.0f), 1, 0}}},
        {"end == time re-seeds", 1, 1.5f, 0.5f, {{std::nextafter(2.0f, 0.0f), 1, 0}, {2.0f, 0, 1}}},
        {"lifetime 0 re-seeds", 1, 0.25f, 0.0f, {{0.25f, 0, 0}, {1.0f, 0, 1}, {5.0f, 0, 1}}},
        // Re-seeded at 3.5 to start at 2.0: drawn from the next frame on.
        {"a re-seed in the past", 1, 1.0f, 2.5f, {{3.5f, 0, 1}, {3.6f, 1, 0}}},
        {"nothing is drawn at time 0", 100, 0.01f, 2.0f, {{0.0f, 0, 0}}},
        {"no particles still make one batch", 0, 1.0f, 1.0f, {{4.0f, 0, 0}}},
    };
    for (const auto& c : cases) {
        auto* emitter = new CircleEmitter(c.interval, 2, Vector3(), Vector3(), c.lifetime, false);
        auto* renderer = new CountingRenderer();
        ParticleSystem system(c.count, emitter, renderer);
        for (const auto& [time, drawn, respawns] : c.frames) {
            *renderer = CountingRenderer();
            const float emitTime = emitter->emitTime;
            system.draw(time);
            const long advance = std::lround((emitter->emitTime - emitTime) / c.interval);
            EXPECT_EQ(std::make_tuple(renderer->begins, renderer->draws, renderer->ends, advance),
                      std::make_tuple(1, drawn, 1, long{respawns}))
                << c.what << " at " << time;
        }
    }
}

// ---- Heap use ---------------------------------------------------------------

TEST(ParticleSystemHeap, DrawingAllocatesNothingAndDestructionReleasesEverything) {
    const auto live = [] { return allocationCount() - releaseCount(); };
    const long liveBefore = live();
    auto* emitter = new CircleEmitter(0.01f, 2, Vector3(), Vector3(1.0f, 1.0f, 1.0f), 0.3f, true);
    auto* system = new ParticleSystem(200, emitter, new CountingRenderer());
    EXPECT_GE(live() - liveBefore, 203) << "system, emitter, renderer, particles";
    const long before = allocationCount();
    for (int frame = 0; frame < 1000; ++frame) {
        system->draw(static_cast<float>(frame) / 60.0f);
    }
    EXPECT_EQ(allocationCount() - before, 0);
    delete system;
    EXPECT_EQ(live(), liveBefore);
}

} // namespace
} // namespace korvath::test
