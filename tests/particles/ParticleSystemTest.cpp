// The particle system's logic through recording stand-ins: which particles are
// drawn, waiting or re-seeded at a scene time, the batch around them, and the
// order in which destruction releases what the system owns.
#include "SystemStandIns.h"
#include "particles/CircleEmitter.h"
#include "particles/ParticleSystem.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace korvath::test {
namespace {

Particle particleAt(float initTime, float lifetime, float x = 0.0f) {
    Particle particle;
    particle.initTime = initTime;
    particle.lifetime = lifetime;
    particle.initPosition = Vector3(x, 1.0f, 2.0f);
    particle.initVelocity = Vector3(3.0f, 4.0f, 5.0f);
    return particle;
}

// A system over scripted particles that records into its own log.
struct ScriptedSystem {
    CallLog log;
    std::unique_ptr<ParticleSystem> system;

    ScriptedSystem(std::vector<Particle> particles, std::vector<float> respawnTimes = {}) {
        const int count = static_cast<int>(particles.size());
        system = std::make_unique<ParticleSystem>(
            count, new ScriptedEmitter(std::move(particles), std::move(respawnTimes), &log),
            new RecordingRenderer(&log));
    }

    // Draws one frame and returns only what that frame recorded.
    CallLog frame(float time) {
        log.calls.clear();
        system->draw(time);
        return log;
    }
};

// ---- The three states ----

TEST(ParticleSystemStates, AParticleStartingAtTheSceneTimeWaits) {
    ScriptedSystem scripted({particleAt(2.0f, 1.0f)});
    const CallLog atStart = scripted.frame(2.0f);
    EXPECT_EQ(atStart.count(CallKind::Draw), 0);
    EXPECT_EQ(atStart.count(CallKind::Respawn), 0);
    EXPECT_EQ(scripted.frame(std::nextafter(2.0f, 3.0f)).count(CallKind::Draw), 1);
}

TEST(ParticleSystemStates, AParticleEndingAtTheSceneTimeIsReseededNotDrawn) {
    ScriptedSystem scripted({particleAt(1.5f, 0.5f)}, {10.0f});
    EXPECT_EQ(scripted.frame(std::nextafter(2.0f, 0.0f)).count(CallKind::Draw), 1);
    const CallLog atEnd = scripted.frame(2.0f);
    EXPECT_EQ(atEnd.count(CallKind::Draw), 0);
    EXPECT_EQ(atEnd.count(CallKind::Respawn), 1);
}

TEST(ParticleSystemStates, TheEndIsSummedInDoublePrecision) {
    // 1 + 1.4 units in the last place: in single precision the end rounds down
    // onto the next float after 1, which is still before the true end.
    const float lifetime = 1.4f * std::ldexp(1.0f, -23);
    ScriptedSystem scripted({particleAt(1.0f, lifetime)});
    EXPECT_EQ(scripted.frame(std::nextafter(1.0f, 2.0f)).count(CallKind::Draw), 1);
}

TEST(ParticleSystemStates, AliveParticlesAreDrawnInCreationOrderWithTheirValues) {
    ScriptedSystem scripted({particleAt(0.5f, 5.0f, 1.0f), particleAt(3.0f, 5.0f, 2.0f),
                             particleAt(0.2f, 5.0f, 3.0f)});
    const std::vector<Particle> drawn = scripted.frame(1.0f).drawn();
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(drawn[0].initPosition.x, 1.0f);
    EXPECT_EQ(drawn[1].initPosition.x, 3.0f);
    EXPECT_EQ(drawn[1].initTime, 0.2f);
    EXPECT_EQ(drawn[1].lifetime, 5.0f);
    EXPECT_EQ(drawn[1].initVelocity.z, 5.0f);
}

// ---- Re-seeding ----

TEST(ParticleSystemReseeding, LifetimeZeroIsNeverDrawnAndAdvancesTheEmitterOncePerFrame) {
    auto* emitter = new CircleEmitter(0.25f, 2, Vector3(), Vector3(1.0f, 1.0f, 1.0f), 0.0f, false);
    CallLog log;
    ParticleSystem system(1, emitter, new RecordingRenderer(&log));
    EXPECT_EQ(emitter->emitTime, 0.25f);
    system.draw(0.25f);
    EXPECT_EQ(emitter->emitTime, 0.25f) << "at its start time the particle still waits";
    const float frames[] = {1.0f, 1.1f, 1.2f, 5.0f};
    float expected = 0.25f;
    for (float time : frames) {
        system.draw(time);
        expected += 0.25f;
        EXPECT_EQ(emitter->emitTime, expected) << "at time " << time;
    }
    EXPECT_EQ(log.count(CallKind::Draw), 0);
}

TEST(ParticleSystemReseeding, AStartInThePastIsDrawnFromTheNextFrameOn) {
    ScriptedSystem scripted({particleAt(1.0f, 1.0f)}, {2.5f});
    const CallLog expiry = scripted.frame(3.0f);
    EXPECT_EQ(expiry.count(CallKind::Respawn), 1);
    EXPECT_EQ(expiry.count(CallKind::Draw), 0) << "not drawn in the frame it is re-seeded";
    const std::vector<Particle> next = scripted.frame(3.1f).drawn();
    ASSERT_EQ(next.size(), 1u);
    EXPECT_EQ(next[0].initTime, 2.5f);
    EXPECT_EQ(next[0].lifetime, 1.0f);
}

TEST(ParticleSystemReseeding, NothingIsDrawnAtTimeZeroWithAFreshEmitter) {
    auto* emitter = new CircleEmitter(0.01f, 2, Vector3(-7.0f, 40.0f, 0.0f),
                                      Vector3(14.0f, 15.5f, 14.0f), 2.0f, true);
    CallLog log;
    ParticleSystem system(100, emitter, new RecordingRenderer(&log));
    EXPECT_NEAR(emitter->emitTime, 1.0f, 1e-5f) << "start times 0.01 to 1.0 handed out";
    const float handedOut = emitter->emitTime;
    system.draw(0.0f);
    EXPECT_EQ(log.count(CallKind::Draw), 0);
    EXPECT_EQ(emitter->emitTime, handedOut) << "nothing was re-seeded";
}

// ---- The batch ----

TEST(ParticleSystemBatch, EveryFrameIsOneBatchWithTheTimeAndAcceleration) {
    ScriptedSystem scripted({particleAt(0.5f, 5.0f), particleAt(0.6f, 5.0f)});
    scripted.system->acceleration = Vector3(0.0f, -28.0f, 0.5f);
    const CallLog frame = scripted.frame(1.25f);
    ASSERT_EQ(frame.calls.size(), 4u);
    EXPECT_EQ(frame.calls.front().kind, CallKind::Begin);
    EXPECT_EQ(frame.calls.front().time, 1.25f);
    EXPECT_EQ(frame.calls.front().acceleration.y, -28.0f);
    EXPECT_EQ(frame.calls.front().acceleration.z, 0.5f);
    EXPECT_EQ(frame.calls.back().kind, CallKind::End);
}

TEST(ParticleSystemBatch, NoParticlesStillMakeAnEmptyBatch) {
    for (int count : {0, -3}) {
        CallLog log;
        ParticleSystem system(count, new ScriptedEmitter({}, {}), new RecordingRenderer(&log));
        system.draw(4.0f);
        ASSERT_EQ(log.calls.size(), 2u) << "count " << count;
        EXPECT_EQ(log.calls[0].kind, CallKind::Begin);
        EXPECT_EQ(log.calls[1].kind, CallKind::End);
    }
}

TEST(ParticleSystemBatch, WithoutAnEmitterTheSystemStaysEmpty) {
    CallLog log;
    ParticleSystem system(5, nullptr, new RecordingRenderer(&log));
    system.draw(1.0f);
    EXPECT_EQ(log.count(CallKind::Begin), 1);
    EXPECT_EQ(log.count(CallKind::Draw), 0);
}

// ---- Destruction ----

TEST(ParticleSystemDestruction, ReleasesTheEmitterBeforeThePrograms) {
    CallLog log;
    {
        ParticleSystem system(3, new ScriptedEmitter({particleAt(1, 1), particleAt(1, 1),
                                                      particleAt(1, 1)}, {}, &log),
                              new RecordingRenderer(&log));
    }
    ASSERT_EQ(log.calls.size(), 2u);
    EXPECT_EQ(log.calls[0].kind, CallKind::EmitterDeleted);
    EXPECT_EQ(log.calls[1].kind, CallKind::RendererReleased);
}

} // namespace
} // namespace korvath::test
