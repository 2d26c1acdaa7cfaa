// Compiling and loading one shading program from its source file.
#pragma once

#include "shading/ShadingRuntime.h"

namespace korvath {

// Creates the program from path with the entry point "main" and loads it.
// Failures reach the runtime's error callback; the handle is never null.
CGprogram loadProgramFile(CGcontext context, CGprofile profile, const char* path);

} // namespace korvath
