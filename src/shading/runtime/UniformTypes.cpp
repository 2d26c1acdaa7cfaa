// GL type enums and their GLSL names.
#include "shading/runtime/UniformTypes.h"

#include <cstdio>
#include <utility>

namespace korvath {

namespace {

// Types a GLSL 4.50 parameter can have that a caller of this runtime is likely
// to meet; others are named by number.
constexpr std::pair<GLenum, const char*> kTypeNames[] = {
    {GL_FLOAT, "float"},
    {GL_FLOAT_VEC2, "vec2"},
    {GL_FLOAT_VEC3, "vec3"},
    {GL_FLOAT_VEC4, "vec4"},
    {GL_DOUBLE, "double"},
    {GL_INT, "int"},
    {GL_INT_VEC2, "ivec2"},
    {GL_INT_VEC3, "ivec3"},
    {GL_INT_VEC4, "ivec4"},
    {GL_UNSIGNED_INT, "uint"},
    {GL_BOOL, "bool"},
    {GL_BOOL_VEC2, "bvec2"},
    {GL_BOOL_VEC3, "bvec3"},
    {GL_BOOL_VEC4, "bvec4"},
    {GL_FLOAT_MAT2, "mat2"},
    {GL_FLOAT_MAT3, "mat3"},
    {GL_FLOAT_MAT4, "mat4"},
    {GL_FLOAT_MAT2x3, "mat2x3"},
    {GL_FLOAT_MAT2x4, "mat2x4"},
    {GL_FLOAT_MAT3x2, "mat3x2"},
    {GL_FLOAT_MAT3x4, "mat3x4"},
    {GL_FLOAT_MAT4x2, "mat4x2"},
    {GL_FLOAT_MAT4x3, "mat4x3"},
    {GL_SAMPLER_2D, "sampler2D"},
    {GL_SAMPLER_3D, "sampler3D"},
    {GL_SAMPLER_CUBE, "samplerCube"},
    {GL_SAMPLER_2D_SHADOW, "sampler2DShadow"},
};

constexpr GLenum kSamplerTypes[] = {
    GL_SAMPLER_1D,
    GL_SAMPLER_2D,
    GL_SAMPLER_3D,
    GL_SAMPLER_CUBE,
    GL_SAMPLER_1D_SHADOW,
    GL_SAMPLER_2D_SHADOW,
    GL_SAMPLER_1D_ARRAY,
    GL_SAMPLER_2D_ARRAY,
    GL_SAMPLER_1D_ARRAY_SHADOW,
    GL_SAMPLER_2D_ARRAY_SHADOW,
    GL_SAMPLER_2D_MULTISAMPLE,
    GL_SAMPLER_2D_MULTISAMPLE_ARRAY,
    GL_SAMPLER_CUBE_SHADOW,
    GL_SAMPLER_BUFFER,
    GL_SAMPLER_2D_RECT,
    GL_SAMPLER_2D_RECT_SHADOW,
    GL_SAMPLER_CUBE_MAP_ARRAY,
    GL_SAMPLER_CUBE_MAP_ARRAY_SHADOW,
    GL_INT_SAMPLER_1D,
    GL_INT_SAMPLER_2D,
    GL_INT_SAMPLER_3D,
    GL_INT_SAMPLER_CUBE,
    GL_INT_SAMPLER_1D_ARRAY,
    GL_INT_SAMPLER_2D_ARRAY,
    GL_INT_SAMPLER_2D_MULTISAMPLE,
    GL_INT_SAMPLER_2D_MULTISAMPLE_ARRAY,
    GL_INT_SAMPLER_BUFFER,
    GL_INT_SAMPLER_2D_RECT,
    GL_INT_SAMPLER_CUBE_MAP_ARRAY,
    GL_UNSIGNED_INT_SAMPLER_1D,
    GL_UNSIGNED_INT_SAMPLER_2D,
    GL_UNSIGNED_INT_SAMPLER_3D,
    GL_UNSIGNED_INT_SAMPLER_CUBE,
    GL_UNSIGNED_INT_SAMPLER_1D_ARRAY,
    GL_UNSIGNED_INT_SAMPLER_2D_ARRAY,
    GL_UNSIGNED_INT_SAMPLER_2D_MULTISAMPLE,
    GL_UNSIGNED_INT_SAMPLER_2D_MULTISAMPLE_ARRAY,
    GL_UNSIGNED_INT_SAMPLER_BUFFER,
    GL_UNSIGNED_INT_SAMPLER_2D_RECT,
    GL_UNSIGNED_INT_SAMPLER_CUBE_MAP_ARRAY,
};

} // namespace

int floatComponentCount(GLenum type) {
    switch (type) {
    case GL_FLOAT:
        return 1;
    case GL_FLOAT_VEC2:
        return 2;
    case GL_FLOAT_VEC3:
        return 3;
    case GL_FLOAT_VEC4:
        return 4;
    default:
        return 0;
    }
}

bool isSamplerType(GLenum type) {
    for (GLenum sampler : kSamplerTypes) {
        if (sampler == type) {
            return true;
        }
    }
    return false;
}

std::string glslTypeName(GLenum type) {
    for (const auto& [known, name] : kTypeNames) {
        if (known == type) {
            return name;
        }
    }
    if (isSamplerType(type)) {
        return "sampler";
    }
    char number[16];
    std::snprintf(number, sizeof number, "type 0x%04X", type);
    return number;
}

} // namespace korvath
