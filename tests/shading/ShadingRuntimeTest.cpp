// The shading runtime against a real GL context: binding, parameter lookup,
// values, state matrices and sampler units as GL holds them, per-vertex values
// inside one batch, declarations the preprocessor hides or builds, and the error
// paths through the callback.
#include "shading/ShadingRuntime.h"
#include "shading/MatrixInverse.h"
#include "support/GlTestContext.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <regex>
#include <string>
#include <tuple>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace korvath::test {
namespace {

const char* const kVertexSource = R"(#version 450 compatibility
out gl_PerVertex { vec4 gl_Position; };
uniform mat4 modelViewProj, modelViewIT;
uniform vec3 lightVec;
uniform float unusedScale; // never read: the compiler drops it
in vec2 offset;            // per-vertex: moves each point by its own amount
layout(location = 0) out vec3 colour;
void main() { gl_Position = modelViewProj * gl_Vertex + vec4(offset, 0.0, 1.0);
              colour = lightVec + (modelViewIT * vec4(gl_Normal, 0.0)).xyz; }
)";

// Units come from layout(binding): a sampler in a disabled block before them
// must not shift them.
const char* const kFragmentSource = R"(#version 450 compatibility
layout(location = 0) in vec3 colour;
#if 0
uniform sampler2D disabledMap;
#endif
layout(binding = 2) uniform sampler2D shadowMap;
layout(binding = 1) uniform sampler2D texture;
void main() { gl_FragColor = vec4(colour, 1.0) * texture2D(texture, gl_PointCoord)
                             * texture2D(shadowMap, gl_PointCoord); }
)";

// Declarations the preprocessor hides, joins or builds, and one of each type a
// setter may disagree with; all read by main.
const char* const kDeclarationSource = R"(#version 450 compatibility
#ifdef NOT_DEFINED
uniform vec4 tint;
uniform float direction;
#else
uniform float tint;
uniform vec3 direction;
#endif
uniform vec3 \
    continued;
#define DECLARE_SCALE uniform vec4 macroScale;
DECLARE_SCALE
#if 0
void unfinished() {
#endif
uniform vec2 afterBrace;
uniform int count;
uniform bool flag;
uniform mat3 rotation;
uniform sampler2D map;
void main() {
    vec3 sum = tint + direction + continued + macroScale.xyz + vec3(afterBrace, count)
             + rotation * vec3(flag ? 1.0 : 0.0) + texture2D(map, gl_PointCoord).rgb;
    gl_FragColor = vec4(sum, 1.0);
}
)";

GLint boundPipeline() {
    GLint pipeline = 0;
    glGetIntegerv(GL_PROGRAM_PIPELINE_BINDING, &pipeline);
    return pipeline;
}

// The GL program in a stage of the bound pipeline; 0 when there is none.
GLuint stageProgram(GLenum stage) {
    GLint program = 0;
    if (const GLint pipeline = boundPipeline(); pipeline != 0) {
        glGetProgramPipelineiv(static_cast<GLuint>(pipeline), stage, &program);
    }
    return static_cast<GLuint>(program);
}

// A float uniform as GL holds it, in the first elements of a matrix.
Matrix4 uniformValue(GLuint program, const char* name) {
    Matrix4 value;
    glGetUniformfv(program, glGetUniformLocation(program, name), value.m);
    return value;
}

std::vector<float> firstValues(GLuint program, const char* name, int count) {
    const Matrix4 value = uniformValue(program, name);
    return std::vector<float>(value.m, value.m + count);
}

GLint samplerUnit(GLuint program, const char* name) {
    GLint unit = -1;
    glGetUniformiv(program, glGetUniformLocation(program, name), &unit);
    return unit;
}

// What the error callback saw, call by call: the error (which it takes, so
// clears) and the listing of the test's context at that moment.
std::vector<std::pair<CGerror, std::string>> reports;
CGcontext context = nullptr;

void recordError() {
    reports.emplace_back(cgGetError(), cgGetLastListing(context));
}

struct ShadingRuntimeTest : ::testing::Test {
    void SetUp() override {
        ensureGlContext();
        reports.clear();
        context = cgCreateContext();
        cgSetErrorCallback(recordError);
    }

    void TearDown() override {
        EXPECT_TRUE(reports.empty()) << "unexpected: " << reports.front().second;
        cgDestroyContext(context); // which unbinds its programs
        EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
    }

