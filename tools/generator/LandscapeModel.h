// The shadow scene's ground: rolling farmland with hills around the origin.
#pragma once

#include "ThreeDsWriter.h"
#include "generator/Image.h"

namespace korvath::generator {

// A 36 by 36 vertex grid over x, z in -20..20: 2450 triangles, drawn twice a
// frame (depth pass and camera pass).
ThreeDsMesh landscapeMesh();

// Fields, hedges, a dirt road and grassy hills; unlit, the scene lights it.
Image landscapeTexture();

} // namespace korvath::generator
