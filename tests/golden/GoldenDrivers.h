// The Mesa drivers the golden poses are drawn under, and how closely each must
// match the references (which llvmpipe as it comes renders). CTest runs the
// golden test once per driver, with the driver's Mesa variables and its name in
// KORVATH_GOLDEN_DRIVER (tests/golden/CMakeLists.txt).
#pragma once

#include <string>

namespace korvath::golden {

struct GoldenDriver {
    std::string name;           // as in KORVATH_GOLDEN_DRIVER and golden-actual/<name>/
    std::string rendererPrefix; // GL_RENDERER starts with it under this driver
    std::string versionPrefix;  // GL_VERSION starts with it; empty: any version
    double maxMeanChannelDifference;
    int maxVisiblyDifferentPixels;
    // GLEW reports GL_ARB_framebuffer_object, so the shadow map takes the ARB
    // framebuffer calls; without it, the EXT ones.
    bool arbFramebufferObject;
};

// The driver named by KORVATH_GOLDEN_DRIVER, llvmpipe where it is unset;
// nullptr for a name the table lacks.
const GoldenDriver* goldenDriverFromEnvironment();

} // namespace korvath::golden