    // Writes source to a file of this process named after name, then compiles,
    // loads, enables and binds it: *.frag as a fragment program, others as vertex
    // ones. The file goes once read.
    CGprogram use(const std::string& name, const char* source) {
        const std::string path = testing::TempDir() + std::to_string(getpid()) + "-" + name;
        std::ofstream(path) << source;
        const auto profile = name.find(".frag") != name.npos ? CG_PROFILE_GLSLF : CG_PROFILE_GLSLV;
        CGprogram program =
            cgCreateProgramFromFile(context, CG_SOURCE, path.c_str(), profile, "main", nullptr);
        std::remove(path.c_str());
        cgGLLoadProgram(program);
        cgGLEnableProfile(profile);
        cgGLBindProgram(program);
        return program;
    }
};

// One vertex program's parameters looked up and set while another is bound, a
// fragment program's sampler units, and per-vertex values drawn by the other.
TEST_F(ShadingRuntimeTest, ParametersAreFoundAndTheirValuesReachTheirOwnProgram) {
    CGprogram first = use("first.vert", kVertexSource);
    const GLuint firstId = stageProgram(GL_VERTEX_SHADER);
    // Declared parameters are found even when the driver optimised them away,
    // and setting them does nothing (no error, no GL error). The used ones are
    // set below.
    ASSERT_EQ(-1, glGetUniformLocation(firstId, "unusedScale")) << "the test needs it dropped";
    EXPECT_NE(nullptr, cgGetNamedParameter(first, "unusedScale"));
    cgGLSetParameter4f(cgGetNamedParameter(first, "unusedScale"), 1.0f, 2.0f, 3.0f, 4.0f);
    EXPECT_EQ(nullptr, cgGetNamedParameter(first, "notDeclared"));

    // Set while another program holds the stage, values must still reach their own.
    CGprogram second = use("second.vert", kVertexSource);
    EXPECT_NE(firstId, stageProgram(GL_VERTEX_SHADER));
    cgGLSetParameter3f(cgGetNamedParameter(first, "lightVec"), 1.5f, -2.0f, 3.25f);
    const Matrix4 light = uniformValue(firstId, "lightVec");
    EXPECT_EQ(std::vector<float>({1.5f, -2.0f, 3.25f}), std::vector<float>(light.m, light.m + 3));
    // State matrices are those in force at the call: a rotation and non-uniform
    // scale, so that the inverse transpose differs from the modelview.
    glMatrixMode(GL_PROJECTION);
    glFrustum(-1.0, 1.0, -0.75, 0.75, 1.0, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glRotatef(30.0f, 0.3f, 1.0f, 0.2f);
    glScalef(2.0f, 0.5f, 3.0f);
    Matrix4 modelView, product;
    glGetFloatv(GL_MODELVIEW_MATRIX, modelView.m);
    glGetFloatv(GL_PROJECTION_MATRIX, product.m);
    product *= modelView;
    cgGLSetStateMatrixParameter(cgGetNamedParameter(first, "modelViewProj"),
                                CG_GL_MODELVIEW_PROJECTION_MATRIX, CG_GL_MATRIX_IDENTITY);
    cgGLSetStateMatrixParameter(cgGetNamedParameter(first, "modelViewIT"), CG_GL_MODELVIEW_MATRIX,
                                CG_GL_MATRIX_INVERSE_TRANSPOSE);
    const Matrix4 modelViewProj = uniformValue(firstId, "modelViewProj");
    // (M^-1)^T = IT exactly when IT^T * M = I.
    const Matrix4 identity = transposed(uniformValue(firstId, "modelViewIT")) * modelView;
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(product.m[i], modelViewProj.m[i], 1e-5f) << "element " << i;
        EXPECT_NEAR(i % 5 == 0 ? 1.0f : 0.0f, identity.m[i], 1e-5f) << "element " << i;
    }

    // Samplers keep the units of their layout(binding); the disabled one is unknown.
    CGprogram sampling = use("sampling.frag", kFragmentSource);
    const GLuint samplingId = stageProgram(GL_FRAGMENT_SHADER);
    EXPECT_EQ(std::vector<GLint>({1, 2}),
              std::vector<GLint>(
                  {samplerUnit(samplingId, "texture"), samplerUnit(samplingId, "shadowMap")}));
    EXPECT_EQ(nullptr, cgGetNamedParameter(sampling, "disabledMap"));
    cgGLSetTextureParameter(cgGetNamedParameter(sampling, "texture"), 0);

    // Per-vertex values inside one batch: every point is issued at (0, 0, 0, 0),
    // which no matrix moves, so only its offset says where it goes.
    use("white.frag", "#version 450 compatibility\nvoid main() { gl_FragColor = vec4(1.0); }\n");
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glPointSize(5.0f);
    const float offsets[][2] = {{-0.5f, 0.0f}, {0.0f, 0.5f}};
    glBegin(GL_POINTS);
    for (const auto& point : offsets) {
        cgGLSetParameter2f(cgGetNamedParameter(second, "offset"), point[0], point[1]);
        glVertex4f(0.0f, 0.0f, 0.0f, 0.0f);
    }
    glEnd();
    const auto pixels = readBackBuffer();
    EXPECT_EQ(255, pixelAt(pixels, 200, 300).r); // NDC (-0.5, 0) on the 800x600 window
    EXPECT_EQ(255, pixelAt(pixels, 400, 450).r); // (0, 0.5)

    cgGLDisableProfile(CG_PROFILE_GLSLF);
    cgGLDisableProfile(CG_PROFILE_GLSLV);
    EXPECT_EQ(0, boundPipeline()) << "no stage is left: fixed function";
}

