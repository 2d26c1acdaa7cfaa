// Contexts, profiles and programs: reading a source file, compiling its stage,
// linking it as a separable program and finding its parameters' locations.
#include "shading/ShadingRecords.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

using korvath::ParameterKind;
using korvath::shading::reportError;

namespace {

// Generic attribute locations for per-vertex parameters. None of them aliases a
// built-in on any driver: inside glBegin/glEnd location 0 acts as glVertex, and
// some drivers alias 2-5 and 8-15 to gl_Normal, gl_Color, ..., gl_MultiTexCoord*.
constexpr GLuint kAttributeLocations[] = {1, 6, 7};

std::string describe(const ShadingProgramRecord& program, const std::string& message) {
    return program.path + ": " + message;
}

// Puts the file path in front of every line of a driver log, so each line says
// which source it is about ("cg/vp_ocean.cg: 0:12(3): error: ...").
std::string prefixLines(const std::string& path, const std::string& log) {
    std::string result;
    std::istringstream lines(log);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.empty()) {
            continue;
        }
        if (!result.empty()) {
            result += '\n';
        }
        result += path + ": " + line;
    }
    return result;
}

std::string shaderLog(GLuint shader) {
    GLint length = 0;
    glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
    std::string log(static_cast<size_t>(std::max(length, 1)), '\0');
    glGetShaderInfoLog(shader, length, nullptr, log.data());
    return log.c_str();
}

std::string programLog(GLuint program) {
    GLint length = 0;
    glGetProgramiv(program, GL_INFO_LOG_LENGTH, &length);
    std::string log(static_cast<size_t>(std::max(length, 1)), '\0');
    glGetProgramInfoLog(program, length, nullptr, log.data());
    return log.c_str();
}

void fail(ShadingProgramRecord& program, CGerror error, const std::string& listing) {
    program.failed = true;
    reportError(error, program.context, listing);
}

bool driverHasSeparablePrograms() {
    return glCreateShader != nullptr && glProgramParameteri != nullptr &&
           glGenProgramPipelines != nullptr && glUseProgramStages != nullptr &&
           glProgramUniform1i != nullptr && glProgramUniformMatrix4fv != nullptr;
}

bool readFile(const std::string& path, std::string* text, std::string* reason) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        *reason = std::strerror(errno);
        return false;
    }
    std::ostringstream contents;
    contents << file.rdbuf();
    if (file.bad()) {
        *reason = "read failed";
        return false;
    }
    *text = contents.str();
    return true;
}

void addParameters(ShadingProgramRecord& program, const std::string& source) {
    GLint nextUnit = 0;
    for (const korvath::SourceDeclaration& declaration : korvath::findDeclarations(source)) {
        const bool vertexInput = declaration.storage == korvath::StorageKind::Input;
        if (vertexInput && program.profile != CG_PROFILE_GLSLV) {
            continue; // a fragment input is fed by the vertex stage, not set by callers
        }
        const bool known = std::any_of(program.parameters.begin(), program.parameters.end(),
                                       [&](const auto& p) { return p->name == declaration.name; });
        if (known) {
            continue;
        }
        auto parameter = std::make_unique<ShadingParameterRecord>();
        parameter->program = &program;
        parameter->name = declaration.name;
        parameter->type = declaration.type;
        if (vertexInput) {
            parameter->kind = ParameterKind::VertexAttribute;
        } else if (korvath::isSamplerType(declaration.type)) {
            parameter->kind = ParameterKind::Sampler;
            parameter->textureUnit = nextUnit++;
        }
        program.parameters.push_back(std::move(parameter));
    }
}

