// The owner of a program pair: one program switch to bind it and each value
// uploaded once (counted through GLEW's function pointers), the missing-parameter
// exit, and what it destroys. The standard matrices' values are the golden
// images' to check: every pass draws through them.
#include "shading/ProgramPair.h"

#include "RuntimeFixture.h"

#include <unistd.h>
#include <utility>

namespace korvath::test {
namespace {

const char* const kVertexSource = R"(#version 120
uniform mat4 modelViewProj, modelViewIT;
uniform vec3 lightVec;
varying vec3 colour;
void main() { gl_Position = modelViewProj * gl_Vertex;
              colour = lightVec + (modelViewIT * vec4(gl_Normal, 0.0)).xyz; }
)";

const char* const kFragmentSource = R"(#version 120
varying vec3 colour;
void main() { gl_FragColor = vec4(colour, 1.0); }
)";

int switches = 0;
int uploads = 0;
PFNGLUSEPROGRAMPROC realUseProgram = nullptr;
PFNGLUNIFORM3FVPROC realUniform3fv = nullptr;

class ProgramPairTest : public RuntimeFixture {
protected:
    ProgramPair make(ProgramPair::Programs programs = ProgramPair::Programs::DieWithPair) {
        return {shading(),
                {vertexPath.c_str(), {"modelViewProj", "lightVec"}},
                {fragmentPath.c_str(), {}},
                ProgramPair::Compile::Optimised,
                programs};
    }
    // From here on program switches and vec3 uploads are counted.
    void countCalls() {
        realUseProgram = std::exchange(__glewUseProgram, [](GLuint id) {
            ++switches;
            realUseProgram(id);
        });
        realUniform3fv = std::exchange(__glewUniform3fv, [](GLint at, GLsizei n, const GLfloat* v) {
            ++uploads;
            realUniform3fv(at, n, v);
        });
    }
    const std::string vertexPath = write("pair.vert", kVertexSource);
    const std::string fragmentPath = write("pair.frag", kFragmentSource);
};

// The vertex program lacks "modelView": setting the standard matrices skips it.
TEST_F(ProgramPairTest, BindSwitchesOnceAndEachValueReachesThePairOnce) {
    const ProgramPair pair = make();
    countCalls();
    for (int frame = 0; frame < 2; ++frame) {
        pair.bind();
        cgGLSetParameter3f(pair.vertexParameter("lightVec"), 1.0f, 2.0f, 3.0f);
        pair.setStandardMatrices();
        EXPECT_EQ(std::vector<float>({1.0f, 2.0f, 3.0f}), uniformValues("lightVec", 3));
        pair.unbind();
        EXPECT_EQ(0u, currentProgram());
    }
    EXPECT_EQ(4, switches) << "the pair, then fixed function, per frame";
    EXPECT_EQ(2, uploads) << "lightVec once per frame";
    __glewUseProgram = realUseProgram;
    __glewUniform3fv = realUniform3fv;
}

TEST_F(ProgramPairTest, MissingRequiredParameterEndsTheProcessWithTheMessage) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            dup2(STDERR_FILENO, STDOUT_FILENO); // the message belongs on standard output
            ProgramPair pair(shading(), {vertexPath.c_str(), {"lightVec", "modelView"}},
                             {fragmentPath.c_str(), {}}, ProgramPair::Compile::AsWritten);
        },
        ::testing::ExitedWithCode(1),
        "(^|\n)Unable to retrieve program parameters, exiting\\.\\.\\.\n$");
}

TEST_F(ProgramPairTest, DestroysItsProgramsUnlessTheContextKeepsThem) {
    const CGprogram kept = make(ProgramPair::Programs::LiveWithContext).fragment();
    const CGprogram destroyed = make().fragment();
    cgGLLoadProgram(kept);
    EXPECT_TRUE(reports.empty());
    cgGLLoadProgram(destroyed);
    expectReport(CG_INVALID_PROGRAM_HANDLE_ERROR, "cgGLLoadProgram: invalid program handle");
}

} // namespace
} // namespace korvath::test
