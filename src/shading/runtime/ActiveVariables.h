// The parameters a linked program has, as the driver reports them (OpenGL 2.0's
// active uniforms and attributes). The driver, not the source text, decides
// which parameters are active and their types.
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

// Active uniforms that have a location, in the driver's order: built-ins
// (gl_*) and uniform-block members are left out.
std::vector<DriverParameter> activeUniforms(GLuint program);
// Active vertex inputs with their locations, built-ins (gl_Vertex, ...) left out.
std::vector<DriverParameter> activeAttributes(GLuint program);

} // namespace korvath::shading
