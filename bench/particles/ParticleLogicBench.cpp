// The CPU side of ParticleSystem::draw for 10,000 particles, with a stand-in
// renderer that only counts, beside a plain loop over a contiguous array that
// makes the same judgement with neither list nor virtual calls.
#include "particles/CircleEmitter.h"
#include "particles/ParticleRenderer.h"
#include "particles/ParticleState.h"
#include "particles/ParticleSystem.h"
#include "scenes/VolcanoSettings.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

constexpr int kParticles = 10000;

class CountingRenderer : public korvath::ParticleRenderer {
public:
    void beginBatch(float, const korvath::Vector3&) override {}
    void drawParticle(const korvath::Particle& particle) override {
        benchmark::DoNotOptimize(particle.initTime);
        ++drawn;
    }
    void endBatch() override {}

    long drawn = 0;
};

// All start times within the first second and lifetimes of 1000 s: from time 2
// on every particle is alive and drawn.
korvath::CircleEmitter* longLivedEmitter() {
    return new korvath::CircleEmitter(1.0f / kParticles, korvath::ashEruption.spread,
                                      korvath::ashEruption.origin,
                                      korvath::ashEruption.velocityScale, 1000.0f, false);
}

void allAliveThroughTheSystem(benchmark::State& state) {
    auto* renderer = new CountingRenderer();
    korvath::ParticleSystem system(kParticles, longLivedEmitter(), renderer);
    for (auto _ : state) {
        system.draw(2.0f);
    }
    state.SetItemsProcessed(state.iterations() * kParticles);
    state.counters["drawnPerFrame"] = static_cast<double>(renderer->drawn) / state.iterations();
}
BENCHMARK(allAliveThroughTheSystem);

void allAliveInAPlainLoop(benchmark::State& state) {
    std::unique_ptr<korvath::CircleEmitter> emitter(longLivedEmitter());
    std::vector<korvath::Particle> particles;
    for (int index = 0; index < kParticles; ++index) {
        std::unique_ptr<korvath::Particle> particle(emitter->createParticle(index));
        particles.push_back(*particle);
    }
    long drawn = 0;
    for (auto _ : state) {
        for (const korvath::Particle& particle : particles) {
            if (korvath::judgeParticle(particle, 2.0f) == korvath::ParticleState::Alive) {
                benchmark::DoNotOptimize(particle.initTime);
                ++drawn;
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * kParticles);
    state.counters["drawnPerFrame"] = static_cast<double>(drawn) / state.iterations();
}
BENCHMARK(allAliveInAPlainLoop);

// Lifetime 0: every particle expires in every frame and is re-seeded, the
// emitter's four draws, a sine and a cosine each.
void allReseededThroughTheSystem(benchmark::State& state) {
    auto* emitter = new korvath::CircleEmitter(
        korvath::ashEruption.emitInterval, korvath::ashEruption.spread, korvath::ashEruption.origin,
        korvath::ashEruption.velocityScale, 0.0f, false);
    korvath::ParticleSystem system(kParticles, emitter, new CountingRenderer());
    for (auto _ : state) {
        system.draw(1.0e6f);
    }
    state.SetItemsProcessed(state.iterations() * kParticles);
}
BENCHMARK(allReseededThroughTheSystem);

} // namespace
