// The shading context the particle GL tests and benchmarks draw with.
#pragma once

#include "shading/ShaderContext.h"

namespace korvath::test {

// The GL context (see GlTestContext.h) and the application's shading context,
// made and reporting errors the way start-up does.
const ShaderContext& particleShaderContext();

} // namespace korvath::test
