// Declaration scanning: what counts as a parameter of a source in each stage and
// GLSL version, after comments, continuations, macros and conditional
// compilation, and where the scan stops rather than guess.
#include "shading/source/SourceDeclarations.h"

#include <gtest/gtest.h>

#include <chrono>

namespace korvath {
namespace {

using Found = std::vector<std::string>;

struct Row {
    std::string source;
    Found expected; // "uniform NAME" or "in NAME", in source order
    ShaderStage stage = ShaderStage::Vertex;
    std::vector<std::string> extensions = {};
};

Found declared(const Row& row) {
    Found found;
    for (const auto& [name, storage] :
         findDeclarations(row.source, row.stage, DriverDefinitions{row.extensions})) {
        found.push_back((storage == StorageKind::Input ? "in " : "uniform ") + name);
    }
    return found;
}

void expectRows(const std::vector<Row>& rows) {
    for (const Row& row : rows) {
        EXPECT_EQ(row.expected, declared(row))
            << (row.stage == ShaderStage::Vertex ? "vertex: " : "fragment: ")
            << row.source.substr(0, 200);
    }
}

constexpr ShaderStage kFragment = ShaderStage::Fragment;

TEST(SourceDeclarations, TopLevelUniformsAndInputsOfTheCompiledText) {
    expectRows({
        // Qualifiers before the declaration, several names, arrays and initialisers.
        {"layout(location = 3) in vec2 a;\nlayout(binding=1, std140) uniform highp sampler2D b;\n"
         "layout(rgba8) uniform writeonly restrict image2D image;\n"
         "flat in float c;\nuniform layout(location = 2) vec2 d;\n"
         "uniform float x, y = 2.0;\nuniform vec3 z[4], w = vec3(1.0, 2.0);\n",
         {"in a", "uniform b", "uniform image", "in c", "uniform d", "uniform x", "uniform y",
          "uniform z", "uniform w"}},
        // Function parameters, anything inside braces, interface blocks, plain
        // structs, comments, built-ins and other storage are not parameters.
        {"uniform float kept;\nvec3 f(in vec3 argument) { if (true) {} uniform float inner; }\n"
         "uniform Lights { vec4 member; } lights;\nstruct S { float m; } s;\n"
         "// uniform float line;\n/* uniform float\nblock; */\nin vec4 gl_Color;\nout vec3 v;\n"
         "const float constant = 1.0;\nuniform float/* inline */after;\n",
         {"uniform kept", "uniform after"}},
        // Only the compiled branch counts; an unmatched brace in a skipped one
        // does not swallow what follows.
        {"#if 0\nuniform sampler2D hidden;\nvoid unfinished() {\n#else\nuniform float shown;\n"
         "#endif\n#ifndef ABSENT\n#if 1\nuniform float nested;\n#elif 1\nuniform float second;\n"
         "#endif\n#else\nuniform float notTaken;\n#endif\nuniform float afterBrace;\n",
         {"uniform shown", "uniform nested", "uniform afterBrace"}},
    });
}

TEST(SourceDeclarations, AttributeAndVaryingAreInputsWhereTheStageReadsThem) {
    const std::string source = "#version 120\nattribute vec4 weight;\ncentroid varying vec2 uv;\n"
                               "invariant varying vec3 normal;\nuniform mat4 mvp;\n";
    expectRows({
        {source, {"in weight", "uniform mvp"}},
        {source, {"in uv", "in normal", "uniform mvp"}, kFragment},
        {"#version 330\nin vec3 position;\nout vec3 colour;\n", {"in position"}},
        {"#version 330\nin vec3 colour;\nout vec4 result;\n", {"in colour"}, kFragment},
        // A varying's name in the vertex stage, or `attribute varying`, is no input.
        {"varying float a, b;\nattribute varying float c;\nvarying attribute float d;\n", {}},
    });
}

TEST(SourceDeclarations, StructTypedUniformsAndInputsAreParameters) {
    expectRows({
        {"uniform struct { vec3 colour; float range; } light;\n"
         "uniform struct Fog { float density; } fog, fogs[2];\nuniform float after;\n",
         {"uniform light", "uniform fog", "uniform fogs", "uniform after"}},
        {"#version 150\nin struct Vertex { vec3 p; } vertexIn;\n", {"in vertexIn"}, kFragment},
        // A struct type declared earlier, by its name.
        {"struct Material { vec4 diffuse; float shininess; };\nuniform Material material;\n",
         {"uniform material"}},
        // A definition alone, an interface block and malformed forms declare none.
        {"uniform struct Only { float x; };\nuniform Block { float y; } block;\n"
         "uniform struct A B { float z; } c;\nuniform struct { float w; };\nuniform float kept;\n",
         {"uniform kept"}},
    });
}

TEST(SourceDeclarations, FunctionLikeMacrosAndPastingExpand) {
    expectRows({
        // Arguments substituted and rescanned; nested parentheses and commas.
        {"#define DECLARE(type, name) uniform type name;\nDECLARE(vec3, tint)\n"
         "#define PAIR(a, b) a, b\nuniform float PAIR(first, second);\n"
         "#define ID(x) x\nuniform float ID(ID(nested));\nuniform vec2 ID((grouped, x));\n"
         "uniform float ID(spaced) ;\n",
         {"uniform tint", "uniform first", "uniform second", "uniform nested", "uniform spaced"}},
        // ## joins tokens, and the joined name is rescanned.
        {"#define NAME(prefix, index) prefix ## index\nuniform float NAME(light, 2);\n"
         "#define light3 renamed\nuniform float NAME(light, 3);\n"
         "#define CAT(a, b) a##b\nCAT(uni, form) float pasted;\n"
         "#define OBJECT scale ## Factor\nuniform float OBJECT;\n",
         {"uniform light2", "uniform renamed", "uniform pasted", "uniform scaleFactor"}},
        // Operands of ## are not expanded first; other arguments are.
        {"#define N index\n#define RAW(a) a ## _raw\n#define COOKED(a) a\n"
         "uniform float RAW(N), COOKED(N);\n",
         {"uniform N_raw", "uniform index"}},
        // A function-like name without arguments is a plain name, and a macro
        // never expands inside itself.
        {"#define f(x) x\nuniform float f;\n#define loop loop\nuniform float loop;\n"
         "#define g(x) g(x) x\nuniform float g(kept);\n",
         {"uniform f", "uniform loop"}},
        // A call whose arguments continue on the next lines.
        {"#define DECLARE(type, name) uniform type name;\nDECLARE(vec4,\n  spread)\n"
         "uniform float after;\n",
         {"uniform spread", "uniform after"}},
        // A name that expands to a function-like macro's name, then its arguments.
        {"#define CALL DECLARE\n#define DECLARE(n) uniform float n;\nCALL(indirect)\n",
         {"uniform indirect"}},
    });
}

TEST(SourceDeclarations, PredefinedNamesFollowTheVersionAndTheDriver) {
    const std::string byProfile =
        "#ifdef GL_core_profile\nuniform float core;\n#endif\n"
        "#ifdef GL_compatibility_profile\nuniform float compatibility;\n#endif\n"
        "#ifdef GL_ES\nuniform float es;\n#endif\n"
        "#ifdef GL_FRAGMENT_PRECISION_HIGH\nuniform float high;\n#endif\nuniform float end;\n";
    const std::string ext = "#ifdef GL_ARB_gpu_shader5\nuniform float gather;\n#endif\n"
                            "#if GL_EXT_gpu_shader4 == 1\nuniform float four;\n#endif\n"
                            "uniform float end;\n";
    expectRows({
        {byProfile, {"uniform end"}}, {"#version 120\n" + byProfile, {"uniform end"}},
        {"#version 140\n" + byProfile, {"uniform high", "uniform end"}},
        {"#version 150\n" + byProfile, {"uniform core", "uniform high", "uniform end"}},
        {"#version 450 core\n" + byProfile, {"uniform core", "uniform high", "uniform end"}},
        {"#version 100\n" + byProfile, {"uniform es", "uniform high", "uniform end"}},
        {"#version 150 compatibility\n" + byProfile,
         {"uniform compatibility", "uniform high", "uniform end"}},
        {"// comment first\n\n#version 300 es\n" + byProfile,
         {"uniform es", "uniform high", "uniform end"}},
        // Extension names the driver advertises are defined as 1, others not.
        {ext, {"uniform gather", "uniform four", "uniform end"}, ShaderStage::Vertex,
         {"GL_ARB_gpu_shader5", "GL_EXT_gpu_shader4"}},
        {ext, {"uniform end"}, ShaderStage::Vertex, {"GL_ARB_multitexture"}},
        // __VERSION__, __LINE__ and __FILE__ (the one source string is 0).
        {"#if __VERSION__ == 110\nuniform float implicit;\n#endif\n", {"uniform implicit"}},
        {"#version 330\n#if __VERSION__ >= 330 && defined __VERSION__\nuniform float v;\n#endif\n",
         {"uniform v"}},
        {"uniform float first;\n\n#if __LINE__ == 3 && __FILE__ == 0\nuniform float three;\n"
         "#endif\n",
         {"uniform first", "uniform three"}},
        {"/* two\nlines */\n#define PASTE(a, b) a ## b\n#define NAME(a, b) PASTE(a, b)\n"
         "uniform float NAME(at, __LINE__);\n",
         {"uniform at5"}},
    });
}

// An identifier left in #if counts as 0 in GLSL 1.10, 1.20 and from 4.30 on;
// GLSL 1.30 to 4.20 and GLSL ES make it an error, so the scan stops there.
TEST(SourceDeclarations, UndefinedNamesInConditionsFollowTheVersion) {
    const std::string test = "uniform float before;\n#if UNDEFINED_NAME\nuniform float inside;\n"
                             "#endif\nuniform float after;\n";
    const Found zero = {"uniform before", "uniform after"};
    const Found stopped = {"uniform before"};
    expectRows({
        {"#version 120\n" + test, zero},    {"#version 130\n" + test, stopped},
        {"#version 420\n" + test, stopped}, {"#version 430\n" + test, zero},
        {"#version 100\n" + test, stopped}, {"#version 300 es\n" + test, stopped},
        {"#version 110\n" + test, zero},     {"#version 460 core\n" + test, zero},
        // Names the driver may define for itself are never taken as 0.
        {"uniform float before;\n#if __DRIVER_SPECIFIC\n#endif\nuniform float after;\n", stopped},
        {"#version 300 es\nuniform float before;\n#ifdef GL_OES_standard_derivatives\n#endif\n"
         "uniform float after;\n",
         stopped, kFragment},
        {"uniform float before;\n#if true\n#endif\nuniform float after;\n", stopped},
    });
}

TEST(SourceDeclarations, ContinuationsAreRemovedBeforeComments) {
    expectRows({
        {"uniform vec3 \\\n  continued;\n// comment \\\nuniform float commented;\n",
         {"uniform continued"}},
        // A block comment closed across a continuation ends there.
        {"/* comment *\\\n/\nuniform float afterComment;\n", {"uniform afterComment"}},
        {"uniform float a; /* open *\\\r\n/ uniform float b;\r\n", {"uniform a", "uniform b"}},
        // A continued directive, and old Mac line ends.
        {"#if 0 \\\n  || 1\nuniform float joined;\n#endif\n", {"uniform joined"}},
        {"uniform float a;\r#if 0\runiform float hidden;\r#endif\runiform float b;\r",
         {"uniform a", "uniform b"}},
    });
}

// Each row names what the scan cannot follow; it ends the list there.
TEST(SourceDeclarations, WhatTheScanCannotFollowEndsTheList) {
    std::string chain = "#define M0 x x\n";
    for (int i = 1; i < 40; ++i) { // M39 would expand to 2^40 tokens
        chain += "#define M" + std::to_string(i) + " M" + std::to_string(i - 1) + " M" +
                 std::to_string(i - 1) + "\n";
    }
    std::string deepCall;
    for (int i = 0; i < 200; ++i) {
        deepCall += "F(";
    }
    deepCall = "#define F(x) x\n" + deepCall + "1" + std::string(200, ')') + "\n";
    std::string longPaste = "#define C(a, b) a ## b\n#define X(a, b) C(a, b)\n#define A0 a\n";
    for (int i = 1; i <= 12; ++i) { // A12 would paste a name of 4096 characters
        longPaste += "#define A" + std::to_string(i) + " X(A" + std::to_string(i - 1) + ", A" +
                     std::to_string(i - 1) + ")\n";
    }
    longPaste += "uniform float A12;\n";
    const std::string middles[] = {
        "#error stop\n", "#include \"other.glsl\"\n", "#else\n", "#endif junk\n",
        "#define GL_MINE 1\n", "#undef __VERSION__\n", "#version 330\n" /* not first */,
        chain + "M39\n", deepCall, longPaste,
        "#define F(a, b) a b\nF(1)\n",          // wrong argument count
        "#define F(a) a\nF(unclosed\n",         // never closes
        "#define F(a) a\nF(\n#if 1\n#endif\n)\n", // a directive inside the arguments
        "#define F(a) a\n#define F(b) b\n",     // a different redefinition
        "#define F(a) # a\n",                   // no stringising in GLSL
        "#define F(a) x ## a\nF()\n",           // an empty operand of ##
        "#define F(a, b) a ## b\nF(+, /)\n",    // not one token
        "#define f(a) a*g\n#define g(a) f(a)\nf(2)(9)\n", // unspecified in C++
        "#line 10\n__LINE__\n", "#define X \\\n __LINE__\nX\n", // lines drivers count differently
    };
    for (const std::string& middle : middles) {
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(Found{"uniform before"},
                  declared({"uniform float before;\n" + middle + "uniform float after;\n", {}}))
            << middle.substr(0, 200);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    }
    // Versions no driver accepts stop before anything.
    for (const char* version :
         {"#version 125\n", "#version 300\n", "#version 140 core\n", "#version 450 es\n",
          "#version 0330\n", "#version 100 es\n", "#version 330 full\n", "#version 1000\n"}) {
        EXPECT_EQ(Found{}, declared({std::string(version) + "uniform float after;\n", {}}))
            << version;
    }
}

// A 1 MiB source scans in linear time: about 0.1 s optimised, 10 s even under
// the sanitizers on a loaded machine; a quadratic scan would take minutes.
TEST(SourceDeclarations, LargeSourcesScanInLinearTime) {
    std::string source = "#define DECLARE(type, name) uniform type name;\n";
    int count = 0;
    while (source.size() < (size_t{1} << 20)) {
        source += "DECLARE(vec4, value" + std::to_string(count++) +
                  ")\n/* a comment */ float f(float x) { return x * 2.0; }\n";
    }
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(static_cast<size_t>(count),
              findDeclarations(source, ShaderStage::Vertex, DriverDefinitions{}).size());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

} // namespace
} // namespace korvath
