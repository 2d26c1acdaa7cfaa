// The runtime's process-wide state: the last error, the error callback, the
// error texts, the listings and the registry of live contexts and programs.
#include "shading/runtime/HandleRecords.h"

#include <algorithm>
#include <unordered_set>

namespace {

CGerror lastError = CG_NO_ERROR;
CGerrorCallbackFunc errorCallback = nullptr;
// Few contexts live at a time (the program has one); programs are checked per bind.
std::vector<ShadingContextRecord*> liveContexts;
std::unordered_set<const ShadingProgramRecord*> livePrograms;

} // namespace

namespace korvath::shading {

void reportError(CGerror error, ShadingContextRecord* context, const std::string& listing) {
    lastError = error;
    if (context != nullptr) {
        context->listing = listing;
    } else {
        for (ShadingContextRecord* live : liveContexts) {
            live->listing = listing;
        }
    }
    if (errorCallback != nullptr) {
        errorCallback();
    }
}

bool isLiveContext(const ShadingContextRecord* context) {
    return context != nullptr &&
           std::find(liveContexts.begin(), liveContexts.end(), context) != liveContexts.end();
}

bool isLiveProgram(const ShadingProgramRecord* program) {
    return livePrograms.count(program) != 0;
}

void registerContext(ShadingContextRecord* context, bool alive) {
    if (alive) {
        liveContexts.push_back(context);
    } else {
        liveContexts.erase(std::remove(liveContexts.begin(), liveContexts.end(), context),
                           liveContexts.end());
    }
}

void registerProgram(ShadingProgramRecord* program, bool alive) {
    if (alive) {
        livePrograms.insert(program);
    } else {
        livePrograms.erase(program);
    }
}

GLenum shaderType(CGprofile profile) {
    switch (profile) {
    case CG_PROFILE_GLSLV:
        return GL_VERTEX_SHADER;
    case CG_PROFILE_GLSLF:
        return GL_FRAGMENT_SHADER;
    default:
        return 0;
    }
}

} // namespace korvath::shading

void cgSetErrorCallback(CGerrorCallbackFunc callback) {
    errorCallback = callback;
}

CGerror cgGetError() {
    const CGerror error = lastError;
    lastError = CG_NO_ERROR;
    return error;
}

const char* cgGetErrorString(CGerror error) {
    switch (error) {
    case CG_NO_ERROR:
        return "no error";
    case CG_FILE_READ_ERROR:
        return "file read error";
    case CG_COMPILER_ERROR:
        return "compiler error";
    case CG_PROGRAM_LOAD_ERROR:
        return "program load error";
    case CG_INVALID_PROFILE_ERROR:
        return "invalid profile";
    case CG_INVALID_PARAMETER_ERROR:
        return "invalid parameter";
    case CG_INVALID_PROGRAM_HANDLE_ERROR:
        return "invalid program handle";
    case CG_INVALID_CONTEXT_HANDLE_ERROR:
        return "invalid context handle";
    case CG_INVALID_ENUMERANT_ERROR:
        return "invalid enumerant";
    case CG_UNSUPPORTED_ERROR:
        return "unsupported operation";
    }
    return "unknown error";
}

const char* cgGetLastListing(CGcontext context) {
    if (!korvath::shading::isLiveContext(context)) {
        return "";
    }
    return context->listing.c_str();
}
