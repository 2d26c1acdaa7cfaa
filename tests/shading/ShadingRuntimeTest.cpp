// The shading runtime against a real GL context: binding, parameter lookup,
// values, state matrices and sampler units as GL holds them, per-vertex values
// inside one batch, and the error paths through the callback.
#include "shading/ShadingRuntime.h"
#include "shading/MatrixInverse.h"
#include "support/GlTestContext.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <regex>
#include <string>
#include <tuple>
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

const char* const kFragmentSource = R"(#version 450 compatibility
layout(location = 0) in vec3 colour;
uniform sampler2D unusedMap; // declared first, never read
uniform sampler2D texture;
void main() { gl_FragColor = vec4(colour, 1.0) * texture2D(texture, gl_PointCoord); }
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
    // Declared parameters are found even when the driver optimised them away (the
    // used ones are set below).
    ASSERT_EQ(-1, glGetUniformLocation(firstId, "unusedScale")) << "the test needs it dropped";
    EXPECT_NE(nullptr, cgGetNamedParameter(first, "unusedScale"));
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

    // Samplers take units in declaration order, used or not.
    use("sampling.frag", kFragmentSource);
    EXPECT_EQ(1.0f, uniformValue(stageProgram(GL_FRAGMENT_SHADER), "texture").m[0]);

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

} // namespace
} // namespace korvath::test
