// Vertex and fragment programs linked as pairs: a GLSL 4.50 pair's own sampler
// bindings, uniforms both stages declare, per-vertex inputs shared by
// the pairs of one vertex program, what the pair's link tells about names the
// vertex program alone dropped, and the pair's lifetime.
#include "RuntimeFixture.h"
#include "testbed/GlTestContext.h"

#include <gmock/gmock.h>

namespace korvath::test {
namespace {

// Red and green at NDC (x, y) of the 800x600 window.
std::pair<int, int> redGreenAt(const std::vector<std::uint8_t>& pixels, float x, float y) {
    const Rgb colour = pixelAt(pixels, static_cast<int>((x + 1.0f) * 400.0f),
                               static_cast<int>((y + 1.0f) * 300.0f));
    return {colour.r, colour.g};
}

using LinkedPairTest = RuntimeFixture;

// The source's own units (layout(binding)) hold, and in/out interfaces match.
TEST_F(LinkedPairTest, Glsl450PairKeepsItsSamplerBindings) {
    if (!GLEW_VERSION_4_5) {
        GTEST_SKIP() << "needs GLSL 4.50 (OpenGL 4.5)";
    }
    use("new.vert", "#version 450 compatibility\nlayout(location = 0) out vec2 where;\n"
                    "void main() { gl_Position = gl_Vertex; where = vec2(0.5); }\n");
    use("new.frag", "#version 450 compatibility\nlayout(location = 0) in vec2 where;\n"
                    "layout(binding = 2) uniform sampler2D shadowMap;\n"
                    "layout(binding = 1) uniform sampler2D image;\nout vec4 colour;\nvoid main() "
                    "{ colour = texture(image, where) + texture(shadowMap, where); }\n");
    EXPECT_EQ(1, samplerUnit("image"));
    EXPECT_EQ(2, samplerUnit("shadowMap"));
}

// GLSL makes a uniform both stages declare one variable of the pair: the two
// values set on it must agree, and so must the types.
TEST_F(LinkedPairTest, UniformBothStagesDeclareMustAgree) {
    const std::string declarations = "#version 120\nuniform vec3 tint;\nvarying vec3 shade;\n";
    CGprogram vertex = use("tinted.vert", declarations + "void main() { gl_Position = gl_Vertex; "
                                                         "shade = tint; }\n");
    CGprogram fragment = use("tinted.frag", declarations + "void main() { gl_FragColor = "
                                                           "vec4(tint * shade, 1.0); }\n");
    cgGLSetParameter3f(cgGetNamedParameter(vertex, "tint"), 1.0f, 0.0f, 1.0f);
    cgGLSetParameter3f(cgGetNamedParameter(fragment, "tint"), 1.0f, 0.0f, 1.0f);
    cgGLBindProgram(fragment);
    EXPECT_THAT(reports, ::testing::IsEmpty());
    EXPECT_EQ(std::vector<float>({1.0f, 0.0f, 1.0f}), uniformValues("tint", 3));

    cgGLSetParameter3f(cgGetNamedParameter(fragment, "tint"), 0.0f, 1.0f, 0.0f);
    EXPECT_THAT(reports, ::testing::IsEmpty()) << "the other may follow before the draw";
    cgGLBindProgram(fragment);
    expectReport(CG_INVALID_PARAMETER_ERROR,
                 "tinted.vert and .*tinted.frag: uniform \"tint\" is one variable of the linked "
                 "pair, but the programs set it to \\(1, 0, 1\\) and \\(0, 1, 0\\)");

    use("float.frag", "#version 120\nuniform float tint;\nvarying vec3 shade;\n"
                      "void main() { gl_FragColor = vec4(tint * shade, 1.0); }\n");
    expectReport(CG_PROGRAM_LOAD_ERROR,
                 "tinted.vert and .*float.frag: both declare uniform \"tint\", which the linked "
                 "pair shares, as vec3 and float");
    EXPECT_EQ(0u, currentProgram()) << "a pair that cannot link draws nothing of its own";
}

// The vertex program linked alone drops a uniform that feeds only its outputs:
// set before any pair exists, its value is kept, and the pair's link both tells
// its type and checks the value against it.
TEST_F(LinkedPairTest, PairLinkTypesWhatTheVertexProgramAloneDropped) {
    const char* vertexSource = "#version 120\nuniform vec3 colour;\nvarying vec3 shade;\n"
                               "void main() { gl_Position = gl_Vertex; shade = colour; }\n";
    const char* fragmentSource = "#version 120\nvarying vec3 shade;\n"
                                 "void main() { gl_FragColor = vec4(shade, 1.0); }\n";
    CGprogram vertex = use("feeds.vert", vertexSource);
    cgGLSetParameter3f(cgGetNamedParameter(vertex, "colour"), 0.0f, 0.0f, 1.0f);
    use("shade.frag", fragmentSource);
    EXPECT_THAT(reports, ::testing::IsEmpty());
    EXPECT_EQ(std::vector<float>({0.0f, 0.0f, 1.0f}), uniformValues("colour", 3));
    cgGLSetParameter4f(cgGetNamedParameter(vertex, "colour"), 1.0f, 1.0f, 1.0f, 1.0f);
    expectReport(CG_INVALID_PARAMETER_ERROR, "the call sets 4 components"); // typed now

    cgGLDisableProfile(CG_PROFILE_GLSLF);
    CGprogram unchecked = use("unchecked.vert", vertexSource);
    cgGLSetParameter4f(cgGetNamedParameter(unchecked, "colour"), 1.0f, 1.0f, 1.0f, 1.0f);
    EXPECT_THAT(reports, ::testing::IsEmpty()) << "no type to check against yet";
    use("shade.frag", fragmentSource);
    expectReport(CG_INVALID_PARAMETER_ERROR, "unchecked.vert: cgGLSetParameter4f: \"colour\" is a "
                                             "parameter of type vec3; the call sets 4 components");
    EXPECT_EQ(std::vector<float>({0.0f, 0.0f, 0.0f}), uniformValues("colour", 3))
        << "the refused value never reaches GL";
}

// Every pair of one vertex program takes its per-vertex input at the same
// attribute, including one that the vertex program alone drops because it
// feeds only an output.
TEST_F(LinkedPairTest, PairsOfOneVertexProgramTakePerVertexValuesAlike) {
    CGprogram vertex = use("shared.vert", "#version 120\nattribute vec2 offset;\n"
                                          "attribute float brightness;\nvarying float shade;\n"
                                          "void main() { gl_Position = vec4(offset, 0.0, 1.0); "
                                          "shade = brightness; }\n");
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glPointSize(5.0f);
    float x = -0.5f;
    for (const char* colour : {"shade, 0.0", "0.0, shade"}) { // red, then green
        use("shared.frag", std::string("#version 120\nvarying float shade;\nvoid main() { "
                                       "gl_FragColor = vec4(") +
                               colour + ", 0.0, 1.0); }\n");
        glBegin(GL_POINTS);
        for (const float y : {-0.5f, 0.5f}) {
            cgGLSetParameter2f(cgGetNamedParameter(vertex, "offset"), x, y);
            cgGLSetParameter1f(cgGetNamedParameter(vertex, "brightness"), y > 0.0f ? 1.0f : 0.5f);
            glVertex2f(0.0f, 0.0f);
        }
        glEnd();
        x += 1.0f;
    }
    const auto pixels = readBackBuffer();
    EXPECT_EQ(std::make_pair(255, 0), redGreenAt(pixels, -0.5f, 0.5f));
    EXPECT_EQ(std::make_pair(128, 0), redGreenAt(pixels, -0.5f, -0.5f));
    EXPECT_EQ(std::make_pair(0, 255), redGreenAt(pixels, 0.5f, 0.5f));
    EXPECT_EQ(std::make_pair(0, 128), redGreenAt(pixels, 0.5f, -0.5f));
}

TEST_F(LinkedPairTest, PairIsLinkedOnceAndReleasedWithEitherProgram) {
    const char* vertexSource = "#version 120\nvoid main() { gl_Position = gl_Vertex; }\n";
    const char* fragmentSource = "#version 120\nvoid main() { gl_FragColor = vec4(1.0); }\n";
    use("kept.vert", vertexSource);
    CGprogram fragment = use("kept.frag", fragmentSource);
    const GLuint pair = currentProgram();
    cgGLDisableProfile(CG_PROFILE_GLSLF);
    cgGLEnableProfile(CG_PROFILE_GLSLF);
    cgGLBindProgram(fragment);
    EXPECT_EQ(pair, currentProgram());
    cgDestroyProgram(fragment);
    EXPECT_NE(pair, currentProgram()) << "the vertex program draws alone";
    EXPECT_EQ(GL_FALSE, glIsProgram(pair));
}

} // namespace
} // namespace korvath::test
