// Height field of the volcanic island: a stratovolcano cone with a crater,
// lowland hills, a beach and a sea floor, roughened by deterministic noise.
#include "generator/IslandShape.h"

#include "generator/Noise.h"
#include "generator/Shaping.h"

#include <cmath>

namespace korvath::generator {

namespace {

constexpr double craterDepth = 9.0;
// Two exponential falls from the rim: a steep upper cone (about 60 degrees below
// the rim) flattening into a long foot, as stratovolcanoes do.
constexpr double upperConeHeight = 40.0;
constexpr double upperConeFall = 20.0;
constexpr double footHeight = 12.5;
constexpr double footFall = 60.0;
// Lowland dome under the cone: its rise over the shore plus the cone's rim
// height put the rim at about 58.
constexpr double lowlandHeight = 5.5;
constexpr double seaFloorDrop = 12.0;
constexpr double meanShoreRadius = 100.0;
// Beyond the shore the mesh reaches out to where the floor is ~15 under water.
constexpr double seaFloorReach = 1.6;
// Texture mapping: radius covered by the unit disc, and the power that
// compresses it (below 1: more texels near the axis).
constexpr double textureRadius = 205.0;
constexpr double textureRadiusPower = 0.7;

constexpr unsigned gullySeed = 11;
constexpr unsigned rockSeed = 23;
constexpr unsigned hillSeed = 37;
constexpr unsigned rimSeed = 41;
constexpr unsigned lumpSeed = 43;

double coneProfile(double r) {
    const double beyondRim = std::max(r - craterRadius, 0.0);
    return upperConeHeight * std::exp(-beyondRim / upperConeFall) +
           footHeight * std::exp(-beyondRim / footFall);
}

} // namespace

double shoreRadius(double angle) {
    // A few fixed harmonics give an irregular but closed coastline.
    return meanShoreRadius *
           (1.0 + 0.13 * std::sin(2.0 * angle + 0.7) + 0.08 * std::sin(3.0 * angle + 2.1) +
            0.05 * std::sin(5.0 * angle + 4.0));
}

double seaFloorRadius(double angle) {
    return seaFloorReach * shoreRadius(angle);
}

double islandHeight(double x, double z) {
    const double dx = x - craterX;
    const double dz = z - craterZ;
    const double r = std::sqrt(dx * dx + dz * dz);
    const double angle = std::atan2(dz, dx);
    const double s = r / shoreRadius(angle);

    const double taper = 1.0 - smoothstep(0.55, 1.0, s);
    double height = lowlandHeight * (1.0 - s * s) - seaFloorDrop * smoothstep(1.05, 1.5, s);
    if (r >= craterRadius) {
        height += coneProfile(r) * taper;
    } else {
        const double rim = coneProfile(craterRadius) * taper;
        const double t = r / craterRadius;
        height += rim - craterDepth * (1.0 - t * t);
    }

    // Gullies running down the cone: noise that changes fast around the axis
    // and slowly along it.
    const double onCone =
        smoothstep(80.0, 25.0, r) * smoothstep(craterRadius - 1.0, craterRadius + 5.0, r);
    // The gullies meander a little instead of running straight down.
    const double meander = angle + 0.08 * fractalNoise(x * 0.03, z * 0.03, 2.5, 2, gullySeed + 9);
    const double gully =
        ridgedNoise(std::cos(meander) * 9.0, std::sin(meander) * 9.0, r * 0.035, 3, gullySeed);
    const double gullyDepth = 3.0 + 1.5 * fractalNoise(x * 0.05, z * 0.05, 6.6, 2, gullySeed + 5);
    height += onCone * gullyDepth * (gully - 0.6) * std::min(r / 25.0, 1.0);

    // A ragged rim and lumpy flanks break the cone's outline.
    const double nearTop = smoothstep(45.0, craterRadius, r);
    height +=
        3.0 * nearTop * fractalNoise(std::cos(angle) * 1.5, std::sin(angle) * 1.5, 9.1, 3, rimSeed);
    height += 3.5 * onCone * fractalNoise(x * 0.04, z * 0.04, 4.4, 3, lumpSeed);

    // Rock roughness, stronger higher up; rolling hills on the lowland.
    const double roughness = 0.35 + 1.5 * smoothstep(3.0, 40.0, height);
    height += roughness * fractalNoise(x * 0.08, z * 0.08, 0.5, 5, rockSeed);
    height += 2.5 * smoothstep(0.95, 0.6, s) * smoothstep(25.0, 50.0, r) *
              fractalNoise(x * 0.03, z * 0.03, 1.7, 3, hillSeed);
    return height;
}

void islandTexCoord(double x, double z, double& u, double& v) {
    const double dx = x - craterX;
    const double dz = z - craterZ;
    const double r = std::sqrt(dx * dx + dz * dz);
    if (r == 0.0) {
        u = 0.5;
        v = 0.5;
        return;
    }
    const double scaled = std::pow(r / textureRadius, textureRadiusPower) / r;
    u = 0.5 + 0.5 * dx * scaled;
    v = 0.5 + 0.5 * dz * scaled;
}

void islandPointAt(double u, double v, double& x, double& z) {
    const double du = 2.0 * u - 1.0;
    const double dv = 2.0 * v - 1.0;
    const double w = std::sqrt(du * du + dv * dv);
    if (w == 0.0) {
        x = craterX;
        z = craterZ;
        return;
    }
    const double r = textureRadius * std::pow(w, 1.0 / textureRadiusPower);
    x = craterX + du / w * r;
    z = craterZ + dv / w * r;
}

} // namespace korvath::generator
