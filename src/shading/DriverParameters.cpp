// Program interface queries (OpenGL 4.3) over GL_UNIFORM and GL_PROGRAM_INPUT.
#include "shading/DriverParameters.h"

#include <algorithm>

namespace korvath::shading {

namespace {

std::vector<DriverParameter> activeResources(GLuint program, GLenum interface) {
    GLint count = 0;
    GLint longestName = 0;
    glGetProgramInterfaceiv(program, interface, GL_ACTIVE_RESOURCES, &count);
    glGetProgramInterfaceiv(program, interface, GL_MAX_NAME_LENGTH, &longestName);
    // Block membership is a property of uniforms only; inputs are asked two.
    const GLenum properties[] = {GL_TYPE, GL_LOCATION, GL_BLOCK_INDEX};
    const GLsizei propertyCount = interface == GL_UNIFORM ? 3 : 2;
    std::vector<DriverParameter> parameters;
    std::string name(static_cast<size_t>(std::max(longestName, 1)), '\0');
    for (GLint index = 0; index < count; ++index) {
        GLint values[3] = {0, -1, -1};
        glGetProgramResourceiv(program, interface, static_cast<GLuint>(index), propertyCount,
                               properties, propertyCount, nullptr, values);
        GLsizei length = 0;
        glGetProgramResourceName(program, interface, static_cast<GLuint>(index), longestName,
                                 &length, name.data());
        std::string found = name.substr(0, static_cast<size_t>(length));
        if (values[2] != -1 || found.compare(0, 3, "gl_") == 0) {
            continue; // a uniform-block member, or a built-in
        }
        if (found.size() > 3 && found.compare(found.size() - 3, 3, "[0]") == 0) {
            found.resize(found.size() - 3);
        }
        parameters.push_back({std::move(found), static_cast<GLenum>(values[0]), values[1]});
    }
    return parameters;
}

} // namespace

std::vector<DriverParameter> activeUniforms(GLuint program) {
    return activeResources(program, GL_UNIFORM);
}

std::vector<DriverParameter> activeInputs(GLuint program) {
    return activeResources(program, GL_PROGRAM_INPUT);
}

} // namespace korvath::shading
