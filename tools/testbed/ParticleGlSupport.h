// The shading context and renderer the particle GL tests and benchmarks draw with.
#pragma once

#include "particles/PointSpriteRenderer.h"
#include "shading/ShaderContext.h"

namespace korvath::test {

// The GL context (see GlTestContext.h) and the application's shading context,
// made and reporting errors the way start-up does.
const ShaderContext& particleShaderContext();

// An opaque point-sprite renderer with the lava fragment program and sprite and
// the given vertex program, in that shading context. Ends the program as the
// scene's eruptions do when the vertex program lacks one of its parameters.
PointSpriteRenderer* lavaRenderer(const char* vertexProgramPath);

} // namespace korvath::test
