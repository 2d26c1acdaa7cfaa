// The create-and-load pair every owner of a shading program uses.
#include "shading/ProgramFile.h"

namespace korvath {

CGprogram loadProgramFile(CGcontext context, CGprofile profile, const char* path) {
    CGprogram program = cgCreateProgramFromFile(context, CG_SOURCE, path, profile, "main", nullptr);
    cgGLLoadProgram(program);
    return program;
}

} // namespace korvath
