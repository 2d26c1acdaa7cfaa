// The particle system's bookkeeping: creation, the per-frame judgement and
// re-seeding, destruction. Drawing goes through its renderer.
#include "particles/ParticleSystem.h"

#include "particles/ParticleState.h"

namespace korvath {

ParticleSystem::ParticleSystem(int count, Emitter* emitterValue, ParticleRenderer* rendererValue)
    : emitter(emitterValue), renderer(rendererValue) {
    // Without an emitter there is nothing to seed particles from: the system
    // stays empty instead of dereferencing null.
    if (emitter == nullptr) {
        return;
    }
    for (int index = 0; index < count; ++index) {
        particles.push_back(emitter->createParticle(index));
    }
}

ParticleSystem::~ParticleSystem() {
    delete emitter;
    for (Particle* particle : particles) {
        delete particle;
    }
    particles.clear();
    delete renderer;
}

void ParticleSystem::draw(float time) {
    renderer->beginBatch(time, acceleration);
    for (Particle* particle : particles) {
        switch (judgeParticle(*particle, time)) {
        case ParticleState::Alive:
            renderer->drawParticle(*particle);
            break;
        case ParticleState::Expired:
            // Not drawn this frame, whatever its new start time.
            emitter->respawnParticle(*particle);
            break;
        case ParticleState::Waiting:
            break;
        }
    }
    renderer->endBatch();
}

} // namespace korvath
