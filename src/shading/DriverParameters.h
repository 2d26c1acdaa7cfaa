// The parameters a linked program has, as the driver reports them through its
// program interface queries. The driver, not the source text, decides which
// parameters are active, their types and their sampler units.
#pragma once

#include <GL/glew.h>

#include <string>
#include <vector>

namespace korvath::shading {

struct DriverParameter {
    std::string name; // an array by its own name, without "[0]"
    GLenum type;      // GL_FLOAT_VEC3, GL_SAMPLER_2D, ...
    GLint location;
};

// Active uniforms outside uniform blocks, built-ins (gl_*) left out.
std::vector<DriverParameter> activeUniforms(GLuint program);
// Active inputs of the program's first stage, built-ins left out.
std::vector<DriverParameter> activeInputs(GLuint program);

} // namespace korvath::shading
