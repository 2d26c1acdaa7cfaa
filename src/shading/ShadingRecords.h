// The records behind the runtime's handles and the helpers its files share.
// Internal to src/shading: callers see only the opaque handles of ShadingRuntime.h.
#pragma once

#include "shading/ShadingRuntime.h"
#include "shading/source/SourceDeclarations.h"

#include <memory>
#include <string>
#include <vector>

namespace korvath {
enum class ParameterKind { Uniform, VertexAttribute, Sampler };
} // namespace korvath

struct ShadingParameterRecord {
    ShadingProgramRecord* program = nullptr;
    std::string name;
    // The driver's type (GL_FLOAT_VEC3, ...); 0 for a declaration the driver
    // optimised away, which has no location and no type to check against.
    GLenum type = 0;
    korvath::ParameterKind kind = korvath::ParameterKind::Uniform;
    GLint location = -1;
    GLint textureUnit = -1; // samplers: the unit their layout(binding) gave, 0 without one
};

struct ShadingProgramRecord {
    ShadingContextRecord* context = nullptr;
    CGprofile profile = CG_PROFILE_UNKNOWN;
    std::string path;
    GLuint shader = 0;  // the compiled stage, until it is linked
    GLuint program = 0; // the linked separable program
    // A program whose file, compile or link failed: it stays a valid handle that
    // draws nothing, so callers that never check handles do not crash.
    bool failed = false;
    // What the source declares, kept from create to load: the parameters are
    // the driver's active ones plus these names, where the driver dropped them.
    std::vector<korvath::SourceDeclaration> declarations;
    std::vector<std::unique_ptr<ShadingParameterRecord>> parameters;
};

struct ShadingContextRecord {
    GLuint pipeline = 0; // created with the first program
    std::string listing;
    std::vector<std::unique_ptr<ShadingProgramRecord>> programs;
};

namespace korvath::shading {

// Records the error, describes it in the listing (of `context`, or of every live
// context when none is known), then calls the registered callback.
void reportError(CGerror error, ShadingContextRecord* context, const std::string& listing);

// Contexts alive now, so that handles can be checked before use.
bool isLiveContext(const ShadingContextRecord* context);
bool isLiveProgram(const ShadingProgramRecord* program);
void registerContext(ShadingContextRecord* context, bool alive);
void registerProgram(ShadingProgramRecord* program, bool alive);

// The GL stage bit of a profile; 0 for an unknown profile.
GLbitfield stageBit(CGprofile profile);

// Takes a program out of the pipeline if it is bound there (before it is destroyed).
void forgetBinding(const ShadingProgramRecord* program);

} // namespace korvath::shading
