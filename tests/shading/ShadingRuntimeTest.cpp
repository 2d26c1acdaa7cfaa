// The shading runtime against a real GL context: parameter lookup, values kept
// with their program, sampler units as GL holds them, what setters fill, and
// the error paths through the callback. The
// programs are GLSL 1.20, which every driver the demo supports compiles.
#include "RuntimeFixture.h"

#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace korvath::test {
namespace {

const char* const kVertexSource = R"(#version 120
uniform vec3 lightVec;
uniform float unusedScale; // never read: the compiler drops it
attribute vec2 offset;
varying vec3 colour;
void main() { gl_Position = gl_Vertex + vec4(offset, 0.0, 0.0); colour = lightVec; }
)";

const char* const kColourSource = R"(#version 120
varying vec3 colour;
void main() { gl_FragColor = vec4(colour, 1.0); }
)";

// Units follow the order of declaration, which is neither alphabetical nor the
// order main reads the samplers in; a sampler in a disabled block before them
// must not shift them.
const char* const kSamplingSource = R"(#version 120
#if 0
uniform sampler2D disabledMap;
#endif
uniform sampler2D texture; uniform sampler2D shadowMap; uniform sampler2D detail;
void main() { gl_FragColor = texture2D(detail, gl_PointCoord) * texture2D(shadowMap,
                             gl_PointCoord) * texture2D(texture, gl_PointCoord); }
)";

// One parameter of each type a setter may fill or disagree with; all read by main.
const char* const kTypesSource = R"(#version 120
uniform float tint; uniform vec3 direction; uniform vec4 scale; uniform vec2 shift;
uniform int count; uniform bool flag; uniform mat3 rotation; uniform sampler2D map;
void main() { gl_FragColor = vec4(tint + direction + scale.xyz + vec3(shift, count)
    + rotation * vec3(flag ? 1.0 : 0.0) + texture2D(map, gl_PointCoord).rgb, 1.0); }
)";

using ShadingRuntimeTest = RuntimeFixture;

// A value belongs to the program it was set on: set while another program of
// the same source is bound, it reaches its own program when that is bound
// again, and the other keeps its own. A name the driver dropped is still found.
TEST_F(ShadingRuntimeTest, ValueSetOnAnUnboundProgramReachesItWhenBound) {
    CGprogram first = use("first.vert", kVertexSource);
    use("colour.frag", kColourSource);
    ASSERT_EQ(-1, glGetUniformLocation(currentProgram(), "unusedScale")) << "needs it dropped";
    cgGLSetParameter4f(cgGetNamedParameter(first, "unusedScale"), 1.0f, 2.0f, 3.0f, 4.0f);
    EXPECT_EQ(nullptr, cgGetNamedParameter(first, "notDeclared"));
    EXPECT_EQ(nullptr, cgGetNamedParameter(first, nullptr));
    const GLuint firstPair = currentProgram();
    CGprogram second = use("second.vert", kVertexSource);
    ASSERT_NE(firstPair, currentProgram());
    cgGLSetParameter3f(cgGetNamedParameter(second, "lightVec"), 0.5f, 0.5f, 0.5f);
    cgGLSetParameter3f(cgGetNamedParameter(first, "lightVec"), 1.5f, -2.0f, 3.25f);
    EXPECT_EQ(std::vector<float>({0.5f, 0.5f, 0.5f}), uniformValues("lightVec", 3));
    cgGLBindProgram(first);
    EXPECT_EQ(firstPair, currentProgram()) << "the pair is linked once";
    EXPECT_EQ(std::vector<float>({1.5f, -2.0f, 3.25f}), uniformValues("lightVec", 3));
    cgGLBindProgram(second);
    EXPECT_EQ(std::vector<float>({0.5f, 0.5f, 0.5f}), uniformValues("lightVec", 3));
}

