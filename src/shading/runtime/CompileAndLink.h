// Compiling a stage and linking GL program objects through the OpenGL 2.0
// calls, with the driver's log in the runtime's wording.
#pragma once

#include "shading/runtime/HandleRecords.h"

#include <string>
#include <utility>
#include <vector>

namespace korvath::shading {

// Puts `prefix: ` in front of every non-empty line of a driver log, so each
// line says which source it is about ("cg/vp_ocean.cg: 0:12(3): error: ...").
std::string prefixLines(const std::string& prefix, const std::string& log);

struct CompiledStage {
    GLuint shader = 0; // 0 when the compile failed
    std::string log;   // the driver's, as it gave it
};
CompiledStage compileStage(GLenum type, const std::string& source);

// A per-vertex input's name and the generic attribute location it is bound to.
using AttributeBinding = std::pair<std::string, GLuint>;

struct LinkResult {
    bool linked = false;
    std::string log;
};
// Links `program` from the shaders attached to it, with the inputs bound first.
LinkResult linkProgram(GLuint program, const std::vector<AttributeBinding>& attributes);

// The locations of a program's uniforms and samplers in a linked GL program,
// by parameter index; per-vertex parameters and dropped declarations get -1.
std::vector<ParameterSlot> slotsIn(GLuint linked, const ShadingProgramRecord& program);

} // namespace korvath::shading
