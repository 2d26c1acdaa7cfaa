// Contexts, profiles and programs: reading a source file, compiling its stage,
// linking it as a separable program and taking its parameters from the driver.
#include "shading/DriverParameters.h"
#include "shading/ShadingRecords.h"
#include "shading/SourceFile.h"
#include "shading/UniformTypes.h"

#include <algorithm>
#include <cstring>
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

ShadingParameterRecord& addParameter(ShadingProgramRecord& program, const std::string& name,
                                     ParameterKind kind) {
    auto parameter = std::make_unique<ShadingParameterRecord>();
    parameter->program = &program;
    parameter->name = name;
    parameter->kind = kind;
    program.parameters.push_back(std::move(parameter));
    return *program.parameters.back();
}

// Whether the driver reports the name itself, or a member or element of it
// ("light.colour", "weights[1]" for a declared "light" or "weights").
bool driverKnows(const ShadingProgramRecord& program, const std::string& name) {
    return std::any_of(program.parameters.begin(), program.parameters.end(), [&](const auto& p) {
        return p->name.compare(0, name.size(), name) == 0 &&
               (p->name.size() == name.size() || p->name[name.size()] == '.' ||
                p->name[name.size()] == '[');
    });
}

// Adds what the source declares but the driver did not report: it optimised
// them away, or the program failed before the driver could say. Their lookup
// succeeds; setting them does nothing.
void addDeclaredNames(ShadingProgramRecord& program) {
    for (const korvath::SourceDeclaration& declaration : program.declarations) {
        if (!driverKnows(program, declaration.name)) {
            addParameter(program, declaration.name,
                         declaration.storage == korvath::StorageKind::Input
                             ? ParameterKind::VertexAttribute
                             : ParameterKind::Uniform);
        }
    }
    program.declarations.clear();
    program.declarations.shrink_to_fit();
}

void fail(ShadingProgramRecord& program, CGerror error, const std::string& listing) {
    program.failed = true;
    addDeclaredNames(program);
    reportError(error, program.context, listing);
}

bool driverHasWhatTheRuntimeNeeds() {
    return glCreateShader != nullptr && glProgramParameteri != nullptr &&
           glGenProgramPipelines != nullptr && glUseProgramStages != nullptr &&
           glProgramUniform1i != nullptr && glProgramUniformMatrix4fv != nullptr &&
           glGetProgramInterfaceiv != nullptr && glGetProgramResourceiv != nullptr &&
           glGetProgramResourceName != nullptr;
}

// What the source declares, for addDeclaredNames. A fragment input is fed by the
// vertex stage, not set by callers, so only vertex inputs count.
std::vector<korvath::SourceDeclaration> declaredParameters(const ShadingProgramRecord& program,
                                                           const std::string& source) {
    const korvath::ShaderStage stage = program.profile == CG_PROFILE_GLSLV
                                           ? korvath::ShaderStage::Vertex
                                           : korvath::ShaderStage::Fragment;
    std::vector<korvath::SourceDeclaration> declarations =
        korvath::findDeclarations(source, stage, korvath::DriverDefinitions{});
    if (program.profile != CG_PROFILE_GLSLV) {
        declarations.erase(std::remove_if(declarations.begin(), declarations.end(),
                                          [](const auto& declaration) {
                                              return declaration.storage ==
                                                     korvath::StorageKind::Input;
                                          }),
                           declarations.end());
    }
    return declarations;
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
    if (!driverHasWhatTheRuntimeNeeds()) {
        fail(program, CG_UNSUPPORTED_ERROR,
             describe(program, "the OpenGL driver lacks separate shader objects or program "
                               "interface queries (OpenGL 4.3)"));
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

// Binds the inputs the driver found active in the first link to the generic
// locations, in the driver's order; the caller links again for them to apply.
// Further inputs keep the driver's choice.
void bindInputLocations(GLuint program) {
    const auto inputs = korvath::shading::activeInputs(program);
    for (size_t i = 0; i < inputs.size() && i < std::size(kAttributeLocations); ++i) {
        glBindAttribLocation(program, kAttributeLocations[i], inputs[i].name.c_str());
    }
}

// Makes the driver's active parameters the program's: uniforms with their type
// and location, samplers with the unit their value holds (set by the source's
// layout(binding), 0 without one), and a vertex program's inputs. Returns the
// name of an input at location 0, if any: between glBegin and glEnd setting it
// would issue a vertex instead.
std::string addDriverParameters(ShadingProgramRecord& program) {
    for (const auto& uniform : korvath::shading::activeUniforms(program.program)) {
        const bool sampler = korvath::isSamplerType(uniform.type);
        ShadingParameterRecord& parameter = addParameter(
            program, uniform.name, sampler ? ParameterKind::Sampler : ParameterKind::Uniform);
        parameter.type = uniform.type;
        parameter.location = uniform.location;
        if (sampler) {
            glGetUniformiv(program.program, uniform.location, &parameter.textureUnit);
        }
    }
    if (program.profile != CG_PROFILE_GLSLV) {
        return "";
    }
    std::string atVertexLocation;
    for (const auto& input : korvath::shading::activeInputs(program.program)) {
        ShadingParameterRecord& parameter =
            addParameter(program, input.name, ParameterKind::VertexAttribute);
        parameter.type = input.type;
        parameter.location = input.location;
        if (input.location == 0) {
            atVertexLocation = input.name;
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
    std::string problem;
    if (!korvath::shading::readSourceFile(program.path, &source, &problem)) {
        fail(program, CG_FILE_READ_ERROR, describe(program, problem));
        return &program;
    }
    program.declarations = declaredParameters(program, source);
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
    glLinkProgram(program->program);
    GLint linked = GL_FALSE;
    glGetProgramiv(program->program, GL_LINK_STATUS, &linked);
    if (linked == GL_TRUE && program->profile == CG_PROFILE_GLSLV) {
        bindInputLocations(program->program);
        glLinkProgram(program->program);
        glGetProgramiv(program->program, GL_LINK_STATUS, &linked);
    }
    glDetachShader(program->program, program->shader);
    glDeleteShader(program->shader);
    program->shader = 0;

    const std::string listing = prefixLines(program->path, programLog(program->program));
    if (linked != GL_TRUE) {
        glDeleteProgram(program->program);
        program->program = 0;
        fail(*program, CG_PROGRAM_LOAD_ERROR,
             listing.empty() ? describe(*program, "link failed") : listing);
        return;
    }
    program->context->listing = listing;
    const std::string atVertexLocation = addDriverParameters(*program);
    addDeclaredNames(*program);
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
