// Derived values of a Gerstner wave: wave vector, wave number, angular frequency.
#include "ocean/Wave.h"

#include <cmath>

namespace korvath {

namespace {
constexpr double twoPi = 6.2831853071;
// Gravity in the deep-water dispersion relation omega^2 = g k.
constexpr float gravity = 9.81f;
} // namespace

Wave makeWave(float directionX, float directionY, float directionZ, float wavelength,
              float amplitude, float phase) {
    const float length = Vector3(directionX, directionY, directionZ).length();
    const Vector3 direction(directionX / length, directionY / length, directionZ / length);
    const float waveNumber = static_cast<float>(twoPi / wavelength);

    Wave wave;
    wave.waveVector =
        Vector3(direction.x * waveNumber, direction.y * waveNumber, direction.z * waveNumber);
    wave.waveNumber = waveNumber;
    wave.amplitude = amplitude;
    wave.angularFrequency = std::sqrt(waveNumber * gravity);
    wave.phase = phase;
    return wave;
}

} // namespace korvath
