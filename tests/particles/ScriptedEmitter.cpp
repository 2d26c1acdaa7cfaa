// Particles from a table and re-seeds from a list, each re-seed logged.
#include "ScriptedEmitter.h"

#include <algorithm>
#include <utility>

namespace korvath::test {

ScriptedEmitter::ScriptedEmitter(std::vector<Particle> initialParticles,
                                 std::vector<float> respawnStartTimes, CallLog* callLog)
    : initial(std::move(initialParticles)), respawnTimes(std::move(respawnStartTimes)),
      log(callLog) {}

ScriptedEmitter::~ScriptedEmitter() {
    if (log != nullptr) {
        log->calls.push_back({CallKind::EmitterDeleted, 0.0f, {}, {}});
    }
}

Particle* ScriptedEmitter::createParticle(int index) {
    return new Particle(initial.at(static_cast<size_t>(index)));
}

void ScriptedEmitter::respawnParticle(Particle& particle) {
    if (!respawnTimes.empty()) {
        particle.initTime = respawnTimes[std::min(nextRespawn, respawnTimes.size() - 1)];
        ++nextRespawn;
    }
    if (log != nullptr) {
        log->calls.push_back({CallKind::Respawn, 0.0f, {}, particle});
    }
}

} // namespace korvath::test
