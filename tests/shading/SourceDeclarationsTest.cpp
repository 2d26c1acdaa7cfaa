// Declaration scanning: what counts as a parameter of a source and what does not.
#include "shading/SourceDeclarations.h"

#include <gtest/gtest.h>

namespace korvath {
namespace {

// Each case lists the declarations found as "storage type name", in source order.
TEST(SourceDeclarations, TopLevelUniformsAndInputsWithTheirTypes) {
    using Found = std::vector<std::string>;
    const std::pair<const char*, Found> cases[] = {
        {"uniform mat4 modelViewProj;\nin vec2 initTime;\nuniform sampler2D texture;\n",
         {"uniform mat4 modelViewProj", "in vec2 initTime", "uniform sampler2D texture"}},
        // Qualifiers before the declaration.
        {"layout(location = 3) in vec3 a;\nlayout(binding=1, std140) uniform highp vec4 b;\n"
         "flat in float c;\nuniform layout(location = 2) vec2 d;\n",
         {"in vec3 a", "uniform vec4 b", "in float c", "uniform vec2 d"}},
        // Several names, arrays and initialisers.
        {"uniform float x, y = 2.0;\nuniform vec3 z[4], w = vec3(1.0, 2.0, 3.0);\n",
         {"uniform float x", "uniform float y", "uniform vec3 z", "uniform vec3 w"}},
        // Function parameters, locals, blocks, structs and braces are not declarations.
        {"uniform float kept;\nvec3 helper(in vec3 argument) { vec3 local; return argument; }\n"
         "uniform Lights { vec4 blockMember; } lights;\nstruct Material { float shininess; };\n"
         "void main() { if (true) { float inner; } }\nuniform vec4 after;\n",
         {"uniform float kept", "uniform vec4 after"}},
        // Comments, preprocessor lines, built-ins and other storage.
        {"// uniform float lineComment;\n/* uniform float blockComment;\n in vec2 spanning; */\n"
         "#define SIZE \\\n uniform float continued;\nout gl_PerVertex { vec4 gl_Position; };\n"
         "in vec4 gl_Color;\nout vec3 varying;\nconst float constant = 1.0;\n"
         "precision highp float;\nuniform float/* inline */real;\n",
         {"uniform float real"}},
        // Malformed text yields what is well formed.
        {"uniform vec2 first;\nuniform in float both;\nuniform ;\nvoid broken() { uniform float x;",
         {"uniform vec2 first"}},
        {"", {}},
        {"/* unterminated uniform float a;", {}},
    };
    for (const auto& [source, expected] : cases) {
        Found found;
        for (const SourceDeclaration& d : findDeclarations(source)) {
            const char* storage = d.storage == StorageKind::Uniform ? "uniform " : "in ";
            found.push_back(storage + d.type + " " + d.name);
        }
        EXPECT_EQ(expected, found) << source;
    }
}

} // namespace
} // namespace korvath