TEST_F(ShadingRuntimeTest, SamplersReadUnitsInTheOrderTheSourceDeclaresThem) {
    use("units.vert", kVertexSource);
    CGprogram sampling = use("sampling.frag", kSamplingSource);
    EXPECT_EQ(std::vector<GLint>({0, 1, 2}),
              std::vector<GLint>(
                  {samplerUnit("texture"), samplerUnit("shadowMap"), samplerUnit("detail")}));
    EXPECT_EQ(nullptr, cgGetNamedParameter(sampling, "disabledMap"));
    cgGLSetTextureParameter(cgGetNamedParameter(sampling, "texture"), 0);
}

// One stage disabled leaves the other's program drawing alone; none left is
// fixed function. A disabled profile forgets its program, so a program bound
// for an earlier draw never pairs with the next draw's other program.
TEST_F(ShadingRuntimeTest, DisablingProfilesLeavesTheOtherStageOrFixedFunction) {
    use("alone.vert", kVertexSource);
    use("colour.frag", kColourSource);
    const GLuint pair = currentProgram();
    cgGLDisableProfile(CG_PROFILE_GLSLF);
    EXPECT_NE(0u, currentProgram());
    EXPECT_NE(pair, currentProgram()) << "the vertex program alone";
    cgGLEnableProfile(CG_PROFILE_GLSLF);
    EXPECT_NE(pair, currentProgram()) << "the fragment program is bound again first";
    cgGLDisableProfile(CG_PROFILE_GLSLF);
    cgGLDisableProfile(CG_PROFILE_GLSLV);
    EXPECT_EQ(0u, currentProgram());
}

// A setter sets the whole value the driver's type has; components it does not
// give are 0 for y and z and 1 for w.
TEST_F(ShadingRuntimeTest, SettersFillWhatTheyDoNotGive) {
    CGprogram program = use("types.frag", kTypesSource);
    cgGLSetParameter1f(cgGetNamedParameter(program, "tint"), 0.25f);
    cgGLSetParameter2f(cgGetNamedParameter(program, "direction"), 4.0f, 5.0f);
    cgGLSetParameter2f(cgGetNamedParameter(program, "scale"), 6.0f, 7.0f);
    cgGLSetParameter2f(cgGetNamedParameter(program, "shift"), 8.0f, 9.0f);
    EXPECT_EQ(std::vector<float>({0.25f}), uniformValues("tint", 1));
    EXPECT_EQ(std::vector<float>({4.0f, 5.0f, 0.0f}), uniformValues("direction", 3));
    EXPECT_EQ(std::vector<float>({6.0f, 7.0f, 0.0f, 1.0f}), uniformValues("scale", 4));
    EXPECT_EQ(std::vector<float>({8.0f, 9.0f}), uniformValues("shift", 2));
}

// Each failure reaches the callback once, with its error and a listing that
// names the file (or the call) and says what went wrong.
TEST_F(ShadingRuntimeTest, FailuresReachTheCallbackOnceWithTheirListing) {
    // Exactly at the limit is fine: a program padded with a comment.
    std::string atLimit = "#version 120\nvoid main() { gl_FragColor = vec4(1.0); }\n//";
    atLimit.resize(1u << 20, 'x');
    CGprogram fragment = use("at-limit.frag", atLimit);
    ASSERT_TRUE(reports.empty());
    use("over.frag", atLimit + "x");
    expectReport(CG_FILE_READ_ERROR, "over.frag: source is 1048577 bytes, the limit is 1048576$");
    use("absent/none.vert", ""); // no folder "absent": neither written nor read
    expectReport(CG_FILE_READ_ERROR, "none.vert: .*No such file");
    // Refused at once rather than waiting for a writer.
    const std::string fifo = testing::TempDir() + std::to_string(getpid()) + "-fifo.vert";
    ASSERT_EQ(0, mkfifo(fifo.c_str(), 0600));
    cgCreateProgramFromFile(context, CG_SOURCE, fifo.c_str(), CG_PROFILE_GLSLV, "main", nullptr);
    std::remove(fifo.c_str());
    expectReport(CG_FILE_READ_ERROR, "fifo.vert: cannot read the file: not a regular file");
    use("broken.vert", "#version 120\nvoid main() { undeclared = 1; }");
    expectReport(CG_COMPILER_ERROR, "broken.vert: .*undeclared");
    use("nomain.vert", "#version 120\nfloat f() { return 1.0; }\n");
    expectReport(CG_PROGRAM_LOAD_ERROR, "nomain.vert: .*main");
    cgGLSetParameter1f(nullptr, 1.0f);
    expectReport(CG_INVALID_PARAMETER_ERROR, "cgGLSetParameter1f: null parameter");
    cgGLBindProgram(nullptr);
    expectReport(CG_INVALID_PROGRAM_HANDLE_ERROR, "cgGLBindProgram: invalid program handle");
    cgGLEnableProfile(CG_PROFILE_UNKNOWN);
    expectReport(CG_INVALID_PROFILE_ERROR, "cgGLEnableProfile: unknown profile");
    cgGLBindProgramPair(fragment, fragment);
    expectReport(CG_INVALID_PROFILE_ERROR, "takes a vertex and then a fragment program");
    // Without a callback the error waits for cgGetError, which hands it out once.
    cgSetErrorCallback(nullptr);
    use("absent/none.vert", "");
    EXPECT_EQ(CG_FILE_READ_ERROR, cgGetError());
    EXPECT_EQ(CG_NO_ERROR, cgGetError());
}

