// Parameter lookup and setting: uniforms through glProgramUniform* on their own
// program, per-vertex parameters through glVertexAttrib*, state matrices read
// from the fixed-function matrix stacks at the call. Each call is checked
// against the type the driver reported.
#include "shading/MatrixInverse.h"
#include "shading/ShadingRecords.h"
#include "shading/UniformTypes.h"

#include <algorithm>

using korvath::Matrix4;
using korvath::ParameterKind;
using korvath::shading::reportError;

namespace {

// Reports a misuse of a parameter; returns false so callers can return at once.
bool misuse(const ShadingParameterRecord* parameter, const char* call, const std::string& what) {
    if (parameter == nullptr) {
        reportError(CG_INVALID_PARAMETER_ERROR, nullptr, std::string(call) + ": null parameter");
    } else {
        reportError(CG_INVALID_PARAMETER_ERROR, parameter->program->context,
                    parameter->program->path + ": " + call + ": \"" + parameter->name + "\" " +
                        what);
    }
    return false;
}

std::string typeDisagrees(const ShadingParameterRecord* parameter, const std::string& callSets) {
    const char* kind = parameter->kind == ParameterKind::VertexAttribute ? "per-vertex " : "";
    return "is a " + std::string(kind) + "parameter of type " +
           korvath::glslTypeName(parameter->type) + "; the call sets " + callSets;
}

// A declaration the driver optimised away has no type (nothing to check) and no
// location (nothing to set); nor has a parameter of a program that failed.
bool isSettable(const ShadingParameterRecord* parameter) {
    return parameter->type != 0 && parameter->location >= 0 && parameter->program->program != 0;
}

// Sets `count` of the four values. A parameter receives as many components as
// its type has; components the call does not give are (0, 0, 1) for y, z, w,
// as glVertexAttrib fills them.
void setFloats(ShadingParameterRecord* parameter, int count, float x, float y, float z, float w,
               const char* call) {
    if (parameter == nullptr) {
        misuse(parameter, call, "");
        return;
    }
    if (!isSettable(parameter)) {
        return;
    }
    const int components = korvath::floatComponentCount(parameter->type);
    if (components == 0) {
        misuse(parameter, call, typeDisagrees(parameter, "float or a float vector"));
        return;
    }
    if (count > components) {
        misuse(parameter, call, typeDisagrees(parameter, std::to_string(count) + " components"));
        return;
    }
    const float values[4] = {x, count > 1 ? y : 0.0f, count > 2 ? z : 0.0f, count > 3 ? w : 1.0f};
    if (parameter->kind == ParameterKind::VertexAttribute) {
        glVertexAttrib4fv(static_cast<GLuint>(parameter->location), values);
        return;
    }
    const GLuint program = parameter->program->program;
    switch (components) {
    case 1:
        glProgramUniform1fv(program, parameter->location, 1, values);
        break;
    case 2:
        glProgramUniform2fv(program, parameter->location, 1, values);
        break;
    case 3:
        glProgramUniform3fv(program, parameter->location, 1, values);
        break;
    default:
        glProgramUniform4fv(program, parameter->location, 1, values);
        break;
    }
}

bool isStateMatrix(CGGLenum matrix) {
    return matrix == CG_GL_MODELVIEW_MATRIX || matrix == CG_GL_PROJECTION_MATRIX ||
           matrix == CG_GL_TEXTURE_MATRIX || matrix == CG_GL_MODELVIEW_PROJECTION_MATRIX;
}

bool isMatrixTransform(CGGLenum transform) {
    return transform == CG_GL_MATRIX_IDENTITY || transform == CG_GL_MATRIX_TRANSPOSE ||
           transform == CG_GL_MATRIX_INVERSE || transform == CG_GL_MATRIX_INVERSE_TRANSPOSE;
}

Matrix4 readGlMatrix(GLenum which) {
    Matrix4 matrix;
    glGetFloatv(which, matrix.m);
    return matrix;
}

Matrix4 readStateMatrix(CGGLenum matrix) {
    switch (matrix) {
    case CG_GL_MODELVIEW_MATRIX:
        return readGlMatrix(GL_MODELVIEW_MATRIX);
    case CG_GL_PROJECTION_MATRIX:
        return readGlMatrix(GL_PROJECTION_MATRIX);
    case CG_GL_TEXTURE_MATRIX:
        return readGlMatrix(GL_TEXTURE_MATRIX);
    default:
        return readGlMatrix(GL_PROJECTION_MATRIX) * readGlMatrix(GL_MODELVIEW_MATRIX);
    }
}

Matrix4 transform(const Matrix4& matrix, CGGLenum how) {
    switch (how) {
    case CG_GL_MATRIX_TRANSPOSE:
        return korvath::transposed(matrix);
    case CG_GL_MATRIX_INVERSE:
        return korvath::inverted(matrix);
    case CG_GL_MATRIX_INVERSE_TRANSPOSE:
        return korvath::transposed(korvath::inverted(matrix));
    default:
        return matrix;
    }
}

} // namespace

