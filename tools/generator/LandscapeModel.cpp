// The landscape height field, its grid mesh and its painted texture.
#include "generator/LandscapeModel.h"

#include "generator/MeshBuilding.h"
#include "generator/Noise.h"
#include "generator/Shaping.h"

#include <cmath>
#include <vector>

namespace korvath::generator {

namespace {

constexpr double halfExtent = 20.0;
constexpr int cells = 35;
constexpr int textureSize = 1024;
constexpr double slopeStep = 0.1;
constexpr double fieldLength = 3.4;
constexpr double fieldWidth = 2.5;

constexpr unsigned rollSeed = 101;
constexpr unsigned fieldSeed = 113;
constexpr unsigned grainSeed = 127;

struct Hill {
    double x, z, height, width;
};

// The aircraft's shadow (it circles at radius 4, height 6, lit from (0, 50, 50))
// runs round (0, -6.8) at radius 4.5: two low hills lie on that path. The view
// the scene opens with stands low, near (-13, 0.9, -12), and looks across the
// origin towards +x+z: the ground along that line stays low, and the taller
// hills stand beyond the origin and to the sides, where both that view and the
// one from (0, 10, 10) see them.
constexpr Hill hills[] = {
    {4.5, -7.5, 1.6, 2.2},   {-3.5, -9.5, 1.2, 2.0}, {9.0, 5.0, 2.8, 3.5},
    {3.0, 11.0, 2.2, 3.0},   {14.0, -2.0, 2.6, 3.5}, {10.0, -11.0, 3.5, 3.5},
    {-2.0, -17.0, 3.0, 4.0}, {-14.0, 6.0, 2.8, 4.0}, {4.0, 17.0, 1.8, 3.5},
};

double landscapeHeight(double x, double z) {
    // Gentle enough that the low opening view clears the ground everywhere.
    double height = 0.25 * fractalNoise(x * 0.12, z * 0.12, 0.3, 3, rollSeed);
    for (const Hill& hill : hills) {
        const double dx = x - hill.x;
        const double dz = z - hill.z;
        height += hill.height * std::exp(-(dx * dx + dz * dz) / (2.0 * hill.width * hill.width));
    }
    return height;
}

// The road's centre line crosses the ground from west to east.
double roadOffset(double x, double z) {
    return z - (4.0 + 2.5 * std::sin(0.22 * x + 0.5));
}

Colour fieldColour(double x, double z, double grain) {
    // Fields are cells of a grid turned by 20 degrees, each with a crop picked
    // by its lattice value; a few fit across the camera's view.
    const double turn = 0.35;
    const double fx = (x * std::cos(turn) + z * std::sin(turn)) / fieldLength;
    const double fz = (-x * std::sin(turn) + z * std::cos(turn)) / fieldWidth;
    const double cellX = std::floor(fx);
    const double cellZ = std::floor(fz);
    const double crop =
        latticeValue(static_cast<long>(cellX), static_cast<long>(cellZ), 0, fieldSeed);
    Colour colour;
    if (crop < -0.4) {
        colour = {0.42, 0.58, 0.22}; // meadow
    } else if (crop < 0.1) {
        colour = {0.27, 0.44, 0.15}; // pasture
    } else if (crop < 0.55) {
        colour = {0.74, 0.65, 0.33}; // wheat
    } else {
        // Ploughed earth with furrows along the field.
        const double furrow = 0.5 + 0.5 * std::sin((fx - cellX) * fieldLength * 2.0 * pi / 0.3);
        colour = mix(Colour{0.46, 0.34, 0.22}, Colour{0.34, 0.24, 0.15}, furrow);
    }
    colour = colour * (0.9 + 0.15 * grain);

    // Hedges along the field borders, a little ragged.
    const double toBorder = std::min({(fx - cellX) * fieldLength, (cellX + 1.0 - fx) * fieldLength,
                                      (fz - cellZ) * fieldWidth, (cellZ + 1.0 - fz) * fieldWidth});
    const double hedge = smoothstep(0.14, 0.06, toBorder + 0.04 * grain);
    return mix(colour, Colour{0.11, 0.24, 0.08}, hedge);
}

Colour landscapeColour(double x, double z) {
    const double height = landscapeHeight(x, z);
    const double gx = (landscapeHeight(x + slopeStep, z) - height) / slopeStep;
    const double gz = (landscapeHeight(x, z + slopeStep) - height) / slopeStep;
    const double slope = std::sqrt(gx * gx + gz * gz);
    const double grain = fractalNoise(x * 1.5, z * 1.5, 2.2, 4, grainSeed);
    const double patch = fractalNoise(x * 0.2, z * 0.2, 5.1, 3, grainSeed + 10);

    Colour colour = fieldColour(x, z, grain);
    // Rough grass and scrub on the hills, bare earth where they are steep.
    const Colour rough = mix(Colour{0.30, 0.46, 0.17}, Colour{0.18, 0.32, 0.11},
                             smoothstep(-0.2, 0.4, patch + 0.3 * grain));
    colour = mix(colour, rough, smoothstep(1.8, 2.6, height + 0.6 * patch));
    // Clumps of trees scattered over the hills and along some hedges.
    const double trees =
        smoothstep(0.25, 0.4, fractalNoise(x * 0.9, z * 0.9, 8.4, 3, grainSeed + 20)) *
        smoothstep(1.0, 2.2, height + 1.5 * patch);
    colour = mix(colour, Colour{0.09, 0.20, 0.07} * (0.85 + 0.3 * grain), trees);
    colour =
        mix(colour, Colour{0.45, 0.37, 0.26} * (0.9 + 0.2 * grain), smoothstep(0.7, 1.1, slope));

    const double road = smoothstep(0.45, 0.3, std::fabs(roadOffset(x, z)) + 0.05 * grain);
    return mix(colour, Colour{0.63, 0.55, 0.41} * (0.92 + 0.1 * grain), road);
}

} // namespace

ThreeDsMesh landscapeMesh() {
    ThreeDsMesh mesh;
    mesh.name = "landscape";
    const double step = 2.0 * halfExtent / cells;
    for (int j = 0; j <= cells; ++j) {
        for (int i = 0; i <= cells; ++i) {
            const double x = -halfExtent + i * step;
            const double z = -halfExtent + j * step;
            const Vector3 position(static_cast<float>(x), static_cast<float>(landscapeHeight(x, z)),
                                   static_cast<float>(z));
            addVertex(mesh, position, (x + halfExtent) / (2.0 * halfExtent),
                      (z + halfExtent) / (2.0 * halfExtent));
        }
    }
    const Vector3 up(0.0f, 1.0f, 0.0f);
    const auto at = [](int i, int j) { return static_cast<std::uint16_t>(j * (cells + 1) + i); };
    for (int j = 0; j < cells; ++j) {
        for (int i = 0; i < cells; ++i) {
            addQuadFacing(mesh, at(i, j), at(i + 1, j), at(i + 1, j + 1), at(i, j + 1), up,
                          (i + j) % 2 == 0);
        }
    }
    return mesh;
}

Image landscapeTexture() {
    Image image(textureSize, textureSize);
    for (int y = 0; y < textureSize; ++y) {
        for (int x = 0; x < textureSize; ++x) {
            const double wx = -halfExtent + 2.0 * halfExtent * (x + 0.5) / textureSize;
            const double wz = -halfExtent + 2.0 * halfExtent * (y + 0.5) / textureSize;
            image.set(x, y, landscapeColour(wx, wz));
        }
    }
    return image;
}

} // namespace korvath::generator
