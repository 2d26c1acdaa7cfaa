// Declaration scanning: what counts as a parameter of a source, after comments,
// continuations, macros and conditional compilation, and where the scan gives up.
#include "shading/source/SourceDeclarations.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace korvath {
namespace {

using Found = std::vector<std::string>;

// The declarations found as "storage name", in source order.
Found declared(const std::string& source) {
    Found found;
    for (const auto& [name, storage] : findDeclarations(source, ShaderStage::Vertex, DriverDefinitions{})) {
        found.push_back((storage == StorageKind::Input ? "in " : "uniform ") + name);
    }
    return found;
}

TEST(SourceDeclarations, TopLevelUniformsAndInputsOfTheCompiledText) {
    const std::pair<const char*, Found> cases[] = {
        // Qualifiers before the declaration, several names, arrays and initialisers.
        {"layout(location = 3) in vec2 a;\nlayout(binding=1, std140) uniform highp sampler2D b;\n"
         "layout(rgba8) uniform writeonly restrict image2D image;\n"
         "flat in float c;\nuniform layout(location = 2) vec2 d;\n"
         "uniform float x, y = 2.0;\nuniform vec3 z[4], w = vec3(1.0, 2.0);\n",
         {"in a", "uniform b", "uniform image", "in c", "uniform d", "uniform x", "uniform y",
          "uniform z", "uniform w"}},
        // Function parameters, anything inside braces, blocks, structs, comments,
        // built-ins and other storage are not parameters.
        {"uniform float kept;\nvec3 f(in vec3 argument) { if (true) {} uniform float inner; }\n"
         "uniform Lights { vec4 member; } lights;\nstruct S { float m; } s;\n"
         "// uniform float line;\n/* uniform float\nblock; */\nin vec4 gl_Color;\nout vec3 v;\n"
         "const float constant = 1.0;\nuniform float/* inline */after;\n",
         {"uniform kept", "uniform after"}},
        // Continuations join lines, a continued line comment included.
        {"uniform vec3 \\\n  continued;\n// comment \\\nuniform float commented;\n",
         {"uniform continued"}},
        // Object-like macros expand, in declarations and in #if; #undef ends them.
        {"#define DECLARE uniform float fromMacro;\nDECLARE\n#define TYPE vec3\nuniform TYPE t;\n"
         "#define LEVEL 2\n#if LEVEL * 2 == 4 && defined(TYPE)\nuniform float levelled;\n#endif\n"
         "#undef TYPE\n#ifdef TYPE\nuniform float undefined;\n#endif\n",
         {"uniform fromMacro", "uniform t", "uniform levelled"}},
        // Only the compiled branch counts; an unmatched brace in a skipped one
        // does not swallow what follows.
        {"#if 0\nuniform sampler2D hidden;\nvoid unfinished() {\n#else\nuniform float shown;\n"
         "#endif\n#ifndef ABSENT\n#if 1\nuniform float nested;\n#elif 1\nuniform float second;\n"
         "#endif\n#else\nuniform float notTaken;\n#endif\nuniform float afterBrace;\n",
         {"uniform shown", "uniform nested", "uniform afterBrace"}},
    };
    for (const auto& [source, expected] : cases) {
        EXPECT_EQ(expected, declared(source)) << source;
    }
}

// Each #if condition decides whether "inside" is compiled; one the scan cannot
// evaluate ends the list there, so "after" is missing too.
TEST(SourceDeclarations, ConditionsAreEvaluatedOrEndTheScan) {
    const Found compiled = {"uniform before", "uniform inside", "uniform after"};
    const Found skipped = {"uniform before", "uniform after"};
    const Found stopped = {"uniform before"};
    const std::pair<std::string, Found> cases[] = {
        {"1 + 2 * 3 == 7", compiled},
        {"(1 + 2) * 3 == 7", skipped},
        {"1 - 2 - 3 == -4 && ~0 == -1", compiled},
        {"0x10 >> 2 == 4 && 010 == 8 && 3u == 3", compiled},
        {"!0 || 1 / 0", stopped},                 // no division by zero, even unneeded
        {"1 << 63", stopped},                     // out-of-range shift
        {"UNDEFINED_NAME", stopped},              // GLSL has no default 0
        {"defined(GL_ARB_gpu_shader5)", stopped}, // the driver's own macros are unknown
        {"defined GL_ES", skipped},               // but desktop GLSL never has GL_ES
        {"1 2", stopped},
        {"", stopped},
        {std::string(100000, '(') + "1", stopped}, // nesting deeper than the evaluator's limit
    };
    for (const auto& [condition, expected] : cases) {
        EXPECT_EQ(expected, declared("uniform float before;\n#if " + condition +
                                     "\nuniform float inside;\n#endif\nuniform float after;\n"))
            << condition.substr(0, 40);
    }
}

// Other things the preprocessor cannot follow end the scan where they stand.
TEST(SourceDeclarations, UnknownDirectivesAndRunawayExpansionEndTheScan) {
    std::string chain = "uniform float before;\n#define M0 x x\n";
    for (int i = 1; i < 40; ++i) { // M39 would expand to 2^40 tokens
        chain += "#define M" + std::to_string(i) + " M" + std::to_string(i - 1) + " M" +
                 std::to_string(i - 1) + "\n";
    }
    chain += "M39\nuniform float after;\n";
    const std::string cases[] = {
        "uniform float before;\n#define F(x) x\nuniform float after;\n",
        "uniform float before;\n#error stop\nuniform float after;\n",
        "uniform float before;\n#include \"other.glsl\"\nuniform float after;\n",
        "uniform float before;\n#else\nuniform float after;\n",
        "uniform float before;\n#define GL_MINE 1\nuniform float after;\n",
        chain,
    };
    for (const std::string& source : cases) {
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(Found{"uniform before"}, declared(source)) << source.substr(0, 80);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    }
    // A macro naming itself is left as it stands, as in C.
    EXPECT_EQ(Found{"uniform loop"}, declared("#define loop loop\nuniform float loop;\n"));
}

} // namespace
} // namespace korvath
