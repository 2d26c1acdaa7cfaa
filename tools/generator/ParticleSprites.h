// Point-sprite images for the volcano's particles. The particle fragment
// programs take a texel's brightness as its coverage, so each shape is drawn in
// colour on pure black and fades to black at its edges.
#pragma once

#include "generator/Image.h"

namespace korvath::generator {

constexpr int spriteSize = 64;

// A glowing lava blob: white-yellow core, orange, deep red rim.
Image lavaSprite();
// A soft, billowing grey smoke puff.
Image ashSprite();
// A dark, angular rock fragment in greys, shaded as if lit from the upper left.
Image stoneSprite();

} // namespace korvath::generator
