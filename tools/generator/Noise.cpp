// Value noise on an integer lattice with a fixed hash.
#include "generator/Noise.h"

#include <cmath>
#include <cstdint>

namespace korvath::generator {

// A 32-bit integer mix of the coordinates (constants from the well-known
// "lowbias32" mixer).
double latticeValue(long x, long y, long z, unsigned seed) {
    std::uint32_t h = seed * 0x9E3779B9u;
    h ^= static_cast<std::uint32_t>(x) * 0x85EBCA6Bu;
    h ^= static_cast<std::uint32_t>(y) * 0xC2B2AE35u;
    h ^= static_cast<std::uint32_t>(z) * 0x27D4EB2Fu;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return static_cast<double>(h) / 2147483647.5 - 1.0;
}

namespace {

// Quintic fade: continuous slope and curvature across lattice cells.
double fade(double t) {
    return t * t * t * (t * (t * 6.0 - 15.0) + 10.0);
}

double lerp(double a, double b, double t) {
    return a + (b - a) * t;
}

} // namespace

double valueNoise(double x, double y, double z, unsigned seed) {
    const double fx = std::floor(x);
    const double fy = std::floor(y);
    const double fz = std::floor(z);
    const auto ix = static_cast<long>(fx);
    const auto iy = static_cast<long>(fy);
    const auto iz = static_cast<long>(fz);
    const double tx = fade(x - fx);
    const double ty = fade(y - fy);
    const double tz = fade(z - fz);
    double plane[2];
    for (int dz = 0; dz < 2; ++dz) {
        const double low =
            lerp(latticeValue(ix, iy, iz + dz, seed), latticeValue(ix + 1, iy, iz + dz, seed), tx);
        const double high = lerp(latticeValue(ix, iy + 1, iz + dz, seed),
                                 latticeValue(ix + 1, iy + 1, iz + dz, seed), tx);
        plane[dz] = lerp(low, high, ty);
    }
    return lerp(plane[0], plane[1], tz);
}

namespace {

// Octaves of shaped noise, each twice the frequency and half the weight of the
// one before, normalised by the weight sum.
template <typename Shape>
double sumOctaves(double x, double y, double z, int octaves, unsigned seed, Shape shape) {
    double sum = 0.0;
    double amplitude = 1.0;
    double total = 0.0;
    double frequency = 1.0;
    for (int octave = 0; octave < octaves; ++octave) {
        sum += amplitude *
               shape(valueNoise(x * frequency, y * frequency, z * frequency, seed + octave));
        total += amplitude;
        amplitude *= 0.5;
        frequency *= 2.0;
    }
    return sum / total;
}

} // namespace

double fractalNoise(double x, double y, double z, int octaves, unsigned seed) {
    return sumOctaves(x, y, z, octaves, seed, [](double n) { return n; });
}

double ridgedNoise(double x, double y, double z, int octaves, unsigned seed) {
    return sumOctaves(x, y, z, octaves, seed, [](double n) { return 1.0 - std::fabs(n); });
}

} // namespace korvath::generator
