// A real OpenGL context for tests: one hidden-in-Xvfb 800x600 freeglut window per
// process, with GLEW and the image library started, as the program has them.
#pragma once

#include <GL/glew.h>

#include <cstdint>
#include <vector>

namespace korvath::test {

// Creates the window and context on first use; later calls do nothing.
void ensureGlContext();

// The RGB bytes of the back buffer's 800x600 area, bottom row first.
std::vector<std::uint8_t> readBackBuffer();

struct Rgb {
    int r, g, b;
};
// The colour at window coordinates (x to the right, y upwards from the bottom).
Rgb pixelAt(const std::vector<std::uint8_t>& pixels, int x, int y);

} // namespace korvath::test
