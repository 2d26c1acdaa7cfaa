// What the ocean's GL tests share: the shading context made the way start-up
// makes it, the start-up camera, one frame of the ocean, and PNG screenshots.
#pragma once

#include "math/Vector.h"
#include "ocean/Ocean.h"
#include "shading/ShaderContext.h"

#include <cstdint>
#include <string>
#include <vector>

namespace korvath::test {

// The GL context (see GlTestContext.h) and one shading context with the latest
// profiles. A shading error prints the runtime's listing and aborts.
const ShaderContext& oceanShaderContext();

// The volcano scene's ocean: 800 x 800 with its three waves.
void addSceneWaves(Ocean& ocean);

// The camera's start tilt about x, degrees: it looks down on the sea, whose
// horizon lies above the window. A level camera shows the sky behind the sea.
constexpr float startTilt = 30.0f;
constexpr float levelTilt = 0.0f;

// Loads the start-up projection and look-at times the camera's start view
// (with the given tilt) and returns the world point under that view alone, as
// the frame driver turns the scene's light into the ocean's light position.
Vector3 placeCamera(float tiltDegrees, Vector3 worldPoint);

// Clears to the sky colour, draws the ocean at time with the depth test on.
void drawFrame(Ocean& ocean, float time, Vector3 lightPosition);

// Saves 800x600 RGB bytes (bottom row first) as a PNG file.
void savePng(const std::string& path, const std::vector<std::uint8_t>& pixels);

} // namespace korvath::test
