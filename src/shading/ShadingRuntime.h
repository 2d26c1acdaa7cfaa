// Our shading-program runtime: a small C-style API over OpenGL 2.0's GLSL, one
// code path for every driver from OpenGL 2.0 up.
//
// Programs are GLSL sources (any #version the driver compiles) with the entry
// point "main". Each is compiled at create and linked alone at load, which
// gives its parameters; a vertex and a fragment program are linked together
// the first time both are bound with both profiles enabled, and the pair is
// kept until either program is destroyed. With one profile enabled, its
// program draws alone and the other stage is fixed function.
//
// Parameters are those the driver reports active, with their types (gl_*
// built-ins are not parameters; an array goes by its name without "[0]"):
//   - a uniform's value belongs to the program it was set on: set while the
//     program is not bound, it reaches GL when the program is next bound;
//   - a uniform that both programs of a pair declare is one variable of the
//     pair (GLSL's rule): their types must agree, and values set on both must
//     agree when the pair is bound (each is reported as an error);
//   - a vertex-stage input ("attribute vec2 initTime;") is a per-vertex
//     parameter: setting it issues glVertexAttrib*, which is legal between the
//     glVertex calls of one glBegin/glEnd batch (a uniform is not: GL refuses
//     uniform changes inside a batch);
//   - the n-th sampler the source declares reads texture unit n, unless the
//     source binds any of them with layout(binding), whose units then hold; the
//     caller binds each texture on its unit.
// A name that the compiled text of the source declares as a top-level uniform or
// vertex input but the driver optimised away is still found; setting it checks
// nothing and changes nothing that draws. (The text is read through a small
// preprocessor; past anything it cannot evaluate, no such names are added.) A
// vertex program linked alone drops what feeds only its outputs: such a name
// gets its type, and a value set before has it checked, when its first pair
// links. The first three per-vertex inputs are bound to the generic locations
// 1, 6 and 7, which alias no built-in, in every pair of their vertex program;
// a source must not give one an explicit location 0 (inside glBegin/glEnd
// attribute 0 is glVertex).
//
// A source that is not a regular file, or is over 1 MiB (1048576 bytes), is
// refused unread with CG_FILE_READ_ERROR ("path: source is N bytes, the limit is 1048576").
//
// Errors (unreadable file, compile or link failure, misuse) set the runtime's
// error, fill the context's last listing with the file path and the driver's log
// (one "path: " line per log line; "vertex path and fragment path: " for a
// pair), then call the callback registered with cgSetErrorCallback. A program
// whose file, compile or link failed is still a valid handle: loading, binding
// and setting its parameters do nothing more. A pair that fails to link is
// reported once and draws with fixed function while bound.
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

// Error handling. cgGetError returns the last error and clears it. The listing
// also holds the driver's warnings after a successful compile or link ("" if none).
void cgSetErrorCallback(CGerrorCallbackFunc callback);
CGerror cgGetError();
const char* cgGetErrorString(CGerror error);
const char* cgGetLastListing(CGcontext context); // never null; "" when empty

// Context and profiles. A context needs a current GL context with GLEW started
// before its first program is created (not before it is created itself).
// Destroying a context destroys its programs. Set-optimal-options only checks its
// profile: the GLSL compiler of the driver optimises without options.
CGcontext cgCreateContext();
void cgDestroyContext(CGcontext context);
CGprofile cgGLGetLatestProfile(CGGLenum profileClass);
void cgGLSetOptimalOptions(CGprofile profile);

// Programs. Create reads and compiles the source; load links it and takes its
// parameters from the driver. programType must be CG_SOURCE, entry "main", args
// null or an empty list. A profile may be enabled and its program bound in
// either order; disabling a profile also unbinds its program, so a program
// bound for one draw never pairs with the next draw's other program. With no
// profile enabled, fixed-function drawing is back. Destroying a bound program
// unbinds it; its parameter handles die with it.
CGprogram cgCreateProgramFromFile(CGcontext context, CGenum programType, const char* path,
                                  CGprofile profile, const char* entry, const char** args);
void cgGLLoadProgram(CGprogram program);
void cgDestroyProgram(CGprogram program);
void cgGLEnableProfile(CGprofile profile);
void cgGLDisableProfile(CGprofile profile);
void cgGLBindProgram(CGprogram program);
// Not among the classic calls: both stages in one step. Enables both profiles and
// binds a vertex and a fragment program, so that the pair becomes current with
// one program switch and neither program is current alone on the way; values set
// after it reach the pair at once, and each only once. Unbinding disables both
// profiles the same way, back to fixed-function drawing.
void cgGLBindProgramPair(CGprogram vertex, CGprogram fragment);
void cgGLUnbindProgramPair();

// Parameters. Lookup returns null for a name the program does not have (see
// above). A program has its parameters once loaded; one whose file, compile or
// link failed has the names its source declares. A float or vector parameter
// takes as many components as its type has; those a call does not give become
// 0 for y and z and 1 for w, as glVertexAttrib fills them. A call that
// disagrees with the driver's type is a CG_INVALID_PARAMETER_ERROR: a float
// setter on a sampler, int, bool or matrix, more components than the parameter
// has, a state matrix on anything but a mat4 uniform, a texture on a non-sampler.
CGparameter cgGetNamedParameter(CGprogram program, const char* name);
void cgGLSetParameter1f(CGparameter parameter, float x);
void cgGLSetParameter2f(CGparameter parameter, float x, float y);
void cgGLSetParameter3f(CGparameter parameter, float x, float y, float z);
void cgGLSetParameter4f(CGparameter parameter, float x, float y, float z, float w);
// Copies the GL matrix in force now (modelview, projection, texture matrix of the
// active unit, or projection * modelview), optionally inverted and/or transposed,
// into a mat4 uniform. A singular matrix inverts to all zeros.
void cgGLSetStateMatrixParameter(CGparameter parameter, CGGLenum matrix, CGGLenum transform);
// Checks that the parameter is a sampler. The sampler reads the texture bound on
// its unit (see above), so the caller binds the texture there itself.
void cgGLSetTextureParameter(CGparameter parameter, GLuint texture);