// Each failure reaches the callback once, with a listing that names the file (or
// the call) and says what went wrong.
TEST_F(ShadingRuntimeTest, FailuresReachTheCallbackOnceWithTheirListing) {
    std::string atZero = kVertexSource;
    atZero.insert(atZero.find("in vec2 offset"), "layout(location = 0) ");
    // What fails, the error it sets, and a pattern for one line of the listing.
    const std::tuple<std::function<void()>, CGerror, const char*> cases[] = {
        // No folder "absent" exists, so the file is neither written nor read.
        {[&] { use("absent/none.vert", ""); }, CG_FILE_READ_ERROR, "none.vert: .*No such file"},
        // Refused at once rather than waiting for a writer.
        {[&] {
             const std::string fifo = testing::TempDir() + std::to_string(getpid()) + "-fifo.vert";
             ASSERT_EQ(0, mkfifo(fifo.c_str(), 0600));
             cgCreateProgramFromFile(context, CG_SOURCE, fifo.c_str(), CG_PROFILE_GLSLV, "main",
                                     nullptr);
             std::remove(fifo.c_str());
         },
         CG_FILE_READ_ERROR, "fifo.vert: cannot read the file: not a regular file"},
        {[&] { use("broken.vert", "#version 450 compatibility\nvoid main() { undeclared = 1; }"); },
         CG_COMPILER_ERROR, "broken.vert: .*undeclared"},
        {[&] { use("nomain.vert", "#version 450 compatibility\nfloat f() { return 1.0; }\n"); },
         CG_PROGRAM_LOAD_ERROR, "nomain.vert: .*main"},
        {[&] { use("zero.vert", atZero.c_str()); }, CG_PROGRAM_LOAD_ERROR,
         "zero.vert: .*\"offset\" is at attribute location 0"},
        {[] { cgGLSetParameter1f(nullptr, 1.0f); }, CG_INVALID_PARAMETER_ERROR,
         "cgGLSetParameter1f: null parameter"},
    };
    for (const auto& [call, expected, pattern] : cases) {
        call();
        ASSERT_EQ(1u, reports.size()) << pattern;
        const auto& [error, listing] = reports[0];
        EXPECT_EQ(expected, error) << pattern;
        EXPECT_TRUE(std::regex_search(listing, std::regex(pattern)))
            << pattern << " in " << listing;
        reports.clear();
    }

    // Without a callback the error waits for cgGetError, which hands it out once.
    cgSetErrorCallback(nullptr);
    use("absent/none.vert", "");
    EXPECT_EQ(CG_FILE_READ_ERROR, cgGetError());
    EXPECT_EQ(CG_NO_ERROR, cgGetError());
}

