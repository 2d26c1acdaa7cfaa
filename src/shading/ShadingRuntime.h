// Our shading-program runtime: a small C-style API over OpenGL's GLSL.
//
// Programs are GLSL sources with the entry point "main", each compiled on its own
// as a separable program and bound into one program pipeline per context, so a
// parameter value belongs to its program and holds until it is set again.
//
// Parameters:
//   - uniforms declared in the source are set with glProgramUniform*;
//   - a vertex-stage input declared in the source ("in vec2 initTime;") is a
//     per-vertex parameter: setting it issues glVertexAttrib*, which is legal
//     between the glVertex calls of one glBegin/glEnd batch;
//   - samplers take texture units in declaration order, the first unit 0; the
//     caller binds each texture on its unit.
// A parameter that the source declares but the driver optimised away is still
// found; setting it does nothing.
//
// Errors (unreadable file, compile or link failure, misuse) set the runtime's
// error, fill the context's last listing with the file path and the driver's log,
// and call the callback registered with cgSetErrorCallback.
#pragma once

#include <GL/glew.h>

struct ShadingContextRecord;
struct ShadingProgramRecord;
struct ShadingParameterRecord;

using CGcontext = ShadingContextRecord*;
using CGprogram = ShadingProgramRecord*;
using CGparameter = ShadingParameterRecord*;
using CGbool = int;

enum CGprofile { CG_PROFILE_UNKNOWN = 0, CG_PROFILE_GLSLV, CG_PROFILE_GLSLF };

enum CGGLenum {
    CG_GL_VERTEX = 1,
    CG_GL_FRAGMENT,
    CG_GL_MODELVIEW_MATRIX,
    CG_GL_PROJECTION_MATRIX,
    CG_GL_TEXTURE_MATRIX,
    CG_GL_MODELVIEW_PROJECTION_MATRIX,
    CG_GL_MATRIX_IDENTITY,
    CG_GL_MATRIX_TRANSPOSE,
    CG_GL_MATRIX_INVERSE,
    CG_GL_MATRIX_INVERSE_TRANSPOSE,
};

enum CGenum { CG_SOURCE = 1, CG_OBJECT };

enum CGerror {
    CG_NO_ERROR = 0,
    CG_FILE_READ_ERROR,
    CG_COMPILER_ERROR,
    CG_PROGRAM_LOAD_ERROR,
    CG_INVALID_PROFILE_ERROR,
    CG_INVALID_PARAMETER_ERROR,
    CG_INVALID_PROGRAM_HANDLE_ERROR,
    CG_INVALID_CONTEXT_HANDLE_ERROR,
    CG_INVALID_ENUMERANT_ERROR,
    CG_UNSUPPORTED_ERROR,
};

using CGerrorCallbackFunc = void (*)();

// Error handling. cgGetError returns the last error and clears it.
void cgSetErrorCallback(CGerrorCallbackFunc callback);
CGerror cgGetError();
const char* cgGetErrorString(CGerror error);
const char* cgGetLastListing(CGcontext context); // never null; "" when empty

// Context and profiles. A context needs a current GL context with GLEW started
// before its first program is created.
CGcontext cgCreateContext();
void cgDestroyContext(CGcontext context);
CGprofile cgGLGetLatestProfile(CGGLenum profileClass);
void cgGLSetOptimalOptions(CGprofile profile);

// Programs. Create reads and compiles the source; load links it. args must be null.
CGprogram cgCreateProgramFromFile(CGcontext context, CGenum programType, const char* path,
                                  CGprofile profile, const char* entry, const char** args);
void cgGLLoadProgram(CGprogram program);
void cgDestroyProgram(CGprogram program);
void cgGLEnableProfile(CGprofile profile);
void cgGLDisableProfile(CGprofile profile);
void cgGLBindProgram(CGprogram program);

// Parameters. Lookup returns null for a name the source does not declare.
CGparameter cgGetNamedParameter(CGprogram program, const char* name);
void cgGLSetParameter1f(CGparameter parameter, float x);
void cgGLSetParameter2f(CGparameter parameter, float x, float y);
void cgGLSetParameter3f(CGparameter parameter, float x, float y, float z);
void cgGLSetParameter4f(CGparameter parameter, float x, float y, float z, float w);
// Copies the GL matrix in force now (modelview, projection, texture matrix of the
// active unit, or projection * modelview), optionally inverted and/or transposed.
void cgGLSetStateMatrixParameter(CGparameter parameter, CGGLenum matrix, CGGLenum transform);
// Checks that the parameter is a sampler. The sampler reads the texture bound on
// its unit (see above), so the caller binds the texture there itself.
void cgGLSetTextureParameter(CGparameter parameter, GLuint texture);
