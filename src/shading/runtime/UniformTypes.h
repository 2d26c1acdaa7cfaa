// What the runtime needs to know about the GL types the driver reports for a
// parameter (GL_FLOAT_VEC3, GL_SAMPLER_2D, ...). No GL calls.
#pragma once

#include <GL/glew.h>

#include <string>

namespace korvath {

// Components of a float or float vector type; 0 for any other type.
int floatComponentCount(GLenum type);
bool isSamplerType(GLenum type);
// The GLSL name of a type for messages ("vec3", "sampler2D"), or its number in hex.
std::string glslTypeName(GLenum type);

} // namespace korvath