// Checks the arguments; on misuse reports it and returns false.
bool acceptArguments(ShadingProgramRecord& program, CGenum programType, const char* path,
                     const char* entry, const char** args) {
    if (path == nullptr) {
        fail(program, CG_INVALID_PARAMETER_ERROR, "cgCreateProgramFromFile: null file path");
        return false;
    }
    if (programType != CG_SOURCE) {
        fail(program, CG_UNSUPPORTED_ERROR,
             describe(program, "only CG_SOURCE programs can be created"));
        return false;
    }
    if (korvath::shading::stageBit(program.profile) == 0) {
        fail(program, CG_INVALID_PROFILE_ERROR,
             describe(program, "the profile is neither vertex nor fragment"));
        return false;
    }
    if (entry == nullptr || std::strcmp(entry, "main") != 0) {
        fail(program, CG_UNSUPPORTED_ERROR,
             describe(program, std::string("the entry point must be \"main\", not \"") +
                                   (entry != nullptr ? entry : "(null)") + "\""));
        return false;
    }
    if (args != nullptr && args[0] != nullptr) {
        fail(program, CG_UNSUPPORTED_ERROR,
             describe(program, "compiler arguments are not supported"));
        return false;
    }
    if (!driverHasSeparablePrograms()) {
        fail(program, CG_UNSUPPORTED_ERROR,
             describe(program, "the OpenGL driver lacks separate shader objects (OpenGL 4.1)"));
        return false;
    }
    return true;
}

void compile(ShadingProgramRecord& program, const std::string& source) {
    const GLenum stage =
        program.profile == CG_PROFILE_GLSLV ? GL_VERTEX_SHADER : GL_FRAGMENT_SHADER;
    program.shader = glCreateShader(stage);
    const char* text = source.c_str();
    glShaderSource(program.shader, 1, &text, nullptr);
    glCompileShader(program.shader);
    GLint compiled = GL_FALSE;
    glGetShaderiv(program.shader, GL_COMPILE_STATUS, &compiled);
    const std::string listing = prefixLines(program.path, shaderLog(program.shader));
    if (compiled != GL_TRUE) {
        glDeleteShader(program.shader);
        program.shader = 0;
        fail(program, CG_COMPILER_ERROR,
             listing.empty() ? describe(program, "compile failed") : listing);
        return;
    }
    program.context->listing = listing;
}

void bindAttributeLocations(const ShadingProgramRecord& program) {
    size_t next = 0;
    for (const auto& parameter : program.parameters) {
        if (parameter->kind != ParameterKind::VertexAttribute) {
            continue;
        }
        if (next == std::size(kAttributeLocations)) {
            break; // further inputs get locations from the driver
        }
        glBindAttribLocation(program.program, kAttributeLocations[next++], parameter->name.c_str());
    }
}

// Finds each parameter's location and gives samplers their units. Returns the
// name of a per-vertex parameter the source put at location 0, if any: between
// glBegin and glEnd setting it would issue a vertex instead.
std::string findLocations(ShadingProgramRecord& program) {
    std::string atVertexLocation;
    for (const auto& parameter : program.parameters) {
        if (parameter->kind == ParameterKind::VertexAttribute) {
            parameter->location = glGetAttribLocation(program.program, parameter->name.c_str());
            if (parameter->location == 0) {
                atVertexLocation = parameter->name;
            }
            continue;
        }
        parameter->location = glGetUniformLocation(program.program, parameter->name.c_str());
        if (parameter->kind == ParameterKind::Sampler && parameter->location >= 0) {
            glProgramUniform1i(program.program, parameter->location, parameter->textureUnit);
        }
    }
    return atVertexLocation;
}

void releaseGlObjects(ShadingProgramRecord& program) {
    korvath::shading::forgetBinding(&program);
    if (program.shader != 0) {
        glDeleteShader(program.shader);
    }
    if (program.program != 0) {
        glDeleteProgram(program.program);
    }
    korvath::shading::registerProgram(&program, false);
}

} // namespace

CGcontext cgCreateContext() {
    auto* context = new ShadingContextRecord();
    korvath::shading::registerContext(context, true);
    return context;
}

void cgDestroyContext(CGcontext context) {
    if (!korvath::shading::isLiveContext(context)) {
        reportError(CG_INVALID_CONTEXT_HANDLE_ERROR, nullptr,
                    "cgDestroyContext: invalid context handle");
        return;
    }
    for (const auto& program : context->programs) {
        releaseGlObjects(*program);
    }
    if (context->pipeline != 0) {
        glDeleteProgramPipelines(1, &context->pipeline);
    }
    korvath::shading::registerContext(context, false);
    delete context;
}

