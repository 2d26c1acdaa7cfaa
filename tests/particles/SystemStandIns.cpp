// The recording renderer, the scripted emitter and queries over their log.
#include "SystemStandIns.h"

#include <algorithm>
#include <utility>

namespace korvath::test {

int CallLog::count(CallKind kind) const {
    return static_cast<int>(std::count_if(calls.begin(), calls.end(),
                                          [kind](const Call& call) { return call.kind == kind; }));
}

std::vector<Particle> CallLog::drawn() const {
    std::vector<Particle> particles;
    for (const Call& call : calls) {
        if (call.kind == CallKind::Draw) {
            particles.push_back(call.particle);
        }
    }
    return particles;
}

RecordingRenderer::~RecordingRenderer() { log->calls.push_back({CallKind::RendererReleased, 0.0f, {}, {}}); }

void RecordingRenderer::beginBatch(float time, const Vector3& acceleration) {
    log->calls.push_back({CallKind::Begin, time, acceleration, {}});
}

void RecordingRenderer::drawParticle(const Particle& particle) {
    log->calls.push_back({CallKind::Draw, 0.0f, {}, particle});
}

void RecordingRenderer::endBatch() { log->calls.push_back({CallKind::End, 0.0f, {}, {}}); }

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
    return new Particle(initial.at(static_cast<std::size_t>(index)));
}

void ScriptedEmitter::respawnParticle(Particle& particle) {
    if (!respawnTimes.empty()) {
        particle.initTime = respawnTimes[std::min(nextRespawn++, respawnTimes.size() - 1)];
    }
    if (log != nullptr) {
        log->calls.push_back({CallKind::Respawn, 0.0f, {}, particle});
    }
}

} // namespace korvath::test
