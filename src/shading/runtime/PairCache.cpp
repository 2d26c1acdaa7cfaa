// The cache of linked pairs. A pair binds the vertex program's inputs to the
// locations its alone link gave them, so every pair sharing a vertex program
// takes per-vertex values at the same attributes. Its link also tells the types
// of what the vertex program linked alone dropped (all that feeds only its
// outputs, which no fragment stage read there).
#include "shading/runtime/PairCache.h"

#include "shading/runtime/ActiveVariables.h"
#include "shading/runtime/CompileAndLink.h"
#include "shading/runtime/ParameterValues.h"
#include "shading/runtime/UniformTypes.h"

#include <algorithm>

namespace korvath::shading {

namespace {

std::vector<std::unique_ptr<LinkedProgram>> pairs;

std::string pairName(const LinkedProgram& pair) {
    return pair.vertex->path + " and " + pair.fragment->path;
}

std::vector<AttributeBinding> attributeBindings(const ShadingProgramRecord& vertex) {
    std::vector<AttributeBinding> bindings;
    for (const auto& parameter : vertex.parameters) {
        if (parameter->kind == ParameterKind::VertexAttribute && parameter->location >= 0) {
            bindings.emplace_back(parameter->name, static_cast<GLuint>(parameter->location));
        }
    }
    return bindings;
}

// Pairs the uniforms both programs have a driver type for (in pair.shared).
// Returns a message if two of them have different types: GLSL cannot make them
// one. Asked before the link, where the driver's own message would be less
// plain, and after it, when the link has told the dropped names' types.
std::string findShared(LinkedProgram& pair) {
    pair.shared.clear();
    for (const auto& inVertex : pair.vertex->parameters) {
        if (inVertex->type == 0 || inVertex->kind == ParameterKind::VertexAttribute) {
            continue;
        }
        for (const auto& inFragment : pair.fragment->parameters) {
            if (inFragment->name != inVertex->name || inFragment->type == 0) {
                continue;
            }
            if (inFragment->type != inVertex->type) {
                return pairName(pair) + ": both declare uniform \"" + inVertex->name +
                       "\", which the linked pair shares, as " + glslTypeName(inVertex->type) +
                       " and " + glslTypeName(inFragment->type);
            }
            pair.shared.emplace_back(inVertex->index, inFragment->index);
        }
    }
    return "";
}

ShadingParameterRecord* untyped(ShadingProgramRecord& program, const std::string& name) {
    for (const auto& parameter : program.parameters) {
        if (parameter->type == 0 && parameter->name == name) {
            return parameter.get();
        }
    }
    return nullptr;
}

GLint samplerCount(const ShadingProgramRecord& program) {
    return static_cast<GLint>(std::count_if(
        program.parameters.begin(), program.parameters.end(),
        [](const auto& parameter) { return parameter->kind == korvath::ParameterKind::Sampler; }));
}

// A dropped uniform's type, now known: a sampler reads the next free unit; a
// value set before must fit the type, as its setter would have checked.
void learnUniformType(ShadingParameterRecord& parameter, GLenum type) {
    parameter.type = type;
    if (isSamplerType(type)) {
        const GLint unit = samplerCount(*parameter.program);
        parameter.kind = ParameterKind::Sampler;
        storeTextureUnit(parameter, unit);
        return;
    }
    const std::string refusal =
        parameter.version != 0 ? valueRefusal(parameter, parameter.setComponents) : "";
    if (!refusal.empty()) {
        parameter.version = 0;
        reportError(CG_INVALID_PARAMETER_ERROR, parameter.program->context,
                    parameterMessage(parameter, parameter.setBy, refusal));
    }
}

void learnDroppedTypes(const LinkedProgram& pair) {
    for (const auto& uniform : activeUniforms(pair.id)) {
        for (ShadingProgramRecord* program : {pair.vertex, pair.fragment}) {
            ShadingParameterRecord* parameter = untyped(*program, uniform.name);
            if (parameter != nullptr && parameter->kind != ParameterKind::VertexAttribute) {
                learnUniformType(*parameter, uniform.type);
            }
        }
    }
    for (const auto& input : activeAttributes(pair.id)) {
        ShadingParameterRecord* parameter = untyped(*pair.vertex, input.name);
        if (parameter != nullptr && parameter->kind == ParameterKind::VertexAttribute) {
            parameter->type = input.type;
            // Past the fixed locations the first pair's choice holds for the later ones.
            parameter->location = input.location;
        }
    }
}

void link(LinkedProgram& pair) {
    const std::string mismatch = findShared(pair);
    if (!mismatch.empty()) {
        reportError(CG_PROGRAM_LOAD_ERROR, pair.vertex->context, mismatch);
        return;
    }
    pair.id = glCreateProgram();
    glAttachShader(pair.id, pair.vertex->shader);
    glAttachShader(pair.id, pair.fragment->shader);
    const LinkResult result = linkProgram(pair.id, attributeBindings(*pair.vertex));
    const std::string listing = prefixLines(pairName(pair), result.log);
    if (!result.linked) {
        glDeleteProgram(pair.id);
        pair.id = 0;
        reportError(CG_PROGRAM_LOAD_ERROR, pair.vertex->context,
                    listing.empty() ? pairName(pair) + ": link failed" : listing);
        return;
    }
    pair.vertex->context->listing = listing;
    learnDroppedTypes(pair);
    pair.vertexSlots = slotsIn(pair.id, *pair.vertex);
    pair.fragmentSlots = slotsIn(pair.id, *pair.fragment);
    findShared(pair);
}

} // namespace

LinkedProgram& linkedPair(ShadingProgramRecord& vertex, ShadingProgramRecord& fragment) {
    for (const auto& pair : pairs) {
        if (pair->vertex == &vertex && pair->fragment == &fragment) {
            return *pair;
        }
    }
    pairs.push_back(std::make_unique<LinkedProgram>());
    LinkedProgram& pair = *pairs.back();
    pair.vertex = &vertex;
    pair.fragment = &fragment;
    link(pair);
    return pair;
}

void releasePairs(const ShadingProgramRecord* program) {
    const auto involves = [&](const auto& pair) {
        return pair->vertex == program || pair->fragment == program;
    };
    for (const auto& pair : pairs) {
        if (involves(pair) && pair->id != 0) {
            glDeleteProgram(pair->id);
        }
    }
    pairs.erase(std::remove_if(pairs.begin(), pairs.end(), involves), pairs.end());
}

std::vector<ParameterSlot>* slotsOf(LinkedProgram& linked, const ShadingProgramRecord* program) {
    if (linked.vertex == program) {
        return &linked.vertexSlots;
    }
    if (linked.fragment == program) {
        return &linked.fragmentSlots;
    }
    return nullptr;
}

} // namespace korvath::shading
