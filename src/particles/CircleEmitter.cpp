// Seeding particles from four (or five) draws of the shared random source, in
// a fixed order so that every run hands out the same particles.
#include "particles/CircleEmitter.h"

#include "particles/RandomSource.h"

#include <cmath>

namespace korvath {

namespace {

// A draw mapped onto [start, start + spread]; spread 0 gives start itself, as
// the divisor becomes infinite.
float offsetInSquare(int draw, int spread, float start) {
    const double divisor = static_cast<double>(RandomSource::maxValue) / spread;
    return static_cast<float>(draw / divisor + start);
}

// A draw mapped onto an angle in radians from 0 to 32767 / 5217.675 = 6.28,
// slightly less than a full turn.
float angleFromDraw(int draw) {
    const float drawsPerRadian = 5217.675f;
    return static_cast<float>(static_cast<double>(draw) / drawsPerRadian);
}

} // namespace

CircleEmitter::CircleEmitter(float emitIntervalValue, int spreadValue, Vector3 originValue,
                             Vector3 velocityScaleValue, float lifetimeValue,
                             bool randomLifetimeValue)
    : emitInterval(emitIntervalValue), spread(spreadValue), origin(originValue),
      velocityScale(velocityScaleValue), lifetime(lifetimeValue),
      randomLifetime(randomLifetimeValue) {}

Particle* CircleEmitter::createParticle(int /*index*/) {
    auto* particle = new Particle();
    if (randomLifetime) {
        const int draw = sharedRandomSource().next();
        particle->lifetime =
            static_cast<float>(static_cast<double>(draw) / RandomSource::maxValue * lifetime);
    } else {
        particle->lifetime = lifetime;
    }
    respawnParticle(*particle);
    return particle;
}

void CircleEmitter::respawnParticle(Particle& particle) {
    RandomSource& random = sharedRandomSource();
    particle.initPosition.x = offsetInSquare(random.next(), spread, origin.x);
    particle.initPosition.y = origin.y;
    particle.initPosition.z = offsetInSquare(random.next(), spread, origin.z);
    const float angleZ = angleFromDraw(random.next());
    const float angleX = angleFromDraw(random.next());
    // Two independent angles: x and z vary independently, so the horizontal
    // speed is not constant.
    particle.initVelocity.x = velocityScale.x * static_cast<float>(std::cos(double{angleX}));
    particle.initVelocity.y = velocityScale.y;
    particle.initVelocity.z = velocityScale.z * static_cast<float>(std::sin(double{angleZ}));
    emitTime = emitTime + emitInterval;
    particle.initTime = emitTime;
}

} // namespace korvath
