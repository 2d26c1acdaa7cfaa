// Which texture unit each sampler of a program reads. GLSL before 4.20 has no
// layout(binding), so the runtime numbers the samplers itself. Plain logic; no GL.
#pragma once

#include "shading/source/SourceDeclarations.h"

#include <GL/glew.h>

#include <string>
#include <vector>

namespace korvath::shading {

struct ActiveSampler {
    std::string name;
    GLint driverUnit; // the value the driver gives it after link
};

// The units of `samplers` (the driver's active ones, in its order), in that
// order. A source that binds any sampler to a unit other than 0 gave its own
// units (layout(binding)): all keep the driver's. Otherwise the n-th sampler in
// the order the source declares them reads unit n; samplers the declarations
// lack (past what the scan could follow) come after, in the driver's order.
std::vector<GLint> samplerUnits(const std::vector<ActiveSampler>& samplers,
                                const std::vector<SourceDeclaration>& declarations);

} // namespace korvath::shading
