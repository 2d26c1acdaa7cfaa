// Finds the parameters a shading-program source declares: top-level uniforms and
// inputs, read from the text itself so that declarations the driver optimised away
// are still known. Plain text processing; no GL.
#pragma once

#include <string>
#include <vector>

namespace korvath {

enum class StorageKind { Uniform, Input };

struct SourceDeclaration {
    std::string name;
    std::string type; // the GLSL type name as written, e.g. "vec3", "sampler2D"
    StorageKind storage;
};

// The top-level `uniform TYPE NAME` and `in TYPE NAME` declarations in source
// order. Layout, precision and interpolation qualifiers may precede them; several
// names may share one declaration; built-ins (gl_*), interface blocks, function
// parameters and everything inside braces are left out.
std::vector<SourceDeclaration> findDeclarations(const std::string& source);

// Float components of a float or vecN type; 0 for any other type.
int floatComponentCount(const std::string& type);
bool isSamplerType(const std::string& type);
bool isMatrix4Type(const std::string& type);

} // namespace korvath