CGprofile cgGLGetLatestProfile(CGGLenum profileClass) {
    switch (profileClass) {
    case CG_GL_VERTEX:
        return CG_PROFILE_GLSLV;
    case CG_GL_FRAGMENT:
        return CG_PROFILE_GLSLF;
    default:
        reportError(
            CG_INVALID_ENUMERANT_ERROR, nullptr,
            "cgGLGetLatestProfile: the profile class is neither CG_GL_VERTEX nor CG_GL_FRAGMENT");
        return CG_PROFILE_UNKNOWN;
    }
}

// The GLSL compiler of the driver optimises on its own and takes no options, so
// there is nothing to choose; the call only checks its profile.
void cgGLSetOptimalOptions(CGprofile profile) {
    if (korvath::shading::stageBit(profile) == 0) {
        reportError(CG_INVALID_PROFILE_ERROR, nullptr, "cgGLSetOptimalOptions: unknown profile");
    }
}

CGprogram cgCreateProgramFromFile(CGcontext context, CGenum programType, const char* path,
                                  CGprofile profile, const char* entry, const char** args) {
    if (!korvath::shading::isLiveContext(context)) {
        reportError(CG_INVALID_CONTEXT_HANDLE_ERROR, nullptr,
                    "cgCreateProgramFromFile: invalid context handle");
        return nullptr;
    }
    context->programs.push_back(std::make_unique<ShadingProgramRecord>());
    ShadingProgramRecord& program = *context->programs.back();
    korvath::shading::registerProgram(&program, true);
    program.context = context;
    program.profile = profile;
    program.path = path != nullptr ? path : "(null)";
    if (!acceptArguments(program, programType, path, entry, args)) {
        return &program;
    }
    std::string source;
    std::string reason;
    if (!readFile(program.path, &source, &reason)) {
        fail(program, CG_FILE_READ_ERROR, describe(program, "cannot read the file: " + reason));
        return &program;
    }
    addParameters(program, source);
    compile(program, source);
    return &program;
}

void cgGLLoadProgram(CGprogram program) {
    if (!korvath::shading::isLiveProgram(program)) {
        reportError(CG_INVALID_PROGRAM_HANDLE_ERROR, nullptr,
                    "cgGLLoadProgram: invalid program handle");
        return;
    }
    if (program->failed || program->program != 0) {
        return; // its failure is reported already, or it is loaded
    }
    program->program = glCreateProgram();
    glProgramParameteri(program->program, GL_PROGRAM_SEPARABLE, GL_TRUE);
    glAttachShader(program->program, program->shader);
    bindAttributeLocations(*program);
    glLinkProgram(program->program);
    glDetachShader(program->program, program->shader);
    glDeleteShader(program->shader);
    program->shader = 0;

    GLint linked = GL_FALSE;
    glGetProgramiv(program->program, GL_LINK_STATUS, &linked);
    const std::string listing = prefixLines(program->path, programLog(program->program));
    if (linked != GL_TRUE) {
        glDeleteProgram(program->program);
        program->program = 0;
        fail(*program, CG_PROGRAM_LOAD_ERROR,
             listing.empty() ? describe(*program, "link failed") : listing);
        return;
    }
    program->context->listing = listing;
    const std::string atVertexLocation = findLocations(*program);
    if (!atVertexLocation.empty()) {
        glDeleteProgram(program->program);
        program->program = 0;
        fail(
            *program, CG_PROGRAM_LOAD_ERROR,
            describe(*program,
                     "per-vertex parameter \"" + atVertexLocation +
                         "\" is at attribute location 0, which glBegin/glEnd takes as the vertex"));
    }
}

void cgDestroyProgram(CGprogram program) {
    if (!korvath::shading::isLiveProgram(program)) {
        reportError(CG_INVALID_PROGRAM_HANDLE_ERROR, nullptr,
                    "cgDestroyProgram: invalid program handle");
        return;
    }
    releaseGlObjects(*program);
    auto& programs = program->context->programs;
    programs.erase(std::find_if(programs.begin(), programs.end(),
                                [&](const auto& owned) { return owned.get() == program; }));
}
