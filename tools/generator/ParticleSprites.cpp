// Painting the three particle sprites on a black background.
#include "generator/ParticleSprites.h"

#include "generator/Noise.h"
#include "generator/Shaping.h"

#include <cmath>
#include <functional>

namespace korvath::generator {

namespace {

constexpr unsigned lavaSeed = 201;
constexpr unsigned ashSeed = 211;
constexpr unsigned stoneSeed = 223;
// Rock outline: this many corners at jittered radii.
constexpr int stoneCorners = 7;

// Paints each texel from its offset to the centre, in units of half the sprite
// (so the inscribed circle has radius 1).
Image paintSprite(const std::function<Colour(double dx, double dy)>& paint) {
    Image image(spriteSize, spriteSize);
    for (int y = 0; y < spriteSize; ++y) {
        for (int x = 0; x < spriteSize; ++x) {
            const double dx = (x + 0.5) / (spriteSize / 2.0) - 1.0;
            const double dy = (y + 0.5) / (spriteSize / 2.0) - 1.0;
            image.set(x, y, paint(dx, dy));
        }
    }
    return image;
}

// Radius of the rock's outline in a direction: straight edges between
// corners at fixed jittered radii.
double stoneOutline(double angle) {
    const double sector = 2.0 * pi / stoneCorners;
    const double wrapped = angle < 0.0 ? angle + 2.0 * pi : angle;
    const int corner = static_cast<int>(wrapped / sector) % stoneCorners;
    const auto cornerAt = [&](int i, double& x, double& y) {
        const double jitter = latticeValue(i % stoneCorners, 0, 0, stoneSeed);
        const double a = (i + 0.3 * latticeValue(i % stoneCorners, 1, 0, stoneSeed)) * sector;
        const double r = 0.72 + 0.16 * jitter;
        x = r * std::cos(a);
        y = r * std::sin(a);
    };
    double x0, y0, x1, y1;
    cornerAt(corner, x0, y0);
    cornerAt(corner + 1, x1, y1);
    // Where the ray at this angle meets the edge between the two corners.
    const double dx = std::cos(angle);
    const double dy = std::sin(angle);
    const double ex = x1 - x0;
    const double ey = y1 - y0;
    const double denominator = dx * ey - dy * ex;
    return std::fabs(denominator) < 1e-9 ? std::hypot(x0, y0) : (x0 * ey - y0 * ex) / denominator;
}

} // namespace

Image lavaSprite() {
    return paintSprite([](double dx, double dy) {
        const double r = std::sqrt(dx * dx + dy * dy);
        const double angle = std::atan2(dy, dx);
        // A lumpy edge between radius 0.7 and 0.9.
        const double edge = 0.8 + 0.1 * fractalNoise(std::cos(angle) * 2.0, std::sin(angle) * 2.0,
                                                     0.0, 2, lavaSeed);
        const double heat = smoothstep(edge, 0.0, r) *
                            (0.85 + 0.15 * fractalNoise(dx * 4.0, dy * 4.0, 1.0, 2, lavaSeed + 5));
        Colour colour =
            mix(Colour{0.45, 0.03, 0.0}, Colour{1.0, 0.45, 0.05}, smoothstep(0.15, 0.55, heat));
        colour = mix(colour, Colour{1.0, 0.95, 0.65}, smoothstep(0.6, 0.95, heat));
        return colour * smoothstep(0.0, 0.25, heat);
    });
}

Image ashSprite() {
    return paintSprite([](double dx, double dy) {
        const double r = std::sqrt(dx * dx + dy * dy);
        // Billows: the density thins out by noise before the edge is reached.
        const double billow = fractalNoise(dx * 2.5, dy * 2.5, 3.0, 4, ashSeed);
        // The envelope keeps the billows inside the inscribed circle.
        const double density = smoothstep(0.95, 0.25, r + 0.25 * billow) * smoothstep(0.98, 0.8, r);
        const double shade = 0.55 + 0.25 * smoothstep(-0.5, 0.5, billow - 0.4 * dy);
        return Colour{0.95, 0.93, 0.90} * (shade * density);
    });
}

Image stoneSprite() {
    return paintSprite([](double dx, double dy) {
        const double r = std::sqrt(dx * dx + dy * dy);
        const double outline = stoneOutline(std::atan2(dy, dx));
        // Antialiased edge about one texel wide (1/32 of the half size).
        const double inside = smoothstep(outline + 0.03, outline - 0.03, r);
        // Faceted shading: brighter towards the upper left, cracks and grain.
        const double facet = 0.75 - 0.14 * (dx + dy); // row 0 is the top of a point sprite
        const double grain = fractalNoise(dx * 6.0, dy * 6.0, 2.0, 3, stoneSeed + 3);
        const double crack = smoothstep(
            0.06, 0.0, std::fabs(fractalNoise(dx * 2.0, dy * 2.0, 5.0, 2, stoneSeed + 7)));
        const double grey = clamp01(facet + 0.12 * grain - 0.35 * crack);
        return Colour{0.62, 0.58, 0.55} * (grey * inside);
    });
}

} // namespace korvath::generator
