// Uniform values as the runtime keeps them, uploaded by type.
#include "shading/runtime/ParameterValues.h"

#include "shading/runtime/UniformTypes.h"

#include <algorithm>
#include <cstdio>

namespace korvath::shading {

namespace {

// One counter for every parameter: a version says which set a slot holds.
std::uint64_t lastVersion = 0;

} // namespace

void storeFloats(ShadingParameterRecord& parameter, const float* values, int components,
                 const char* call) {
    std::copy(values, values + (components == kMatrixComponents ? kMatrixComponents : 4),
              parameter.value.begin());
    parameter.setComponents = components;
    parameter.setBy = call;
    parameter.version = ++lastVersion;
}

void storeTextureUnit(ShadingParameterRecord& parameter, GLint unit) {
    parameter.textureUnit = unit;
    parameter.version = ++lastVersion;
}

void uploadValue(const ShadingParameterRecord& parameter, GLint location) {
    const float* values = parameter.value.data();
    if (parameter.kind == ParameterKind::Sampler) {
        glUniform1i(location, parameter.textureUnit);
        return;
    }
    switch (parameter.type) {
    case GL_FLOAT:
        glUniform1fv(location, 1, values);
        break;
    case GL_FLOAT_VEC2:
        glUniform2fv(location, 1, values);
        break;
    case GL_FLOAT_VEC3:
        glUniform3fv(location, 1, values);
        break;
    case GL_FLOAT_VEC4:
        glUniform4fv(location, 1, values);
        break;
    case GL_FLOAT_MAT4:
        glUniformMatrix4fv(location, 1, GL_FALSE, values);
        break;
    default:
        break; // no setter of the runtime takes another type
    }
}

bool sameValue(const ShadingParameterRecord& a, const ShadingParameterRecord& b) {
    return a.textureUnit == b.textureUnit && a.value == b.value;
}

std::string describeValue(const ShadingParameterRecord& parameter) {
    if (parameter.kind == ParameterKind::Sampler) {
        return "texture unit " + std::to_string(parameter.textureUnit);
    }
    const int components = floatComponentCount(parameter.type);
    if (components == 0) {
        return "a " + glslTypeName(parameter.type);
    }
    std::string text = "(";
    for (int i = 0; i < components; ++i) {
        char number[32];
        std::snprintf(number, sizeof number, "%g", static_cast<double>(parameter.value[i]));
        text += (i > 0 ? ", " : "") + std::string(number);
    }
    return text + ")";
}

std::string typeDisagrees(const ShadingParameterRecord& parameter, const std::string& callSets) {
    const char* kind = parameter.kind == ParameterKind::VertexAttribute ? "per-vertex " : "";
    return "is a " + std::string(kind) + "parameter of type " + glslTypeName(parameter.type) +
           "; the call sets " + callSets;
}

std::string valueRefusal(const ShadingParameterRecord& parameter, int components) {
    if (components == kMatrixComponents) {
        const bool takesMatrix =
            parameter.kind == ParameterKind::Uniform && parameter.type == GL_FLOAT_MAT4;
        return takesMatrix ? "" : typeDisagrees(parameter, "a uniform mat4");
    }
    const int has = floatComponentCount(parameter.type);
    if (has == 0) {
        return typeDisagrees(parameter, "float or a float vector");
    }
    if (components > has) {
        return typeDisagrees(parameter, std::to_string(components) + " components");
    }
    return "";
}

std::string parameterMessage(const ShadingParameterRecord& parameter, const char* call,
                             const std::string& what) {
    return parameter.program->path + ": " + call + ": \"" + parameter.name + "\" " + what;
}

} // namespace korvath::shading
