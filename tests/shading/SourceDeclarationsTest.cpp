// Declaration scanning: what counts as a parameter of a source and what does not.
#include "shading/SourceDeclarations.h"

#include <gtest/gtest.h>

namespace korvath {
namespace {

// Each case lists the declarations found as "storage type name", in source order.
TEST(SourceDeclarations, TopLevelUniformsAndInputsWithTheirTypes) {
    using Found = std::vector<std::string>;
    const std::pair<const char*, Found> cases[] = {
        // Qualifiers before the declaration, several names, arrays and initialisers.
        {"layout(location = 3) in vec2 a;\nlayout(binding=1, std140) uniform highp sampler2D b;\n"
         "flat in float c;\nuniform layout(location = 2) vec2 d;\n"
         "uniform float x, y = 2.0;\nuniform vec3 z[4], w = vec3(1.0, 2.0);\n",
         {"in vec2 a", "uniform sampler2D b", "in float c", "uniform vec2 d", "uniform float x",
          "uniform float y", "uniform vec3 z", "uniform vec3 w"}},
        // Function parameters, anything inside braces (nested ones too), blocks,
        // comments, preprocessor lines, built-ins and other storage are not parameters.
        {"uniform float kept;\nvec3 f(in vec3 argument) { if (true) {} uniform float inner; }\n"
         "uniform Lights { vec4 member; } lights;\n// uniform float line;\n/* uniform float\n"
         "block; */\n#define SIZE \\\n uniform float continued;\nin vec4 gl_Color;\nout vec3 v;\n"
         "const float constant = 1.0;\nuniform float/* inline */after;\n",
         {"uniform float kept", "uniform float after"}},
    };
    for (const auto& [source, expected] : cases) {
        Found found;
        for (const auto& [name, type, storage] : findDeclarations(source)) {
            found.push_back((storage == StorageKind::Input ? "in " : "uniform ") + type + ' ' +
                            name);
        }
        EXPECT_EQ(expected, found) << source;
    }
}

} // namespace
} // namespace korvath
