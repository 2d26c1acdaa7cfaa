// The circle emitter: which draw of the shared random source feeds which value,
// the square and angle ranges, the running start-time sequence and lifetimes.
#include "particles/CircleEmitter.h"
#include "particles/RandomSource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace korvath {
namespace {

// The draws of one re-seed, in order.
enum RespawnDraw { XDraw = 0, ZDraw = 1, AngleZDraw = 2, AngleXDraw = 3 };

// Draws from the shared source until the draw `ahead` places on (0: the next
// one) will be `value`.
void advanceSharedSourceUntil(int ahead, int value) {
    for (;;) {
        RandomSource peek = sharedRandomSource();
        for (int i = 0; i < ahead; ++i) {
            peek.next();
        }
        if (peek.next() == value) {
            return;
        }
        sharedRandomSource().next();
    }
}

// A copy of the shared source moved on by `draws`.
RandomSource sharedSourceAfter(RandomSource start, int draws) {
    for (int i = 0; i < draws; ++i) {
        start.next();
    }
    return start;
}

CircleEmitter makeEmitter(bool randomLifetime, int spread = 4) {
    return CircleEmitter(0.5f, spread, Vector3(10.0f, 3.0f, -20.0f), Vector3(2.0f, 7.0f, 5.0f),
                         8.0f, randomLifetime);
}

TEST(CircleEmitterDraws, CreateWithRandomLifetimeTakesFiveDrawsInOrder) {
    CircleEmitter emitter = makeEmitter(true);
    RandomSource predicted = sharedRandomSource();
    std::unique_ptr<Particle> particle(emitter.createParticle(0));
    const int lifetimeDraw = predicted.next();
    const int xDraw = predicted.next();
    const int zDraw = predicted.next();
    const int angleZDraw = predicted.next();
    const int angleXDraw = predicted.next();
    EXPECT_EQ(sharedRandomSource(), predicted) << "exactly five draws";
    EXPECT_NEAR(particle->lifetime, lifetimeDraw / 32767.0 * 8.0, 1e-5);
    EXPECT_NEAR(particle->initPosition.x, 10.0 + xDraw * 4 / 32767.0, 1e-5);
    EXPECT_NEAR(particle->initPosition.z, -20.0 + zDraw * 4 / 32767.0, 1e-5);
    EXPECT_NEAR(particle->initVelocity.x, 2.0 * std::cos(angleXDraw / 5217.675), 1e-5);
    EXPECT_NEAR(particle->initVelocity.z, 5.0 * std::sin(angleZDraw / 5217.675), 1e-5);
}

TEST(CircleEmitterDraws, FixedLifetimeCreateAndEveryRespawnTakeFourDraws) {
    CircleEmitter emitter = makeEmitter(false);
    RandomSource predicted = sharedRandomSource();
    std::unique_ptr<Particle> particle(emitter.createParticle(7));
    EXPECT_NEAR(particle->initPosition.x, 10.0 + predicted.next() * 4 / 32767.0, 1e-5)
        << "with a fixed lifetime the first draw goes to x";
    EXPECT_EQ(sharedRandomSource(), sharedSourceAfter(predicted, 3));
    EXPECT_EQ(particle->lifetime, 8.0f);

    CircleEmitter randomEmitter = makeEmitter(true);
    std::unique_ptr<Particle> random(randomEmitter.createParticle(0));
    const float lifetime = random->lifetime;
    const RandomSource beforeRespawn = sharedRandomSource();
    randomEmitter.respawnParticle(*random);
    EXPECT_EQ(sharedRandomSource(), sharedSourceAfter(beforeRespawn, 4));
    EXPECT_EQ(random->lifetime, lifetime) << "a re-seed keeps the lifetime";
}

TEST(CircleEmitterPositions, FillTheSquareAtTheOriginHeightWithBothEndsReached) {
    CircleEmitter emitter = makeEmitter(false, 9);
    Particle particle;
    for (int i = 0; i < 10000; ++i) {
        emitter.respawnParticle(particle);
        ASSERT_GE(particle.initPosition.x, 10.0f);
        ASSERT_LE(particle.initPosition.x, 19.0f);
        ASSERT_GE(particle.initPosition.z, -20.0f);
        ASSERT_LE(particle.initPosition.z, -11.0f);
        ASSERT_EQ(particle.initPosition.y, 3.0f);
        ASSERT_EQ(particle.initVelocity.y, 7.0f);
    }
    const struct {
        RespawnDraw draw;
        int value;
        float Vector3::*axis;
        float expected;
    } ends[] = {{XDraw, 0, &Vector3::x, 10.0f},
                {XDraw, RandomSource::maxValue, &Vector3::x, 19.0f},
                {ZDraw, 0, &Vector3::z, -20.0f},
                {ZDraw, RandomSource::maxValue, &Vector3::z, -11.0f}};
    for (const auto& end : ends) {
        advanceSharedSourceUntil(end.draw, end.value);
        emitter.respawnParticle(particle);
        EXPECT_EQ(particle.initPosition.*end.axis, end.expected);
    }
}

TEST(CircleEmitterPositions, ZeroSpreadPutsEveryParticleAtTheOrigin) {
    CircleEmitter emitter = makeEmitter(false, 0);
    Particle particle;
    for (int i = 0; i < 100; ++i) {
        emitter.respawnParticle(particle);
        ASSERT_EQ(particle.initPosition.x, 10.0f);
        ASSERT_EQ(particle.initPosition.z, -20.0f);
    }
}

TEST(CircleEmitterVelocity, AnglesRunFromZeroToJustShortOfAFullTurn) {
    CircleEmitter emitter = makeEmitter(false);
    Particle particle;
    advanceSharedSourceUntil(AngleXDraw, 0);
    emitter.respawnParticle(particle);
    EXPECT_EQ(particle.initVelocity.x, 2.0f);
    advanceSharedSourceUntil(AngleZDraw, 0);
    emitter.respawnParticle(particle);
    EXPECT_EQ(particle.initVelocity.z, 0.0f);
    // 32767 / 5217.675 = 6.2800 radians, 0.0032 short of 2 pi.
    advanceSharedSourceUntil(AngleZDraw, RandomSource::maxValue);
    emitter.respawnParticle(particle);
    EXPECT_LT(particle.initVelocity.z, 0.0f);
    EXPECT_NEAR(particle.initVelocity.z, 5.0 * std::sin(6.28), 1e-4);
    advanceSharedSourceUntil(AngleXDraw, RandomSource::maxValue);
    emitter.respawnParticle(particle);
    EXPECT_NEAR(particle.initVelocity.x, 2.0 * std::cos(6.28), 1e-5);
}

TEST(CircleEmitterVelocity, XAndZFollowIndependentAngles) {
    CircleEmitter emitter(0.1f, 1, Vector3(), Vector3(1.0f, 0.0f, 1.0f), 1.0f, false);
    Particle particle;
    float smallestSquare = 2.0f;
    float largestSquare = 0.0f;
    for (int i = 0; i < 10000; ++i) {
        emitter.respawnParticle(particle);
        const float square = particle.initVelocity.x * particle.initVelocity.x +
                             particle.initVelocity.z * particle.initVelocity.z;
        smallestSquare = std::min(smallestSquare, square);
        largestSquare = std::max(largestSquare, square);
    }
    // One shared angle would keep the horizontal speed at 1.
    EXPECT_LT(smallestSquare, 0.05f);
    EXPECT_GT(largestSquare, 1.95f);
}

TEST(CircleEmitterTimes, StartTimesRunOnAcrossCreateAndRespawn) {
    CircleEmitter emitter = makeEmitter(true);
    EXPECT_EQ(emitter.emitTime, 0.0f);
    std::unique_ptr<Particle> first(emitter.createParticle(0));
    std::unique_ptr<Particle> second(emitter.createParticle(1));
    EXPECT_EQ(first->initTime, 0.5f);
    EXPECT_EQ(second->initTime, 1.0f);
    emitter.respawnParticle(*first);
    EXPECT_EQ(first->initTime, 1.5f);
}

TEST(CircleEmitterTimes, SequenceAccumulatesInSinglePrecision) {
    CircleEmitter emitter(0.01f, 2, Vector3(), Vector3(), 1.0f, false);
    Particle particle;
    for (int i = 0; i < 100; ++i) {
        emitter.respawnParticle(particle);
    }
    // A hundred single-precision steps of 0.01, not 100 * 0.01.
    EXPECT_FLOAT_EQ(particle.initTime, 0.9999993f);
    EXPECT_NE(particle.initTime, 1.0f);
}

TEST(CircleEmitterLifetime, RandomLifetimeRunsFromZeroToTheFullLifetime) {
    CircleEmitter emitter = makeEmitter(true);
    advanceSharedSourceUntil(0, 0);
    std::unique_ptr<Particle> shortest(emitter.createParticle(0));
    EXPECT_EQ(shortest->lifetime, 0.0f);
    advanceSharedSourceUntil(0, RandomSource::maxValue);
    std::unique_ptr<Particle> longest(emitter.createParticle(1));
    EXPECT_EQ(longest->lifetime, 8.0f);
}

} // namespace
} // namespace korvath
