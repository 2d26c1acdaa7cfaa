// Contexts, profiles and programs: reading a source file, compiling its stage,
// linking it alone and taking its parameters from the driver. The stage's
// shader stays for the pairs it is linked into when bound (PairCache.h).
#include "shading/runtime/ActiveVariables.h"
#include "shading/runtime/BoundedSourceRead.h"
#include "shading/runtime/CompileAndLink.h"
#include "shading/runtime/CurrentProgram.h"
#include "shading/runtime/HandleRecords.h"
#include "shading/runtime/ParameterValues.h"
#include "shading/runtime/SamplerUnits.h"
#include "shading/runtime/UniformTypes.h"

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

ShadingParameterRecord& addParameter(ShadingProgramRecord& program, const std::string& name,
                                     ParameterKind kind) {
    auto parameter = std::make_unique<ShadingParameterRecord>();
    parameter->program = &program;
    parameter->index = program.parameters.size();
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

// The OpenGL 2.0 calls the runtime makes; GLEW leaves them null on an older driver.
bool driverHasWhatTheRuntimeNeeds() {
    return glCreateShader != nullptr && glCreateProgram != nullptr &&
           glBindAttribLocation != nullptr && glGetActiveUniform != nullptr &&
           glGetActiveAttrib != nullptr && glUseProgram != nullptr && glUniform1i != nullptr &&
           glUniformMatrix4fv != nullptr && glVertexAttrib4fv != nullptr;
}

// The driver's extension names, each a macro its GLSL compiler predefines;
// read once per context, from the first program on.
const korvath::DriverDefinitions& driverDefinitions(ShadingContextRecord& context) {
    if (!context.driver) {
        korvath::DriverDefinitions definitions;
        // GL_EXTENSIONS answers in every compatibility context, 2.0 included.
        if (const GLubyte* text = glGetString(GL_EXTENSIONS); text != nullptr) {
            std::istringstream names(reinterpret_cast<const char*>(text));
            std::string name;
            while (names >> name) {
                definitions.extensions.push_back(name);
            }
        }
        context.driver = std::move(definitions);
    }
    return *context.driver;
}

// What the source declares, for addDeclaredNames. A fragment input is fed by the
// vertex stage, not set by callers, so only vertex inputs count.
std::vector<korvath::SourceDeclaration> declaredParameters(ShadingProgramRecord& program,
                                                           const std::string& source) {
    const bool vertex = program.profile == CG_PROFILE_GLSLV;
    std::vector<korvath::SourceDeclaration> declarations = korvath::findDeclarations(
        source, vertex ? korvath::ShaderStage::Vertex : korvath::ShaderStage::Fragment,
        driverDefinitions(*program.context));
    if (!vertex) {
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
    if (korvath::shading::shaderType(program.profile) == 0) {
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
             describe(program, "the OpenGL driver lacks programmable shading (OpenGL 2.0)"));
        return false;
    }
    return true;
}

void compile(ShadingProgramRecord& program, const std::string& source) {
    const korvath::shading::CompiledStage stage =
        korvath::shading::compileStage(korvath::shading::shaderType(program.profile), source);
    const std::string listing = korvath::shading::prefixLines(program.path, stage.log);
    if (stage.shader == 0) {
        fail(program, CG_COMPILER_ERROR,
             listing.empty() ? describe(program, "compile failed") : listing);
        return;
    }
    program.shader = stage.shader;
    program.context->listing = listing;
}

// The generic locations of a vertex program's inputs: those the source declares
// in its order, then those only the driver found, in the driver's order (after
// a first link). Inputs the alone link drops get theirs too: a pair may use
// them. Beyond the three locations, the driver chooses (PairCache.cpp keeps
// its choice for every pair).
std::vector<korvath::shading::AttributeBinding> inputBindings(const ShadingProgramRecord& program,
                                                              GLuint linked) {
    std::vector<std::string> names;
    for (const korvath::SourceDeclaration& declaration : program.declarations) {
        if (declaration.storage == korvath::StorageKind::Input) {
            names.push_back(declaration.name);
        }
    }
    for (const auto& input : korvath::shading::activeAttributes(linked)) {
        if (std::find(names.begin(), names.end(), input.name) == names.end()) {
            names.push_back(input.name);
        }
    }
    std::vector<korvath::shading::AttributeBinding> bindings;
    for (std::size_t i = 0; i < names.size() && i < std::size(kAttributeLocations); ++i) {
        bindings.emplace_back(names[i], kAttributeLocations[i]);
    }
    return bindings;
}

// Gives the per-vertex names the alone link dropped the locations they are bound to.
void placeDroppedInputs(ShadingProgramRecord& program,
                        const std::vector<korvath::shading::AttributeBinding>& bindings) {
    for (const auto& parameter : program.parameters) {
        for (const auto& [name, location] : bindings) {
            if (parameter->type == 0 && parameter->kind == ParameterKind::VertexAttribute &&
                parameter->name == name) {
                parameter->location = static_cast<GLint>(location);
            }
        }
    }
}

// Gives the program's samplers their units (SamplerUnits.h) as their values,
// uploaded when a program they are linked into is first current.
void assignSamplerUnits(ShadingProgramRecord& program) {
    std::vector<ShadingParameterRecord*> samplers;
    std::vector<korvath::shading::ActiveSampler> active;
    for (const auto& parameter : program.parameters) {
        if (parameter->kind == ParameterKind::Sampler) {
            GLint unit = 0;
            glGetUniformiv(program.alone.id, parameter->location, &unit);
            samplers.push_back(parameter.get());
            active.push_back({parameter->name, unit});
        }
    }
    const std::vector<GLint> units = korvath::shading::samplerUnits(active, program.declarations);
    for (std::size_t i = 0; i < samplers.size(); ++i) {
        korvath::shading::storeTextureUnit(*samplers[i], units[i]);
    }
}

// Makes the driver's active parameters the program's: uniforms and samplers
// with their type and location, and a vertex program's inputs. Returns the name
// of an input at location 0, if any: between glBegin and glEnd setting it would
// issue a vertex instead.
std::string addDriverParameters(ShadingProgramRecord& program) {
    for (const auto& uniform : korvath::shading::activeUniforms(program.alone.id)) {
        ShadingParameterRecord& parameter = addParameter(
            program, uniform.name,
            korvath::isSamplerType(uniform.type) ? ParameterKind::Sampler : ParameterKind::Uniform);
        parameter.type = uniform.type;
        parameter.location = uniform.location;
    }
    if (program.profile != CG_PROFILE_GLSLV) {
        return "";
    }
    std::string atVertexLocation;
    for (const auto& input : korvath::shading::activeAttributes(program.alone.id)) {
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
    korvath::shading::forgetProgram(&program);
    if (program.shader != 0) {
        glDeleteShader(program.shader);
    }
    if (program.alone.id != 0) {
        glDeleteProgram(program.alone.id);
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
    if (korvath::shading::shaderType(profile) == 0) {
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
    if (program->failed || program->alone.id != 0) {
        return; // its failure is reported already, or it is loaded
    }
    // Linked alone (OpenGL 2.0 lets the other stage be fixed function) so that
    // the driver reports this program's parameters before any pair is bound.
    GLuint id = glCreateProgram();
    glAttachShader(id, program->shader);
    korvath::shading::LinkResult result = korvath::shading::linkProgram(id, {});
    std::vector<korvath::shading::AttributeBinding> inputs;
    if (result.linked && program->profile == CG_PROFILE_GLSLV) {
        inputs = inputBindings(*program, id);
        result = korvath::shading::linkProgram(id, inputs);
    }
    const std::string listing = korvath::shading::prefixLines(program->path, result.log);
    if (!result.linked) {
        glDeleteProgram(id);
        fail(*program, CG_PROGRAM_LOAD_ERROR,
             listing.empty() ? describe(*program, "link failed") : listing);
        return;
    }
    program->context->listing = listing;
    program->alone.id = id;
    const std::string atVertexLocation = addDriverParameters(*program);
    assignSamplerUnits(*program);
    addDeclaredNames(*program);
    placeDroppedInputs(*program, inputs);
    if (!atVertexLocation.empty()) {
        glDeleteProgram(program->alone.id);
        program->alone.id = 0;
        fail(
            *program, CG_PROGRAM_LOAD_ERROR,
            describe(*program,
                     "per-vertex parameter \"" + atVertexLocation +
                         "\" is at attribute location 0, which glBegin/glEnd takes as the vertex"));
        return;
    }
    korvath::shading::LinkedProgram& alone = program->alone;
    (program->profile == CG_PROFILE_GLSLV ? alone.vertex : alone.fragment) = program;
    (program->profile == CG_PROFILE_GLSLV ? alone.vertexSlots : alone.fragmentSlots) =
        korvath::shading::slotsIn(id, *program);
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
