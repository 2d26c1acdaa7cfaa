// Parameter lookup and setting: a uniform's value is kept with its program and
// reaches GL now or when the program is next current, per-vertex parameters go
// through glVertexAttrib*, state matrices are read from the fixed-function
// matrix stacks at the call. Each call is checked against the driver's type.
#include "math/MatrixInverse.h"
#include "shading/runtime/CurrentProgram.h"
#include "shading/runtime/HandleRecords.h"
#include "shading/runtime/ParameterValues.h"

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
                    korvath::shading::parameterMessage(*parameter, call, what));
    }
    return false;
}

// Checks a value against the parameter's type, where the driver has told it; a
// value for a type still unknown is checked when a pair's link tells it.
bool takesValue(const ShadingParameterRecord* parameter, int components, const char* call) {
    if (parameter->type == 0) {
        return true;
    }
    const std::string refusal = korvath::shading::valueRefusal(*parameter, components);
    return refusal.empty() || misuse(parameter, call, refusal);
}

// A uniform's value is kept, and reaches GL now if its program is current.
void storeAndUpload(ShadingParameterRecord* parameter, const float* values, int components,
                    const char* call) {
    korvath::shading::storeFloats(*parameter, values, components, call);
    korvath::shading::uploadIfCurrent(*parameter);
}

// Sets `count` of the four values. A parameter receives as many components as
// its type has; components the call does not give are (0, 0, 1) for y, z, w,
// as glVertexAttrib fills them. A program that failed has nothing to set.
void setFloats(ShadingParameterRecord* parameter, int count, float x, float y, float z, float w,
               const char* call) {
    if (parameter == nullptr) {
        misuse(parameter, call, "");
        return;
    }
    if (parameter->program->failed || !takesValue(parameter, count, call)) {
        return;
    }
    const float values[4] = {x, count > 1 ? y : 0.0f, count > 2 ? z : 0.0f, count > 3 ? w : 1.0f};
    if (parameter->kind != ParameterKind::VertexAttribute) {
        storeAndUpload(parameter, values, count, call);
    } else if (parameter->location >= 0) {
        glVertexAttrib4fv(static_cast<GLuint>(parameter->location), values);
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
    if (parameter->program->failed ||
        !takesValue(parameter, korvath::shading::kMatrixComponents, call)) {
        return;
    }
    if (parameter->kind == ParameterKind::VertexAttribute) {
        return; // a dropped per-vertex name: a matrix never goes there
    }
    const Matrix4 value = transform(readStateMatrix(matrix), how);
    storeAndUpload(parameter, value.m, korvath::shading::kMatrixComponents, call);
}

// A sampler reads the texture bound on its unit, which the runtime assigned at
// load, so there is nothing to record: the call only checks that the parameter
// is a sampler.
void cgGLSetTextureParameter(CGparameter parameter, GLuint /*texture*/) {
    constexpr const char* call = "cgGLSetTextureParameter";
    if (parameter == nullptr) {
        misuse(parameter, call, "");
    } else if (parameter->type != 0 && parameter->kind != ParameterKind::Sampler) {
        misuse(parameter, call, korvath::shading::typeDisagrees(*parameter, "a sampler"));
    }
}
