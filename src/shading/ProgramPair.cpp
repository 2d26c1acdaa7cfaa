// Loading, checking, binding and destroying a vertex and fragment program pair.
#include "shading/ProgramPair.h"

#include <cstdio>
#include <cstdlib>

namespace korvath {

namespace {

CGprogram load(CGcontext context, CGprofile profile, const ProgramPair::Source& source,
               ProgramPair::Compile compile) {
    if (compile == ProgramPair::Compile::Optimised) {
        cgGLSetOptimalOptions(profile);
    }
    CGprogram program =
        cgCreateProgramFromFile(context, CG_SOURCE, source.path, profile, "main", nullptr);
    cgGLLoadProgram(program);
    for (const char* name : source.requiredParameters) {
        if (cgGetNamedParameter(program, name) == nullptr) {
            std::printf("Unable to retrieve program parameters, exiting...\n");
            std::fflush(stdout);
            std::exit(1);
        }
    }
    return program;
}

} // namespace

ProgramPair::ProgramPair(const ShaderContext& context, const Source& vertex, const Source& fragment,
                         Compile compile, Programs programs)
    : vertexProgram(load(context.context, context.vertexProfile, vertex, compile)),
      fragmentProgram(load(context.context, context.fragmentProfile, fragment, compile)),
      lifetime(programs), modelViewProj(vertexParameter("modelViewProj")),
      modelView(vertexParameter("modelView")), modelViewIT(vertexParameter("modelViewIT")) {}

ProgramPair::~ProgramPair() {
    if (lifetime == Programs::DieWithPair) {
        cgDestroyProgram(vertexProgram);
        cgDestroyProgram(fragmentProgram);
    }
}

CGparameter ProgramPair::vertexParameter(const char* name) const {
    return cgGetNamedParameter(vertexProgram, name);
}

CGparameter ProgramPair::fragmentParameter(const char* name) const {
    return cgGetNamedParameter(fragmentProgram, name);
}

void ProgramPair::bind() const {
    cgGLBindProgramPair(vertexProgram, fragmentProgram);
}

void ProgramPair::unbind() const {
    cgGLUnbindProgramPair();
}

void ProgramPair::setStandardMatrices() const {
    if (modelViewProj != nullptr) {
        cgGLSetStateMatrixParameter(modelViewProj, CG_GL_MODELVIEW_PROJECTION_MATRIX,
                                    CG_GL_MATRIX_IDENTITY);
    }
    if (modelView != nullptr) {
        cgGLSetStateMatrixParameter(modelView, CG_GL_MODELVIEW_MATRIX, CG_GL_MATRIX_IDENTITY);
    }
    if (modelViewIT != nullptr) {
        cgGLSetStateMatrixParameter(modelViewIT, CG_GL_MODELVIEW_MATRIX,
                                    CG_GL_MATRIX_INVERSE_TRANSPOSE);
    }
}

} // namespace korvath
