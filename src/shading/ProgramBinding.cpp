// Enabling profiles and binding programs: the enabled stages' programs are put
// into their context's program pipeline; with no stage left, the pipeline is
// unbound so fixed-function drawing works again.
#include "shading/ShadingRecords.h"

using korvath::shading::reportError;

namespace {

struct StageBinding {
    bool enabled = false;
    ShadingProgramRecord* program = nullptr;
};

StageBinding vertexStage;
StageBinding fragmentStage;
ShadingContextRecord* boundContext = nullptr; // whose pipeline is bound, if any

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

void applyBindings() {
    ShadingProgramRecord* vertex = activeProgram(vertexStage);
    ShadingProgramRecord* fragment = activeProgram(fragmentStage);
    if (vertex == nullptr && fragment == nullptr) {
        if (boundContext != nullptr) {
            // Emptied as well as unbound: a program still used by a pipeline
            // would outlive its glDeleteProgram.
            glUseProgramStages(boundContext->pipeline, GL_ALL_SHADER_BITS, 0);
            glBindProgramPipeline(0);
            boundContext = nullptr;
        }
        return;
    }
    ShadingContextRecord* context = (vertex != nullptr ? vertex : fragment)->context;
    if (context->pipeline == 0) {
        glGenProgramPipelines(1, &context->pipeline);
    }
    if (boundContext != nullptr && boundContext != context) {
        glUseProgramStages(boundContext->pipeline, GL_ALL_SHADER_BITS, 0);
    }
    // A program made current with glUseProgram would take precedence over the pipeline.
    glUseProgram(0);
    glBindProgramPipeline(context->pipeline);
    boundContext = context;
    glUseProgramStages(context->pipeline, GL_VERTEX_SHADER_BIT,
                       vertex != nullptr ? vertex->program : 0);
    glUseProgramStages(context->pipeline, GL_FRAGMENT_SHADER_BIT,
                       fragment != nullptr ? fragment->program : 0);
}

void setProfileEnabled(CGprofile profile, bool enabled, const char* call) {
    StageBinding* stage = stageOf(profile);
    if (stage == nullptr) {
        reportError(CG_INVALID_PROFILE_ERROR, nullptr, std::string(call) + ": unknown profile");
        return;
    }
    stage->enabled = enabled;
    applyBindings();
}

} // namespace

namespace korvath::shading {

void forgetBinding(const ShadingProgramRecord* program) {
    bool wasBound = false;
    for (StageBinding* stage : {&vertexStage, &fragmentStage}) {
        if (stage->program == program) {
            stage->program = nullptr;
            wasBound = true;
        }
    }
    if (wasBound) {
        applyBindings();
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
    if (!korvath::shading::isLiveProgram(program)) {
        reportError(CG_INVALID_PROGRAM_HANDLE_ERROR, nullptr,
                    "cgGLBindProgram: invalid program handle");
        return;
    }
    if (!program->failed && program->program == 0) {
        reportError(CG_PROGRAM_LOAD_ERROR, program->context,
                    program->path + ": bound before cgGLLoadProgram loaded it");
        return;
    }
    StageBinding* stage = stageOf(program->profile);
    if (stage == nullptr) {
        return; // created with an unknown profile: that failure is reported already
    }
    stage->program = program;
    applyBindings();
}
