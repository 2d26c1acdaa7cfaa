// What the particle GL tests share: the shading context made the way start-up
// makes it, test sprites written as BMP files, and PNG screenshots.
#pragma once

#include "shading/ShaderContext.h"

#include <cstdint>
#include <string>
#include <vector>

namespace korvath::test {

// The GL context (see GlTestContext.h) and one shading context with the latest
// profiles. A shading error prints the runtime's listing and aborts.
const ShaderContext& particleShaderContext();

// A private folder for the files a test writes.
const std::string& particleTestFolder();

// Writes a square 24-bit BMP of `size` pixels: white where `filled` holds for the
// pixel's centre (coordinates 0..1 across the image), black elsewhere.
std::string writeSpriteBmp(const std::string& name, int size, bool (*filled)(float, float));

// Saves 800x600 RGB bytes (bottom row first) as a PNG file.
void savePng(const std::string& path, const std::vector<std::uint8_t>& pixels);

} // namespace korvath::test
