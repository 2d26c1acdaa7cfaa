// The aircraft as lofted parts (fuselage, canopy, wings, tail, spinner,
// propeller), each a closed hull, and the painted atlas they map into.
#include "generator/AircraftModel.h"

#include "generator/MeshBuilding.h"
#include "generator/Shaping.h"

#include <cmath>
#include <functional>
#include <vector>

namespace korvath::generator {

namespace {

constexpr int textureSize = 256;

// Atlas quarters, as u and v ranges.
struct Region {
    double u0, v0;
};
constexpr Region fuselageRegion{0.0, 0.0};
constexpr Region surfaceRegion{0.5, 0.0};
constexpr Region canopyRegion{0.0, 0.5};
constexpr Region propellerRegion{0.5, 0.5};
constexpr double regionSize = 0.5;

constexpr double noseY = -0.70; // the firewall behind the spinner
constexpr double tailY = 0.62;
constexpr double halfSpan = 0.76;
// Planform range the wing and tail surfaces map into their atlas quarter.
constexpr double planformX = 0.8;
constexpr double planformFrontY = -0.35;
constexpr double planformBackY = 0.70;

using Ring = std::vector<Vector3>;
// Texture coordinates in 0..1 within a part's region, from a point, how far
// along the part it lies and how far around its ring.
using PartMapping =
    std::function<void(const Vector3& point, double along, double around, double& s, double& t)>;

Vector3 centroid(const Ring& ring) {
    double x = 0.0, y = 0.0, z = 0.0;
    for (const Vector3& p : ring) {
        x += p.x;
        y += p.y;
        z += p.z;
    }
    const double n = static_cast<double>(ring.size());
    return Vector3(static_cast<float>(x / n), static_cast<float>(y / n), static_cast<float>(z / n));
}

Vector3 midpoint(const Vector3& p, const Vector3& q) {
    return Vector3((p.x + q.x) * 0.5f, (p.y + q.y) * 0.5f, (p.z + q.z) * 0.5f);
}

// A closed hull through the rings (all with the same number of points), capped
// at both ends by a fan around the end ring's centre.
void addLoft(ThreeDsMesh& mesh, const std::vector<Ring>& rings, const Region& region,
             const PartMapping& mapping) {
    const auto vertexAt = [&](const Vector3& p, double along, double around) {
        double s = 0.0, t = 0.0;
        mapping(p, along, around, s, t);
        return addVertex(mesh, p, region.u0 + regionSize * clamp01(s),
                         region.v0 + regionSize * clamp01(t));
    };
    const size_t points = rings.front().size();
    std::vector<std::vector<std::uint16_t>> indices;
    for (size_t k = 0; k < rings.size(); ++k) {
        const double along = static_cast<double>(k) / (rings.size() - 1);
        std::vector<std::uint16_t> ringIndices;
        // The first point again at the end carries the texture seam.
        for (size_t i = 0; i <= points; ++i) {
            ringIndices.push_back(
                vertexAt(rings[k][i % points], along, static_cast<double>(i) / points));
        }
        indices.push_back(ringIndices);
    }
    for (size_t k = 0; k + 1 < rings.size(); ++k) {
        const Vector3 inside = midpoint(centroid(rings[k]), centroid(rings[k + 1]));
        for (size_t i = 0; i < points; ++i) {
            addOutward(mesh, indices[k][i], indices[k][i + 1], indices[k + 1][i + 1], inside);
            addOutward(mesh, indices[k][i], indices[k + 1][i + 1], indices[k + 1][i], inside);
        }
    }
    const size_t last = rings.size() - 1;
    const std::pair<size_t, size_t> caps[] = {{0, 1}, {last, last - 1}};
    for (const auto& [end, neighbour] : caps) {
        const Vector3 inside = centroid(rings[neighbour]);
        const std::uint16_t centre = vertexAt(centroid(rings[end]), end == 0 ? 0.0 : 1.0, 0.5);
        for (size_t i = 0; i < points; ++i) {
            addOutward(mesh, centre, indices[end][i], indices[end][i + 1], inside);
        }
    }
}

// An elliptic ring across the y axis, starting on top and running towards +x.
Ring ellipse(double y, double halfWidth, double halfHeight, double centreZ, int points,
             double fromAngle = 0.0, double toAngle = 2.0 * pi) {
    Ring ring;
    const bool closedCircle = toAngle - fromAngle >= 2.0 * pi;
    const int steps = closedCircle ? points : points - 1;
    for (int i = 0; i < points; ++i) {
        const double angle = fromAngle + (toAngle - fromAngle) * i / steps;
        ring.push_back(Vector3(static_cast<float>(halfWidth * std::sin(angle)),
                               static_cast<float>(y),
                               static_cast<float>(centreZ + halfHeight * std::cos(angle))));
    }
    return ring;
}

// A thin diamond airfoil at span position x: leading edge, upper crest at 30%
// of the chord, trailing edge, lower crest.
Ring airfoil(double x, double leadY, double chord, double thickness, double z) {
    const double crestY = leadY + 0.3 * chord;
    return {Vector3(float(x), float(leadY), float(z)),
            Vector3(float(x), float(crestY), float(z + thickness * 0.5)),
            Vector3(float(x), float(leadY + chord), float(z)),
            Vector3(float(x), float(crestY), float(z - thickness * 0.5))};
}

// The same airfoil standing upright (span along z), for the fin.
Ring uprightAirfoil(double z, double leadY, double chord, double thickness) {
    Ring ring = airfoil(0.0, leadY, chord, thickness, 0.0);
    for (Vector3& p : ring) {
        p = Vector3(p.z, p.y, static_cast<float>(z));
    }
    return ring;
}

void planformMapping(const Vector3& p, double, double, double& s, double& t) {
    s = (p.x + planformX) / (2.0 * planformX);
    t = (p.y - planformFrontY) / (planformBackY - planformFrontY);
}

void addFuselage(ThreeDsMesh& mesh) {
    struct Station {
        double y, halfWidth, halfHeight, centreZ;
    };
    const Station stations[] = {
        {noseY, 0.055, 0.055, 0.0},   {-0.60, 0.085, 0.090, 0.0},   {-0.45, 0.095, 0.105, 0.01},
        {-0.25, 0.095, 0.110, 0.015}, {-0.05, 0.090, 0.100, 0.015}, {0.15, 0.075, 0.080, 0.02},
        {0.35, 0.055, 0.060, 0.03},   {0.50, 0.038, 0.045, 0.04},   {tailY, 0.020, 0.030, 0.05},
    };
    std::vector<Ring> rings;
    for (const Station& s : stations) {
        rings.push_back(ellipse(s.y, s.halfWidth, s.halfHeight, s.centreZ, 10));
    }
    addLoft(mesh, rings, fuselageRegion,
            [](const Vector3& p, double, double around, double& s, double& t) {
                s = (p.y - noseY) / (tailY - noseY);
                t = around;
            });
}

void addCanopy(ThreeDsMesh& mesh) {
    struct Station {
        double y, halfWidth, height;
    };
    const Station stations[] = {
        {-0.27, 0.02, 0.02},  {-0.21, 0.05, 0.06}, {-0.11, 0.06, 0.075},
        {-0.01, 0.05, 0.055}, {0.07, 0.02, 0.02},
    };
    std::vector<Ring> rings;
    for (const Station& s : stations) {
        rings.push_back(ellipse(s.y, s.halfWidth, s.height, 0.10, 7, -pi / 2.0, pi / 2.0));
    }
    addLoft(mesh, rings, canopyRegion,
            [](const Vector3&, double along, double around, double& s, double& t) {
                s = along;
                t = around;
            });
}

void addWings(ThreeDsMesh& mesh) {
    // Low wing with a little dihedral, tapering towards the tips.
    addLoft(mesh,
            {airfoil(-halfSpan, -0.24, 0.18, 0.025, 0.01), airfoil(0.0, -0.30, 0.30, 0.045, -0.05),
             airfoil(halfSpan, -0.24, 0.18, 0.025, 0.01)},
            surfaceRegion, planformMapping);
    addLoft(mesh,
            {airfoil(-0.28, 0.53, 0.09, 0.015, 0.05), airfoil(0.0, 0.47, 0.15, 0.022, 0.05),
             airfoil(0.28, 0.53, 0.09, 0.015, 0.05)},
            surfaceRegion, planformMapping);
    // Swept fin on top of the tail.
    addLoft(mesh,
            {uprightAirfoil(0.04, 0.40, 0.23, 0.022), uprightAirfoil(0.32, 0.56, 0.10, 0.014)},
            surfaceRegion, [](const Vector3& p, double, double, double& s, double& t) {
                s = (p.z + planformX) / (2.0 * planformX);
                t = (p.y - planformFrontY) / (planformBackY - planformFrontY);
            });
}

void addPropeller(ThreeDsMesh& mesh) {
    const PartMapping alongAround = [](const Vector3&, double along, double around, double& s,
                                       double& t) {
        s = around;
        t = along;
    };
    // The spinner maps into the dark middle of the blade paint.
    addLoft(mesh,
            {ellipse(noseY + 0.005, 0.05, 0.05, 0.0, 10), ellipse(-0.77, 0.03, 0.03, 0.0, 10),
             ellipse(-0.80, 0.006, 0.006, 0.0, 10)},
            propellerRegion, [](const Vector3&, double along, double around, double& s, double& t) {
                s = around;
                t = 0.4 + 0.2 * along;
            });
    // Two blades in one piece, turned 25 degrees from upright.
    const double turn = 25.0 * pi / 180.0;
    std::vector<Ring> blade;
    for (const double along : {-0.28, 0.28}) {
        Ring ring;
        for (const auto& [across, y] :
             {std::pair{-0.025, -0.745}, {0.025, -0.745}, {0.025, -0.725}, {-0.025, -0.725}}) {
            ring.push_back(
                Vector3(static_cast<float>(across * std::cos(turn) + along * std::sin(turn)),
                        static_cast<float>(y),
                        static_cast<float>(-across * std::sin(turn) + along * std::cos(turn))));
        }
        blade.push_back(ring);
    }
    addLoft(mesh, blade, propellerRegion, alongAround);
}

// Cream top, red belly, a blue cheat line between them, panel seams.
Colour fuselagePaint(double along, double around) {
    const double fromTop = std::fabs(around - 0.5) * 2.0; // 1 on top, 0 underneath
    Colour colour =
        mix(Colour{0.78, 0.12, 0.10}, Colour{0.93, 0.91, 0.85}, smoothstep(0.42, 0.46, fromTop));
    const double line = smoothstep(0.05, 0.02, std::fabs(fromTop - 0.50));
    colour = mix(colour, Colour{0.10, 0.16, 0.45}, line);
    if (along < 0.12) {
        colour = Colour{0.78, 0.12, 0.10}; // the engine cowling
    }
    const double seam = std::fabs(std::fmod(along * 10.0, 1.0) - 0.5);
    return colour * (seam > 0.47 ? 0.75 : 1.0);
}

// Red surfaces with white tips and a roundel on each wing.
Colour surfacePaint(double s, double t) {
    const double x = s * 2.0 * planformX - planformX;
    const double y = planformFrontY + t * (planformBackY - planformFrontY);
    Colour colour{0.80, 0.13, 0.10};
    if (std::fabs(x) > 0.62) {
        colour = {0.93, 0.91, 0.85};
    }
    const double dx = std::fabs(x) - 0.46;
    const double dy = y + 0.17;
    const double r = std::sqrt(dx * dx + dy * dy);
    if (r < 0.085) {
        colour = r < 0.03   ? Colour{0.80, 0.13, 0.10}
                 : r < 0.06 ? Colour{0.93, 0.91, 0.85}
                            : Colour{0.10, 0.16, 0.45};
    }
    return colour;
}

// Tinted glass with a highlight and frame bars.
Colour canopyPaint(double along, double around) {
    Colour colour = mix(Colour{0.10, 0.15, 0.24}, Colour{0.35, 0.45, 0.58},
                        smoothstep(0.25, 0.5, around) * smoothstep(0.75, 0.5, around));
    const double bar = std::fabs(std::fmod(along * 4.0 + 0.5, 1.0) - 0.5);
    return bar < 0.06 ? Colour{0.15, 0.15, 0.16} : colour;
}

// Black-grey blades and spinner with yellow tips.
Colour propellerPaint(double, double along) {
    const double fromHub = std::fabs(along - 0.5) * 2.0;
    return fromHub > 0.85 ? Colour{0.95, 0.80, 0.10} : Colour{0.17, 0.17, 0.18};
}

} // namespace

ThreeDsMesh aircraftMesh() {
    ThreeDsMesh mesh;
    mesh.name = "flieger";
    addFuselage(mesh);
    addCanopy(mesh);
    addWings(mesh);
    addPropeller(mesh);
    return mesh;
}

Image aircraftTexture() {
    Image image(textureSize, textureSize);
    const int half = textureSize / 2;
    for (int y = 0; y < textureSize; ++y) {
        for (int x = 0; x < textureSize; ++x) {
            const double s = ((x % half) + 0.5) / half;
            const double t = ((y % half) + 0.5) / half;
            const bool right = x >= half;
            const bool upper = y >= half;
            const Colour colour = !upper ? (right ? surfacePaint(s, t) : fuselagePaint(s, t))
                                         : (right ? propellerPaint(s, t) : canopyPaint(s, t));
            image.set(x, y, colour);
        }
    }
    return image;
}

} // namespace korvath::generator
