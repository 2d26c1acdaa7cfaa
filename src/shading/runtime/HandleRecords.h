// The records behind the runtime's handles and the helpers its files share.
// Internal to src/shading: callers see only the opaque handles of ShadingRuntime.h.
#pragma once

#include "shading/ShadingRuntime.h"
#include "shading/source/SourceDeclarations.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace korvath {
enum class ParameterKind { Uniform, VertexAttribute, Sampler };
} // namespace korvath

struct ShadingParameterRecord {
    ShadingProgramRecord* program = nullptr;
    std::size_t index = 0; // in program->parameters; its slot in every linked program
    std::string name;
    // The driver's type (GL_FLOAT_VEC3, ...). 0 for a declaration the driver
    // dropped: nothing to check a call against. A vertex program linked alone
    // drops what feeds only its outputs; a pair's link supplies those types.
    GLenum type = 0;
    korvath::ParameterKind kind = korvath::ParameterKind::Uniform;
    // Per-vertex parameters: the generic attribute location, the same in every
    // program the vertex program is linked into. Uniforms: the location in the
    // program linked alone, -1 where the driver has none.
    GLint location = -1;
    // Uniforms keep their last value (samplers their unit) for every linked
    // program they reach later; version counts the sets, 0 for never set.
    std::array<float, 16> value{};
    int setComponents = 0;  // what the last set gave: 1 to 4 floats, or 16 (a matrix)
    const char* setBy = ""; // the call that set it, for a type learnt later
    GLint textureUnit = -1;
    std::uint64_t version = 0;
};

namespace korvath::shading {

// Where one program's parameter sits in a linked GL program, and which of its
// versions that location holds.
struct ParameterSlot {
    GLint location = -1; // -1: nothing to upload there (per-vertex, or dropped)
    std::uint64_t uploaded = 0;
};

// A GL program object the runtime makes current: one vertex or fragment program
// linked alone at load, or a vertex and a fragment program linked as a pair the
// first time both are bound.
struct LinkedProgram {
    GLuint id = 0; // 0 when its link failed: fixed-function drawing while current
    ShadingProgramRecord* vertex = nullptr;
    ShadingProgramRecord* fragment = nullptr;
    std::vector<ParameterSlot> vertexSlots; // by parameter index
    std::vector<ParameterSlot> fragmentSlots;
    // Uniforms both programs of a pair declare, which GLSL makes one variable
    // of the linked program: (vertex parameter index, fragment parameter index).
    std::vector<std::pair<std::size_t, std::size_t>> shared;
};

} // namespace korvath::shading

struct ShadingProgramRecord {
    ShadingContextRecord* context = nullptr;
    CGprofile profile = CG_PROFILE_UNKNOWN;
    std::string path;
    GLuint shader = 0; // the compiled stage, attached to every program linked from it
    // A program whose file, compile or link failed: it stays a valid handle that
    // draws nothing, so callers that never check handles do not crash.
    bool failed = false;
    // What the source declares, kept from create to load: the parameters are
    // the driver's active ones plus these names, where the driver dropped them.
    std::vector<korvath::SourceDeclaration> declarations;
    std::vector<std::unique_ptr<ShadingParameterRecord>> parameters;
    // Linked at load: the driver reports the parameters from it, and it draws
    // while the other stage has no program.
    korvath::shading::LinkedProgram alone;
};

struct ShadingContextRecord {
    std::string listing;
    std::vector<std::unique_ptr<ShadingProgramRecord>> programs;
    // The driver's predefined macros, read with the first program created.
    std::optional<korvath::DriverDefinitions> driver;
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

// The GL shader type of a profile (GL_VERTEX_SHADER, GL_FRAGMENT_SHADER); 0 for
// an unknown profile.
GLenum shaderType(CGprofile profile);

} // namespace korvath::shading
