// Finds the names a shading-program source declares as parameters: top-level
// uniforms and inputs of the text the compiler sees, so that those the driver
// optimised away can still be looked up. Plain text processing; no GL.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace korvath {

enum class StorageKind { Uniform, Input };

struct SourceDeclaration {
    std::string name;
    StorageKind storage;
};

enum class ShaderStage { Vertex, Fragment };

// What the driver predefines for every source besides the version's own macros:
// one macro per extension name it advertises (GL_ARB_..., GL_EXT_...).
struct DriverDefinitions {
    std::vector<std::string> extensions;
};

// The top-level `uniform TYPE NAME` and `in TYPE NAME` declarations in source
// order, after preprocessing (see GlslPreprocessor.h); where the preprocessor
// stops, the list ends. Layout, precision and interpolation qualifiers may
// precede them; several names may share one declaration; built-ins (gl_*),
// interface blocks, structs, function parameters and everything inside braces
// are left out.
std::vector<SourceDeclaration> findDeclarations(std::string_view source, ShaderStage stage,
                                                const DriverDefinitions& driver);

} // namespace korvath
