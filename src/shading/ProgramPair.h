// A vertex and a fragment program that always draw together, owned as one: both
// loaded at construction, the parameters their owner needs checked, both stages
// bound and unbound in one step each (one program switch), and the standard
// matrices set from the GL matrices in force.
#pragma once

#include "shading/ShaderContext.h"

#include <initializer_list>

namespace korvath {

class ProgramPair {
public:
    // A program's source file and the parameters its owner cannot draw without.
    struct Source {
        const char* path;
        std::initializer_list<const char*> requiredParameters;
    };
    // Whether cgGLSetOptimalOptions for its profile precedes each compile.
    enum class Compile { AsWritten, Optimised };
    // Whether the pair destroys its programs, or leaves them to the runtime
    // context, which destroys them with itself.
    enum class Programs { DieWithPair, LiveWithContext };

    // Compiles and loads the vertex program, then the fragment program (entry
    // "main"; failures reach the runtime's error callback). Right after each
    // program loads, its required parameters are looked up: if one is missing,
    // prints "Unable to retrieve program parameters, exiting...\n" on standard
    // output and ends the process with status 1.
    ProgramPair(const ShaderContext& context, const Source& vertex, const Source& fragment,
                Compile compile, Programs programs = Programs::DieWithPair);
    // Destroys the vertex program, then the fragment program (Programs::DieWithPair).
    ~ProgramPair();
    ProgramPair(const ProgramPair&) = delete;
    ProgramPair& operator=(const ProgramPair&) = delete;

    CGprogram vertex() const { return vertexProgram; }
    CGprogram fragment() const { return fragmentProgram; }
    // The named parameter; null where the program has none.
    CGparameter vertexParameter(const char* name) const;
    CGparameter fragmentParameter(const char* name) const;

    // Makes the pair current with one program switch; set its values after this,
    // so that each reaches GL once.
    void bind() const;
    // Both stages back to fixed function.
    void unbind() const;
    // The vertex program's "modelViewProj", "modelView" and "modelViewIT" (the
    // inverse transpose of the modelview), where it has them, from the matrices
    // in force now.
    void setStandardMatrices() const;

private:
    CGprogram vertexProgram;
    CGprogram fragmentProgram;
    Programs lifetime;
    CGparameter modelViewProj;
    CGparameter modelView;
    CGparameter modelViewIT;
};

} // namespace korvath
