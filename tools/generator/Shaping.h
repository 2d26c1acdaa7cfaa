// Small shaping functions shared by the mesh and image painters.
#pragma once

#include <algorithm>

namespace korvath::generator {

constexpr double pi = 3.14159265358979323846;

inline double clamp01(double x) {
    return std::clamp(x, 0.0, 1.0);
}

// 0 below edge0, 1 above edge1, a smooth S-curve between (either order).
inline double smoothstep(double edge0, double edge1, double x) {
    const double t = clamp01((x - edge0) / (edge1 - edge0));
    return t * t * (3.0 - 2.0 * t);
}

inline double mix(double a, double b, double t) {
    return a + (b - a) * t;
}

} // namespace korvath::generator
