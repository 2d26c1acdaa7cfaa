// Test set-up for the shadow scene: the program's fixed GL state and shading
// context, a scene built the way key n builds it, and frames saved as PNG.
#pragma once

#include "math/Matrix4.h"
#include "scenes/ShadowScene.h"

#include <cstdint>
#include <string>
#include <vector>

namespace korvath::test {

// Window, GLEW, image library, the start-up GL state (sky clear colour, texturing,
// normalisation, depth test) and one shading context whose errors fail the test
// process loudly. Later calls return the same context.
const ShaderContext& shadowTestShaderContext();

// Construction, eye (0, 10, 10), light (0, 50, 50), computeMatrices, createShadowMap.
ShadowScene* buildSceneAsTheSwitchDoes();

// The camera values the switch sets, composed as the frame driver composes them:
// translate(3, -1.7, -3) * rotX(-39) * rotY(-237).
Matrix4 switchMouseView();

// Writes an 800x600 RGB read-back (bottom row first) as a PNG file.
void savePng(const std::vector<std::uint8_t>& pixels, const std::string& path);

} // namespace korvath::test
