// The one shading-program context and its two profiles, created at start-up
// and copied by every object that compiles programs.
#pragma once

#include "shading/ShadingRuntime.h"

namespace korvath {

struct ShaderContext {
    CGcontext context = nullptr;
    CGprofile vertexProfile = CG_PROFILE_UNKNOWN;
    CGprofile fragmentProfile = CG_PROFILE_UNKNOWN;
};

} // namespace korvath
