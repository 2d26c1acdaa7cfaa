// An emitter with a known script for tests: particle i starts as the i-th given
// particle, and each re-seed gives a particle the next of the given start times.
#pragma once

#include "CallLog.h"
#include "particles/Emitter.h"

#include <cstddef>
#include <vector>

namespace korvath::test {

class ScriptedEmitter : public Emitter {
public:
    // log may be null. Once the re-seed times are used up, re-seeds keep the last.
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