// Each parameter takes the type of its compiled declaration: the setter the
// driver's type calls sets the whole value, and fewer components are filled.
TEST_F(ShadingRuntimeTest, PreprocessedDeclarationsAreSetWithTheirCompiledType) {
    CGprogram program = use("declarations.frag", kDeclarationSource);
    const GLuint id = stageProgram(GL_FRAGMENT_SHADER);
    const std::tuple<const char*, std::function<void(CGparameter)>, std::vector<float>> cases[] = {
        {"tint", [](CGparameter p) { cgGLSetParameter1f(p, 0.25f); }, {0.25f}},
        {"direction",
         [](CGparameter p) { cgGLSetParameter3f(p, 1.0f, 2.0f, 3.0f); },
         {1.0f, 2.0f, 3.0f}},
        {"continued", [](CGparameter p) { cgGLSetParameter2f(p, 4.0f, 5.0f); }, {4.0f, 5.0f, 0.0f}},
        {"macroScale",
         [](CGparameter p) { cgGLSetParameter2f(p, 6.0f, 7.0f); },
         {6.0f, 7.0f, 0.0f, 1.0f}},
        {"afterBrace", [](CGparameter p) { cgGLSetParameter2f(p, 8.0f, 9.0f); }, {8.0f, 9.0f}},
    };
    for (const auto& [name, set, expected] : cases) {
        CGparameter parameter = cgGetNamedParameter(program, name);
        ASSERT_NE(nullptr, parameter) << name;
        set(parameter);
        EXPECT_EQ(expected, firstValues(id, name, static_cast<int>(expected.size()))) << name;
    }
}

// Oversized sources are refused unread; a call that disagrees with the driver's
// type is refused without touching GL.
TEST_F(ShadingRuntimeTest, OversizedSourcesAndMistypedCallsReachTheCallback) {
    // Exactly at the limit is fine: a program padded with a comment.
    std::string atLimit =
        "#version 450 compatibility\nvoid main() { gl_FragColor = vec4(1.0); }\n//";
    atLimit.resize(1u << 20, 'x');
    use("at-limit.frag", atLimit.c_str());
    EXPECT_THAT(reports, ::testing::IsEmpty());

    CGprogram fragment = use("declarations.frag", kDeclarationSource);
    CGprogram vertex = use("offset.vert", kVertexSource);
    const auto in = [](CGprogram program, const char* name) {
        CGparameter parameter = cgGetNamedParameter(program, name);
        EXPECT_NE(nullptr, parameter) << name;
        return parameter;
    };
    const std::pair<std::function<void()>, const char*> cases[] = {
        {[&] { use("over.frag", (atLimit + "x").c_str()); },
         "over.frag: source is 1048577 bytes, the limit is 1048576$"},
        {[&] { cgGLSetParameter1f(in(fragment, "map"), 1.0f); },
         "\"map\" is a parameter of type sampler2D; the call sets float or a float vector"},
        {[&] { cgGLSetParameter1f(in(fragment, "count"), 1.0f); },
         "\"count\" is a parameter of type int;"},
        {[&] { cgGLSetParameter1f(in(fragment, "flag"), 1.0f); },
         "\"flag\" is a parameter of type bool;"},
        {[&] { cgGLSetParameter4f(in(fragment, "rotation"), 1.0f, 2.0f, 3.0f, 4.0f); },
         "\"rotation\" is a parameter of type mat3; the call sets float"},
        {[&] { cgGLSetParameter3f(in(fragment, "afterBrace"), 1.0f, 2.0f, 3.0f); },
         "cgGLSetParameter3f: \"afterBrace\" is a parameter of type vec2; the call sets 3 "
         "components"},
        {[&] { cgGLSetParameter3f(in(vertex, "offset"), 1.0f, 2.0f, 3.0f); },
         "\"offset\" is a per-vertex parameter of type vec2; the call sets 3"},
        {[&] {
             cgGLSetStateMatrixParameter(in(fragment, "rotation"), CG_GL_MODELVIEW_MATRIX,
                                         CG_GL_MATRIX_IDENTITY);
         },
         "\"rotation\" is a parameter of type mat3; the call sets a uniform mat4"},
        {[&] { cgGLSetTextureParameter(in(fragment, "tint"), 0); },
         "\"tint\" is a parameter of type float; the call sets a sampler"},
    };
    for (const auto& [call, pattern] : cases) {
        call();
        ASSERT_EQ(1u, reports.size()) << pattern;
        const auto& [error, listing] = reports[0];
        EXPECT_EQ(pattern[0] == 'o' ? CG_FILE_READ_ERROR : CG_INVALID_PARAMETER_ERROR, error)
            << pattern;
        EXPECT_THAT(listing, ::testing::ContainsRegex(pattern));
        reports.clear();
    }
}

} // namespace
} // namespace korvath::test
