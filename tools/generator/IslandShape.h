// The volcanic island's surface as a height field over the ocean plane, and the
// texture mapping shared by its mesh and its painted texture.
#pragma once

namespace korvath::generator {

// The crater sits over (-7, 0): the lava fountain leaves it at height 60.
constexpr double craterX = -7.0;
constexpr double craterZ = 0.0;
// The rim ring lies this far from the axis, at about height 58.
constexpr double craterRadius = 10.0;

// Height above the ocean's rest level at (x, z); positive on land.
double islandHeight(double x, double z);

// Distance from the crater axis to the waterline in the direction angle
// (radians about the axis, measured from +x towards +z).
double shoreRadius(double angle);

// Radius of the mesh's outer ring in that direction, well under the waves.
double seaFloorRadius(double angle);

// Texture coordinates of a point: polar about the crater axis, with the radius
// compressed so the texels crowd on the cone where the camera comes close.
void islandTexCoord(double x, double z, double& u, double& v);
// The point that islandTexCoord maps to (u, v).
void islandPointAt(double u, double v, double& x, double& z);

} // namespace korvath::generator