// Inside glBegin/glEnd, setting attribute 0 issues a vertex: a source that puts
// a per-vertex parameter there is refused. Only a source with explicit
// locations can.
TEST_F(ShadingRuntimeTest, PerVertexParameterAtLocationZeroIsRefused) {
    if (!GLEW_VERSION_3_3) {
        GTEST_SKIP() << "explicit attribute locations need GLSL 3.30 (OpenGL 3.3)";
    }
    use("zero.vert", "#version 330 compatibility\nlayout(location = 0) in vec2 offset;\n"
                     "void main() { gl_Position = vec4(offset, 0.0, 1.0); }\n");
    expectReport(CG_PROGRAM_LOAD_ERROR, "zero.vert: .*\"offset\" is at attribute location 0");
}

// A call that disagrees with the driver's type is refused without touching GL.
TEST_F(ShadingRuntimeTest, CallsThatDisagreeWithTheDriversTypeAreRefused) {
    CGprogram vertex = use("offset.vert", kVertexSource);
    CGprogram fragment = use("types.frag", kTypesSource);
    const auto refused = [](const char* pattern) {
        expectReport(CG_INVALID_PARAMETER_ERROR, pattern);
    };
    cgGLSetParameter1f(cgGetNamedParameter(fragment, "map"), 1.0f);
    refused("\"map\" is a parameter of type sampler2D; the call sets float or a float vector");
    cgGLSetParameter1f(cgGetNamedParameter(fragment, "count"), 1.0f);
    refused("\"count\" is a parameter of type int;");
    cgGLSetParameter1f(cgGetNamedParameter(fragment, "flag"), 1.0f);
    refused("\"flag\" is a parameter of type bool;");
    cgGLSetParameter3f(cgGetNamedParameter(fragment, "shift"), 1.0f, 2.0f, 3.0f);
    refused("types.frag: cgGLSetParameter3f: \"shift\" is a parameter of type vec2; the call sets "
            "3 components");
    cgGLSetParameter3f(cgGetNamedParameter(vertex, "offset"), 1.0f, 2.0f, 3.0f);
    refused("\"offset\" is a per-vertex parameter of type vec2; the call sets 3");
    cgGLSetStateMatrixParameter(cgGetNamedParameter(fragment, "rotation"), CG_GL_MODELVIEW_MATRIX,
                                CG_GL_MATRIX_IDENTITY);
    refused("\"rotation\" is a parameter of type mat3; the call sets a uniform mat4");
    cgGLSetTextureParameter(cgGetNamedParameter(fragment, "tint"), 0);
    refused("\"tint\" is a parameter of type float; the call sets a sampler");
}

} // namespace
} // namespace korvath::test
