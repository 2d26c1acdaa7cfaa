// The shadow scene's aircraft: a small propeller plane and its livery.
#pragma once

#include "ThreeDsWriter.h"
#include "generator/Image.h"

namespace korvath::generator {

// Modelled with +z up and the nose towards -y, 1.5 units span along x: the
// scene's placement (-90 degrees about x, then 90 and the heading about y) turns
// the nose into the direction of flight and +z into the world's up. Every part
// is closed, so the light's depth pass, which keeps back faces, sees it.
ThreeDsMesh aircraftMesh();

// Texture atlas: fuselage, wing and tail surfaces, canopy, propeller.
Image aircraftTexture();

} // namespace korvath::generator
