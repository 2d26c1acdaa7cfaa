// The volcano scene's terrain: the island mesh and its painted texture.
#pragma once

#include "ThreeDsWriter.h"
#include "generator/Image.h"

namespace korvath::generator {

// A polar grid about the crater axis: dense rings on the cone, wide ones out to
// the sea floor, ending where the floor lies deeper than any trough; about
// 1700 vertices and 3300 triangles.
ThreeDsMesh islandMesh();

// Rock and ash high up, vegetation and sand low down by height and slope, with
// the light of the volcano scene's sun baked in (the terrain is drawn unlit).
Image islandTexture();

} // namespace korvath::generator
