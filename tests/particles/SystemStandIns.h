// Test stand-ins for what a particle system talks to: a renderer that records
// the calls instead of drawing, and an emitter that follows a script. Both
// write into one log, so the order of their calls can be checked.
#pragma once

#include "particles/Emitter.h"
#include "particles/ParticleRenderer.h"

#include <cstddef>
#include <vector>

namespace korvath::test {

enum class CallKind { Begin, Draw, End, Respawn, EmitterDeleted, RendererReleased };

struct Call {
    CallKind kind;
    float time = 0.0f;    // Begin: the scene time handed over
    Vector3 acceleration; // Begin: the acceleration handed over
    Particle particle;    // Draw: as drawn; Respawn: as re-seeded
};

struct CallLog {
    std::vector<Call> calls;

    int count(CallKind kind) const;
    std::vector<Particle> drawn() const; // in the order drawn
};

class RecordingRenderer : public ParticleRenderer {
public:
    explicit RecordingRenderer(CallLog* callLog) : log(callLog) {}
    ~RecordingRenderer() override;
    void beginBatch(float time, const Vector3& acceleration) override;
    void drawParticle(const Particle& particle) override;
    void endBatch() override;

private:
    CallLog* log;
};

// Particle i starts as the i-th given particle; each re-seed gives a particle
// the next of the given start times (the last once they are used up).
class ScriptedEmitter : public Emitter {
public:
    ScriptedEmitter(std::vector<Particle> initial, std::vector<float> respawnTimes,
                    CallLog* log = nullptr);
    ~ScriptedEmitter() override;
    Particle* createParticle(int index) override;
    void respawnParticle(Particle& particle) override;

private:
    std::vector<Particle> initial;
    std::vector<float> respawnTimes;
    std::size_t nextRespawn = 0;
    CallLog* log;
};

} // namespace korvath::test