CGparameter cgGetNamedParameter(CGprogram program, const char* name) {
    if (!korvath::shading::isLiveProgram(program)) {
        reportError(CG_INVALID_PROGRAM_HANDLE_ERROR, nullptr,
                    "cgGetNamedParameter: invalid program handle");
        return nullptr;
    }
    if (name == nullptr) {
        return nullptr;
    }
    const auto found = std::find_if(program->parameters.begin(), program->parameters.end(),
                                    [&](const auto& parameter) { return parameter->name == name; });
    return found != program->parameters.end() ? found->get() : nullptr;
}

void cgGLSetParameter1f(CGparameter parameter, float x) {
    setFloats(parameter, 1, x, 0.0f, 0.0f, 1.0f, "cgGLSetParameter1f");
}

void cgGLSetParameter2f(CGparameter parameter, float x, float y) {
    setFloats(parameter, 2, x, y, 0.0f, 1.0f, "cgGLSetParameter2f");
}

void cgGLSetParameter3f(CGparameter parameter, float x, float y, float z) {
    setFloats(parameter, 3, x, y, z, 1.0f, "cgGLSetParameter3f");
}

void cgGLSetParameter4f(CGparameter parameter, float x, float y, float z, float w) {
    setFloats(parameter, 4, x, y, z, w, "cgGLSetParameter4f");
}

void cgGLSetStateMatrixParameter(CGparameter parameter, CGGLenum matrix, CGGLenum how) {
    constexpr const char* call = "cgGLSetStateMatrixParameter";
    if (parameter == nullptr) {
        misuse(parameter, call, "");
        return;
    }
    if (!isStateMatrix(matrix) || !isMatrixTransform(how)) {
        reportError(CG_INVALID_ENUMERANT_ERROR, parameter->program->context,
                    parameter->program->path + ": " + call + ": unknown matrix or transform");
        return;
    }
    if (!isSettable(parameter)) {
        return;
    }
    if (parameter->kind != ParameterKind::Uniform || parameter->type != GL_FLOAT_MAT4) {
        misuse(parameter, call, typeDisagrees(parameter, "a uniform mat4"));
        return;
    }
    const Matrix4 value = transform(readStateMatrix(matrix), how);
    glProgramUniformMatrix4fv(parameter->program->program, parameter->location, 1, GL_FALSE,
                              value.m);
}

// A sampler reads the texture bound on its unit, fixed by the source, so there
// is nothing to record: the call only checks that the parameter is a sampler.
void cgGLSetTextureParameter(CGparameter parameter, GLuint /*texture*/) {
    constexpr const char* call = "cgGLSetTextureParameter";
    if (parameter == nullptr) {
        misuse(parameter, call, "");
    } else if (isSettable(parameter) && parameter->kind != ParameterKind::Sampler) {
        misuse(parameter, call, typeDisagrees(parameter, "a sampler"));
    }
}
