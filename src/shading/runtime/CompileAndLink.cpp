// Compile and link calls of OpenGL 2.0 and their logs.
#include "shading/runtime/CompileAndLink.h"

#include <algorithm>
#include <sstream>

namespace korvath::shading {

namespace {

using ParameterQuery = void(GLAPIENTRY*)(GLuint, GLenum, GLint*);
using LogQuery = void(GLAPIENTRY*)(GLuint, GLsizei, GLsizei*, GLchar*);

// The info log of a shader or program object.
std::string infoLog(GLuint object, ParameterQuery parameter, LogQuery log) {
    GLint length = 0;
    parameter(object, GL_INFO_LOG_LENGTH, &length);
    std::string text(static_cast<size_t>(std::max(length, 1)), '\0');
    log(object, length, nullptr, text.data());
    return text.c_str();
}

} // namespace

std::string prefixLines(const std::string& prefix, const std::string& log) {
    std::string result;
    std::istringstream lines(log);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.empty()) {
            continue;
        }
        if (!result.empty()) {
            result += '\n';
        }
        result += prefix + ": " + line;
    }
    return result;
}

CompiledStage compileStage(GLenum type, const std::string& source) {
    CompiledStage stage;
    stage.shader = glCreateShader(type);
    const char* text = source.c_str();
    glShaderSource(stage.shader, 1, &text, nullptr);
    glCompileShader(stage.shader);
    GLint compiled = GL_FALSE;
    glGetShaderiv(stage.shader, GL_COMPILE_STATUS, &compiled);
    stage.log = infoLog(stage.shader, glGetShaderiv, glGetShaderInfoLog);
    if (compiled != GL_TRUE) {
        glDeleteShader(stage.shader);
        stage.shader = 0;
    }
    return stage;
}

LinkResult linkProgram(GLuint program, const std::vector<AttributeBinding>& attributes) {
    for (const auto& [name, location] : attributes) {
        glBindAttribLocation(program, location, name.c_str());
    }
    glLinkProgram(program);
    GLint linked = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    return {linked == GL_TRUE, infoLog(program, glGetProgramiv, glGetProgramInfoLog)};
}

std::vector<ParameterSlot> slotsIn(GLuint linked, const ShadingProgramRecord& program) {
    std::vector<ParameterSlot> slots(program.parameters.size());
    for (const auto& parameter : program.parameters) {
        if (parameter->type != 0 && parameter->kind != ParameterKind::VertexAttribute) {
            slots[parameter->index].location =
                glGetUniformLocation(linked, parameter->name.c_str());
        }
    }
    return slots;
}

} // namespace korvath::shading
