// The shadow scene's fixed geometry as plain functions: the bias matrix into the
// shadow map's texture range and the circling aircraft's placement at a time.
#pragma once

#include "math/Matrix4.h"
#include "math/Vector.h"

namespace korvath {

// Scales by 0.5 and translates by (0.5, 0.5, 0.5): the light's clip cube -1..1
// becomes the texture range 0..1. Built once, on first use.
const Matrix4& shadowBiasMatrix();

// Heading of the aircraft about the y axis, degrees: t * 180 / 3.14. The 3.14
// (not pi) makes the heading gain about 0.029 degrees per second on the angle
// of its position on the circle.
float aircraftHeadingDegrees(float t);

// Model-to-world matrix of the aircraft at scene time t (seconds): a circle of
// radius 4 at height 6 about the y axis, starting at (0, 6, 4), turned by its
// heading and stood up from the model's z-up axes.
Matrix4 aircraftPlacement(float t);

// The aircraft's centre (its model origin) in world coordinates at time t.
Vector3 aircraftPosition(float t);

// A world point in the aircraft's model coordinates at time t: the inverse of
// aircraftPlacement, used to hand the light to the shading program in the
// coordinates the aircraft's vertices and normals are given in.
Vector3 toAircraftCoordinates(float t, const Vector3& worldPoint);

} // namespace korvath
