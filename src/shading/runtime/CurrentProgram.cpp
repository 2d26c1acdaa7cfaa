// Enabling profiles and binding programs. The enabled stages' programs decide
// what is current: both as their linked pair, one alone (the other stage is
// fixed function), or none (fixed-function drawing). A linked program made
// current receives the values set since it last held them.
#include "shading/runtime/CurrentProgram.h"

#include "shading/runtime/PairCache.h"
#include "shading/runtime/ParameterValues.h"

using korvath::shading::LinkedProgram;
using korvath::shading::ParameterSlot;
using korvath::shading::reportError;

namespace {

struct StageBinding {
    bool enabled = false;
    ShadingProgramRecord* program = nullptr;
};

StageBinding vertexStage;
StageBinding fragmentStage;
LinkedProgram* current = nullptr; // in use by GL; null: fixed function

StageBinding* stageOf(CGprofile profile) {
    switch (profile) {
    case CG_PROFILE_GLSLV:
        return &vertexStage;
    case CG_PROFILE_GLSLF:
        return &fragmentStage;
    default:
        return nullptr;
    }
}

ShadingProgramRecord* activeProgram(const StageBinding& stage) {
    if (!stage.enabled || stage.program == nullptr || stage.program->failed) {
        return nullptr;
    }
    return stage.program;
}

LinkedProgram* chosenProgram() {
    ShadingProgramRecord* vertex = activeProgram(vertexStage);
    ShadingProgramRecord* fragment = activeProgram(fragmentStage);
    LinkedProgram* chosen = nullptr;
    if (vertex != nullptr && fragment != nullptr) {
        chosen = &korvath::shading::linkedPair(*vertex, *fragment);
    } else if (vertex != nullptr || fragment != nullptr) {
        chosen = &(vertex != nullptr ? vertex : fragment)->alone;
    }
    // A pair that failed to link draws nothing of its own.
    return chosen != nullptr && chosen->id != 0 ? chosen : nullptr;
}

// A uniform that both programs of the pair declare is one variable there, so
// the two values set on it must agree. Checked where either changed since the
// pair last held it; a value never set agrees with anything.
void checkSharedValues(LinkedProgram& pair) {
    for (const auto& [inVertex, inFragment] : pair.shared) {
        const ShadingParameterRecord& vertexValue = *pair.vertex->parameters[inVertex];
        const ShadingParameterRecord& fragmentValue = *pair.fragment->parameters[inFragment];
        const ParameterSlot& vertexSlot = pair.vertexSlots[inVertex];
        const bool changed = vertexSlot.uploaded != vertexValue.version ||
                             pair.fragmentSlots[inFragment].uploaded != fragmentValue.version;
        if (vertexSlot.location >= 0 && changed && vertexValue.version != 0 &&
            fragmentValue.version != 0 &&
            !korvath::shading::sameValue(vertexValue, fragmentValue)) {
            reportError(CG_INVALID_PARAMETER_ERROR, pair.vertex->context,
                        pair.vertex->path + " and " + pair.fragment->path + ": uniform \"" +
                            vertexValue.name +
                            "\" is one variable of the linked pair, but the programs set it to " +
                            korvath::shading::describeValue(vertexValue) + " and " +
                            korvath::shading::describeValue(fragmentValue));
        }
    }
}

void uploadStaleValues(const ShadingProgramRecord* program, std::vector<ParameterSlot>& slots) {
    for (std::size_t index = 0; index < slots.size(); ++index) {
        ParameterSlot& slot = slots[index];
        const ShadingParameterRecord& parameter = *program->parameters[index];
        if (slot.location >= 0 && slot.uploaded != parameter.version) {
            korvath::shading::uploadValue(parameter, slot.location);
            slot.uploaded = parameter.version;
        }
    }
}

void applyBindings() {
    LinkedProgram* chosen = chosenProgram();
    if (chosen != current) {
        glUseProgram(chosen != nullptr ? chosen->id : 0);
        current = chosen;
    }
    if (current == nullptr) {
        return;
    }
    if (current->vertex != nullptr && current->fragment != nullptr) {
        checkSharedValues(*current);
    }
    // The fragment program's last: where a shared value disagrees, its value holds.
    if (current->vertex != nullptr) {
        uploadStaleValues(current->vertex, current->vertexSlots);
    }
    if (current->fragment != nullptr) {
        uploadStaleValues(current->fragment, current->fragmentSlots);
    }
}

// Reports a handle that cannot be bound; a program whose file, compile or link
// failed can: it draws nothing.
bool isBindable(const ShadingProgramRecord* program, const char* call) {
    if (!korvath::shading::isLiveProgram(program)) {
        reportError(CG_INVALID_PROGRAM_HANDLE_ERROR, nullptr,
                    std::string(call) + ": invalid program handle");
        return false;
    }
    if (!program->failed && program->alone.id == 0) {
        reportError(CG_PROGRAM_LOAD_ERROR, program->context,
                    program->path + ": bound before cgGLLoadProgram loaded it");
        return false;
    }
    return true;
}

void setProfileEnabled(CGprofile profile, bool enabled, const char* call) {
    StageBinding* stage = stageOf(profile);
    if (stage == nullptr) {
        reportError(CG_INVALID_PROFILE_ERROR, nullptr, std::string(call) + ": unknown profile");
        return;
    }
    stage->enabled = enabled;
    // A program left bound from an earlier draw would pair with the next draw's
    // program of the other stage, which enables its profile before it binds.
    if (!enabled) {
        stage->program = nullptr;
    }
    applyBindings();
}

} // namespace

