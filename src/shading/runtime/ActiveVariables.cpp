// glGetActiveUniform and glGetActiveAttrib over a linked program.
#include "shading/runtime/ActiveVariables.h"

#include <algorithm>

namespace korvath::shading {

namespace {

using ActiveQuery = void(GLAPIENTRY*)(GLuint, GLuint, GLsizei, GLsizei*, GLint*, GLenum*, GLchar*);
using LocationQuery = GLint(GLAPIENTRY*)(GLuint, const GLchar*);

std::vector<DriverParameter> activeParameters(GLuint program, GLenum countName, GLenum longestName,
                                              ActiveQuery active, LocationQuery locate) {
    GLint count = 0;
    GLint longest = 0;
    glGetProgramiv(program, countName, &count);
    glGetProgramiv(program, longestName, &longest);
    std::vector<DriverParameter> parameters;
    std::string name(static_cast<size_t>(std::max(longest, 1)), '\0');
    for (GLint index = 0; index < count; ++index) {
        GLsizei length = 0;
        GLint size = 0;
        GLenum type = 0;
        active(program, static_cast<GLuint>(index), longest, &length, &size, &type, name.data());
        std::string found = name.substr(0, static_cast<size_t>(std::max(length, 0)));
        if (found.compare(0, 3, "gl_") == 0) {
            continue;
        }
        // A block member, which has no location of its own, is not a parameter.
        const GLint location = locate(program, found.c_str());
        if (location < 0) {
            continue;
        }
        if (found.size() > 3 && found.compare(found.size() - 3, 3, "[0]") == 0) {
            found.resize(found.size() - 3);
        }
        parameters.push_back({std::move(found), type, location});
    }
    return parameters;
}

} // namespace

std::vector<DriverParameter> activeUniforms(GLuint program) {
    return activeParameters(program, GL_ACTIVE_UNIFORMS, GL_ACTIVE_UNIFORM_MAX_LENGTH,
                            glGetActiveUniform, glGetUniformLocation);
}

std::vector<DriverParameter> activeAttributes(GLuint program) {
    return activeParameters(program, GL_ACTIVE_ATTRIBUTES, GL_ACTIVE_ATTRIBUTE_MAX_LENGTH,
                            glGetActiveAttrib, glGetAttribLocation);
}

} // namespace korvath::shading
