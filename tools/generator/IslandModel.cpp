// The island mesh (a polar grid over the height field) and its painted texture.
#include "generator/IslandModel.h"

#include "generator/IslandShape.h"
#include "generator/MeshBuilding.h"
#include "generator/Noise.h"
#include "generator/Shaping.h"

#include <cmath>
#include <vector>

namespace korvath::generator {

namespace {

// 64 directions and up to 30 rings, of which about 26 lie above the always
// submerged sea floor: about 3300 triangles, within the frame budget of a
// software renderer, and about 1 unit between vertices on the crater rim.
constexpr int segments = 64;
constexpr int craterRings = 3;
constexpr int outerRings = 27;
// Above 1: the rings crowd on the cone and thin out over the sea floor.
constexpr double ringSpacingPower = 1.6;
// The waves' troughs reach 3.8 under the rest level (their amplitudes added);
// ground 2 units deeper always lies under the opaque sea, seen from above it.
// Rings beyond the first that lies wholly this deep would only cost fill.
constexpr double alwaysSubmerged = -5.8;

constexpr int textureSize = 1024;
// Step of the finite differences that give the painted surface its slope.
constexpr double slopeStep = 0.4;
// The volcano scene's sun, in world coordinates.
constexpr double sunX = 125.0;
constexpr double sunY = 250.0;
constexpr double sunZ = 68.0;

constexpr unsigned patchSeed = 51;
constexpr unsigned streakSeed = 79;

double ringRadius(int ring, double angle) {
    if (ring <= craterRings) {
        return craterRadius * ring / craterRings;
    }
    const double t = static_cast<double>(ring - craterRings) / outerRings;
    return craterRadius + (seaFloorRadius(angle) - craterRadius) * std::pow(t, ringSpacingPower);
}

std::uint16_t addSurfaceVertex(ThreeDsMesh& mesh, double x, double z) {
    double u = 0.0;
    double v = 0.0;
    islandTexCoord(x, z, u, v);
    const Vector3 position(static_cast<float>(x), static_cast<float>(islandHeight(x, z)),
                           static_cast<float>(z));
    return addVertex(mesh, position, u, v);
}

struct GroundSample {
    double x, z, height;
    double slope;         // length of the height gradient: 1 is 45 degrees
    double nx, ny, nz;    // unit surface normal
    double radius, angle; // about the crater axis
};

GroundSample sampleGround(double x, double z) {
    GroundSample s{};
    s.x = x;
    s.z = z;
    s.height = islandHeight(x, z);
    const double gx = (islandHeight(x + slopeStep, z) - s.height) / slopeStep;
    const double gz = (islandHeight(x, z + slopeStep) - s.height) / slopeStep;
    s.slope = std::sqrt(gx * gx + gz * gz);
    const double length = std::sqrt(gx * gx + 1.0 + gz * gz);
    s.nx = -gx / length;
    s.ny = 1.0 / length;
    s.nz = -gz / length;
    s.radius = std::sqrt((x - craterX) * (x - craterX) + (z - craterZ) * (z - craterZ));
    s.angle = std::atan2(z - craterZ, x - craterX);
    return s;
}

// The ground's own colour, before lighting.
Colour groundColour(const GroundSample& s) {
    const Colour wetSand{0.50, 0.45, 0.35};
    const Colour sand{0.84, 0.77, 0.58};
    const Colour seaBed{0.30, 0.36, 0.30};
    const Colour meadow{0.34, 0.50, 0.19};
    const Colour forest{0.13, 0.29, 0.10};
    const Colour dryGrass{0.48, 0.44, 0.26};
    const Colour brownRock{0.40, 0.34, 0.28};
    const Colour ash{0.31, 0.30, 0.29};
    const Colour darkRock{0.16, 0.15, 0.15};
    const Colour rust{0.36, 0.22, 0.15};
    const Colour paleAsh{0.45, 0.43, 0.40};
    const Colour craterGlow{0.62, 0.18, 0.04};

    const double patch = fractalNoise(s.x * 0.06, s.z * 0.06, 3.1, 4, patchSeed);
    const double fine = fractalNoise(s.x * 0.5, s.z * 0.5, 7.3, 3, patchSeed + 10);
    const double h = s.height + 4.0 * patch;

    // Sand at the waterline, darker where it is wet, weed-coloured further down.
    Colour colour = mix(sand, wetSand, smoothstep(0.8, -0.8, s.height));
    colour = mix(colour, seaBed, smoothstep(-2.0, -8.0, s.height));

    // Vegetation above the beach on gentle slopes, drying out higher up.
    const double vegetation = smoothstep(0.9, 2.0, s.height + 0.8 * fine) *
                              smoothstep(0.75, 0.4, s.slope) * smoothstep(33.0, 22.0, h);
    Colour plants = mix(meadow, forest, smoothstep(-0.3, 0.4, patch + 0.3 * fine));
    plants = mix(plants, dryGrass, smoothstep(12.0, 27.0, h + 6.0 * fine));
    colour = mix(colour, plants, vegetation);

    // Bare rock where it is too steep for plants, below the ash line.
    const double bare = smoothstep(0.45, 0.9, s.slope) * smoothstep(1.0, 4.0, s.height) *
                        (1.0 - smoothstep(22.0, 34.0, h));
    colour = mix(colour, brownRock * (0.85 + 0.3 * fine), bare);

    // Ash and dark rock on the upper cone, streaked down the slope.
    const double streak = ridgedNoise(std::cos(s.angle) * 14.0, std::sin(s.angle) * 14.0,
                                      s.radius * 0.05, 3, streakSeed);
    Colour upper = mix(darkRock, ash, smoothstep(0.55, 0.95, streak + 0.25 * fine));
    // Oxidised, rust-brown rock in patches near the summit, pale ash lower down.
    upper = mix(upper, rust * (0.85 + 0.3 * fine),
                smoothstep(0.1, 0.5, patch) * smoothstep(40.0, 52.0, s.height));
    upper = mix(upper, paleAsh * (0.9 + 0.2 * fine),
                smoothstep(0.2, 0.6, -patch) * smoothstep(50.0, 35.0, s.height));
    colour = mix(colour, upper, smoothstep(24.0, 36.0, h));

    // Dark walls inside the rim; the crater floor glows with the heat below it.
    colour = mix(colour, darkRock, smoothstep(craterRadius + 0.5, craterRadius - 1.5, s.radius));
    colour = mix(colour, craterGlow * (0.8 + 0.4 * fine),
                 smoothstep(craterRadius * 0.5, craterRadius * 0.2, s.radius + 1.5 * fine));
    return colour;
}

// Lambert light from the scene's sun plus a sky fill, so the shapes read even
// though the terrain is drawn without lighting.
double bakedLight(const GroundSample& s) {
    double lx = sunX - s.x;
    double ly = sunY - s.height;
    double lz = sunZ - s.z;
    const double length = std::sqrt(lx * lx + ly * ly + lz * lz);
    lx /= length;
    ly /= length;
    lz /= length;
    const double lambert = std::max(0.0, s.nx * lx + s.ny * ly + s.nz * lz);
    return 0.3 + 0.85 * lambert;
}

} // namespace

ThreeDsMesh islandMesh() {
    ThreeDsMesh mesh;
    mesh.name = "korvath";
    const std::uint16_t centre = addSurfaceVertex(mesh, craterX, craterZ);
    std::vector<std::vector<std::uint16_t>> rings;
    for (int ring = 1; ring <= craterRings + outerRings; ++ring) {
        std::vector<std::uint16_t> indices;
        bool submerged = true;
        for (int j = 0; j < segments; ++j) {
            const double angle = 2.0 * pi * j / segments;
            const double r = ringRadius(ring, angle);
            const double x = craterX + r * std::cos(angle);
            const double z = craterZ + r * std::sin(angle);
            submerged = submerged && islandHeight(x, z) < alwaysSubmerged;
            indices.push_back(addSurfaceVertex(mesh, x, z));
        }
        rings.push_back(indices);
        // Everything beyond lies lower still and is never seen: the first ring
        // wholly under the waves closes the mesh.
        if (submerged) {
            break;
        }
    }
    const Vector3 up(0.0f, 1.0f, 0.0f);
    for (int j = 0; j < segments; ++j) {
        addFacing(mesh, centre, rings[0][j], rings[0][(j + 1) % segments], up);
    }
    for (size_t ring = 0; ring + 1 < rings.size(); ++ring) {
        const std::vector<std::uint16_t>& inner = rings[ring];
        const std::vector<std::uint16_t>& outer = rings[ring + 1];
        for (int j = 0; j < segments; ++j) {
            const int next = (j + 1) % segments;
            // Alternating diagonals keep the grid from showing one direction.
            addQuadFacing(mesh, inner[j], inner[next], outer[next], outer[j], up,
                          (j + static_cast<int>(ring)) % 2 == 0);
        }
    }
    return mesh;
}

Image islandTexture() {
    Image image(textureSize, textureSize);
    for (int y = 0; y < textureSize; ++y) {
        for (int x = 0; x < textureSize; ++x) {
            double wx = 0.0;
            double wz = 0.0;
            islandPointAt((x + 0.5) / textureSize, (y + 0.5) / textureSize, wx, wz);
            const GroundSample sample = sampleGround(wx, wz);
            image.set(x, y, groundColour(sample) * bakedLight(sample));
        }
    }
    return image;
}

} // namespace korvath::generator