namespace korvath::shading {

void forgetProgram(const ShadingProgramRecord* program) {
    bool wasBound = false;
    for (StageBinding* stage : {&vertexStage, &fragmentStage}) {
        if (stage->program == program) {
            stage->program = nullptr;
            wasBound = true;
        }
    }
    if (current != nullptr && (current->vertex == program || current->fragment == program)) {
        glUseProgram(0);
        current = nullptr;
    }
    releasePairs(program);
    if (wasBound) {
        applyBindings();
    }
}

void uploadIfCurrent(ShadingParameterRecord& parameter) {
    std::vector<ParameterSlot>* slots =
        current != nullptr ? slotsOf(*current, parameter.program) : nullptr;
    if (slots == nullptr || (*slots)[parameter.index].location < 0) {
        return;
    }
    uploadValue(parameter, (*slots)[parameter.index].location);
    (*slots)[parameter.index].uploaded = parameter.version;
    // A shared uniform now holds this value, not the other program's: that one
    // is compared and uploaded again when the pair is next bound.
    for (const auto& [inVertex, inFragment] : current->shared) {
        if (parameter.program == current->vertex && inVertex == parameter.index) {
            current->fragmentSlots[inFragment].uploaded = 0;
        } else if (parameter.program == current->fragment && inFragment == parameter.index) {
            current->vertexSlots[inVertex].uploaded = 0;
        }
    }
}

} // namespace korvath::shading

void cgGLEnableProfile(CGprofile profile) {
    setProfileEnabled(profile, true, "cgGLEnableProfile");
}

void cgGLDisableProfile(CGprofile profile) {
    setProfileEnabled(profile, false, "cgGLDisableProfile");
}

void cgGLBindProgram(CGprogram program) {
    if (!isBindable(program, "cgGLBindProgram")) {
        return;
    }
    StageBinding* stage = stageOf(program->profile);
    if (stage == nullptr) {
        return; // created with an unknown profile: that failure is reported already
    }
    stage->program = program;
    applyBindings();
}

void cgGLBindProgramPair(CGprogram vertex, CGprogram fragment) {
    constexpr const char* call = "cgGLBindProgramPair";
    if (!isBindable(vertex, call) || !isBindable(fragment, call)) {
        return;
    }
    if (vertex->profile != CG_PROFILE_GLSLV || fragment->profile != CG_PROFILE_GLSLF) {
        reportError(CG_INVALID_PROFILE_ERROR, vertex->context,
                    vertex->path + " and " + fragment->path + ": " + call +
                        ": takes a vertex and then a fragment program");
        return;
    }
    vertexStage = {true, vertex};
    fragmentStage = {true, fragment};
    applyBindings();
}

void cgGLUnbindProgramPair() {
    vertexStage = {};
    fragmentStage = {};
    applyBindings();
}
