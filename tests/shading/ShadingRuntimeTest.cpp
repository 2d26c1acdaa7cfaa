// The shading runtime against a real GL context: binding, parameter lookup and
// values as GL holds them, state matrices, per-vertex parameters inside one
// batch, sampler units, and the error paths through the callback.
#include "shading/ShadingRuntime.h"
#include "math/Matrix4.h"
#include "shading/MatrixInverse.h"
#include "support/GlTestContext.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

namespace korvath::test {
namespace {

const char* const kVertexSource = R"(#version 450 compatibility
out gl_PerVertex { vec4 gl_Position; float gl_PointSize; };
uniform mat4 modelViewProj, modelView, modelViewIT;
uniform vec3 lightVec;
uniform float unusedScale; // never read: the compiler drops it
in vec2 offset;            // per-vertex: moves each point by its own amount
in vec3 unusedAttribute;   // never read
layout(location = 0) out vec3 colour;
layout(location = 1) out vec3 eyeNormal;
void main() {
    gl_Position = modelViewProj * (gl_Vertex + vec4(offset, 0.0, 0.0));
    eyeNormal = (modelView * modelViewIT * vec4(gl_Normal, 0.0)).xyz;
    gl_PointSize = 5.0;
    colour = lightVec;
}
)";

const char* const kFragmentSource = R"(#version 450 compatibility
layout(location = 0) in vec3 colour;
uniform sampler2D unusedMap; // declared first, never read
uniform sampler2D texture;
uniform vec4 tint;
void main() { gl_FragColor = vec4(colour, 1.0) * tint * texture2D(texture, gl_PointCoord); }
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

// What the error callback saw on its last call: the error (which it takes, so
// clears) and the listing of the test's context at that moment.
struct ReportedError {
    int calls = 0;
    CGerror error = CG_NO_ERROR;
    std::string listing;
} reported;
CGcontext context = nullptr;

void recordError() {
    ++reported.calls;
    reported.error = cgGetError();
    reported.listing = cgGetLastListing(context);
}

class ShadingRuntimeTest : public ::testing::Test {
protected:
    void SetUp() override {
        ensureGlContext();
        reported = ReportedError();
        context = cgCreateContext();
        cgSetErrorCallback(recordError);
        std::filesystem::create_directories(folder);
    }

    void TearDown() override {
        EXPECT_EQ(0, reported.calls) << "unexpected: " << reported.listing;
        cgGLDisableProfile(CG_PROFILE_GLSLV);
        cgGLDisableProfile(CG_PROFILE_GLSLF);
        cgDestroyContext(context);
        cgSetErrorCallback(nullptr);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
        std::filesystem::remove_all(folder);
    }

    std::string write(const std::string& name, const std::string& source) {
        std::ofstream(folder + name) << source;
        return folder + name;
    }

    // A program from a source file, loaded unless told not to: *.frag names fragment
    // programs, others vertex ones.
    CGprogram create(const std::string& name, const std::string& source, bool loaded = true) {
        CGprogram program = cgCreateProgramFromFile(context, CG_SOURCE, write(name, source).c_str(),
                                                    profileOf(name), "main", nullptr);
        if (loaded) {
            cgGLLoadProgram(program);
        }
        return program;
    }

    // Creates and loads the program, enables its profile and binds it.
    CGprogram use(const std::string& name, const std::string& source) {
        CGprogram program = create(name, source);
        cgGLEnableProfile(profileOf(name));
        cgGLBindProgram(program);
        return program;
    }

    static CGprofile profileOf(const std::string& name) {
        return name.find(".frag") != std::string::npos ? CG_PROFILE_GLSLF : CG_PROFILE_GLSLV;
    }

    // This process's own folder of sources, removed after each test.
    const std::string folder =
        testing::TempDir() + "korvath-shading-" + std::to_string(getpid()) + "/";
};

// ---- binding and parameters ----------------------------------------------------

TEST_F(ShadingRuntimeTest, EnabledStagesFormThePipelineAndDestroyingABoundProgramUnbindsIt) {
    CGprogram vertex = use("bind.vert", kVertexSource);
    use("bind.frag", kFragmentSource);
    const GLuint vertexId = stageProgram(GL_VERTEX_SHADER);
    EXPECT_NE(0u, vertexId);
    EXPECT_NE(0u, stageProgram(GL_FRAGMENT_SHADER));
    cgGLDisableProfile(CG_PROFILE_GLSLF);
    EXPECT_EQ(vertexId, stageProgram(GL_VERTEX_SHADER));
    EXPECT_EQ(0u, stageProgram(GL_FRAGMENT_SHADER));

    cgDestroyProgram(vertex);
    EXPECT_EQ(0, boundPipeline()) << "no stage is left: fixed function";
    EXPECT_FALSE(glIsProgram(vertexId)) << "no pipeline may keep the GL program alive";
}

TEST_F(ShadingRuntimeTest, LookupFindsDeclaredParametersEvenWhenOptimisedAway) {
    CGprogram vertex = use("lookup.vert", kVertexSource);
    CGprogram fragment = create("lookup.frag", kFragmentSource);
    ASSERT_EQ(-1, glGetUniformLocation(stageProgram(GL_VERTEX_SHADER), "unusedScale"))
        << "the test needs it optimised away";
    for (const char* name : {"modelViewProj", "unusedScale", "offset", "unusedAttribute"}) {
        EXPECT_NE(nullptr, cgGetNamedParameter(vertex, name)) << name;
    }
    EXPECT_EQ(nullptr, cgGetNamedParameter(vertex, "notDeclared"));
    EXPECT_EQ(nullptr, cgGetNamedParameter(vertex, "tint")) << "it belongs to the other program";
    EXPECT_EQ(nullptr, cgGetNamedParameter(fragment, "colour")) << "an input between stages";
    // Setting what the driver dropped does nothing.
    cgGLSetParameter1f(cgGetNamedParameter(vertex, "unusedScale"), 4.0f);
}

TEST_F(ShadingRuntimeTest, ValuesReachTheirOwnProgramWhateverIsBoundAndSamplersTakeDeclaredUnits) {
    CGprogram first = use("hold1.vert", kVertexSource);
    const GLuint firstId = stageProgram(GL_VERTEX_SHADER);
    CGprogram fragment = use("hold.frag", kFragmentSource);
    const GLuint fragmentId = stageProgram(GL_FRAGMENT_SHADER);
    use("hold2.vert", kVertexSource);
    // Set while another program holds the stage: the value must still reach its own.
    cgGLSetParameter3f(cgGetNamedParameter(first, "lightVec"), 1.5f, -2.0f, 3.25f);
    cgGLSetParameter2f(cgGetNamedParameter(fragment, "tint"), 0.5f, 0.25f);

    const Matrix4 light = uniformValue(firstId, "lightVec");
    const Matrix4 tint = uniformValue(fragmentId, "tint");
    EXPECT_EQ(std::vector<float>({1.5f, -2.0f, 3.25f}), std::vector<float>(light.m, light.m + 3));
    EXPECT_EQ(std::vector<float>({0.5f, 0.25f, 0.0f, 1.0f}), std::vector<float>(tint.m, tint.m + 4))
        << "missing components are filled as glVertexAttrib fills them";
    GLint unit = -1;
    glGetUniformiv(fragmentId, glGetUniformLocation(fragmentId, "texture"), &unit);
    EXPECT_EQ(1, unit) << "the second declared sampler reads unit 1 although the first is unused";
}

TEST_F(ShadingRuntimeTest, StateMatricesAreTheGlMatricesInForceAtTheCall) {
    CGprogram vertex = use("matrices.vert", kVertexSource);
    glMatrixMode(GL_PROJECTION);
    glFrustum(-1.0, 1.0, -0.75, 0.75, 1.0, 100.0);
    glMatrixMode(GL_MODELVIEW);
    // Rotation, non-uniform scale and translation: the inverse transpose differs from it.
    glTranslatef(1.0f, -2.0f, -10.0f);
    glRotatef(30.0f, 0.3f, 1.0f, 0.2f);
    glScalef(2.0f, 0.5f, 3.0f);
    Matrix4 modelView, product;
    glGetFloatv(GL_MODELVIEW_MATRIX, modelView.m);
    glGetFloatv(GL_PROJECTION_MATRIX, product.m);
    product *= modelView;

    const auto set = [&](const char* name, CGGLenum matrix, CGGLenum transform) {
        cgGLSetStateMatrixParameter(cgGetNamedParameter(vertex, name), matrix, transform);
        return uniformValue(stageProgram(GL_VERTEX_SHADER), name);
    };
    const Matrix4 results[][2] = {
        {product, set("modelViewProj", CG_GL_MODELVIEW_PROJECTION_MATRIX, CG_GL_MATRIX_IDENTITY)},
        {modelView, set("modelView", CG_GL_MODELVIEW_MATRIX, CG_GL_MATRIX_IDENTITY)},
        // (M^-1)^T = IT exactly when IT^T * M = I.
        {Matrix4(),
         transposed(set("modelViewIT", CG_GL_MODELVIEW_MATRIX, CG_GL_MATRIX_INVERSE_TRANSPOSE)) *
             modelView}};
    for (const auto& [expected, actual] : results) {
        for (int i = 0; i < 16; ++i) {
            EXPECT_NEAR(expected.m[i], actual.m[i], 1e-5f) << "element " << i;
        }
    }
}

TEST_F(ShadingRuntimeTest, PerVertexParametersMoveEachPointOfOneBatchByItsOwnValue) {
    CGprogram vertex = use("points.vert", kVertexSource);
    use("white.frag", "#version 450 compatibility\nvoid main() { gl_FragColor = vec4(1.0); }\n");
    cgGLSetStateMatrixParameter(cgGetNamedParameter(vertex, "modelViewProj"),
                                CG_GL_MODELVIEW_PROJECTION_MATRIX, CG_GL_MATRIX_IDENTITY);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_PROGRAM_POINT_SIZE);
    // Every point is issued at the origin; only its offset says where it goes.
    const float offsets[][2] = {{-0.5f, 0.0f}, {0.5f, 0.0f}, {0.0f, 0.5f}};
    glBegin(GL_POINTS);
    for (const auto& point : offsets) {
        cgGLSetParameter2f(cgGetNamedParameter(vertex, "offset"), point[0], point[1]);
        glVertex2f(0.0f, 0.0f);
    }
    glEnd();
    const auto pixels = readBackBuffer();
    EXPECT_EQ(255, pixelAt(pixels, 200, 300).r); // NDC (-0.5, 0) on the 800x600 window
    EXPECT_EQ(255, pixelAt(pixels, 600, 300).r); // (0.5, 0)
    EXPECT_EQ(255, pixelAt(pixels, 400, 450).r); // (0, 0.5)
    EXPECT_EQ(0, pixelAt(pixels, 400, 300).r) << "no point may stay at the origin";
}

// ---- errors --------------------------------------------------------------------

// Each failure reaches the callback once; its listing names the file or the call
// and says what went wrong, and the failed handle binds nothing.
TEST_F(ShadingRuntimeTest, FailuresReachTheCallbackOnceWithAListingAndBindNothing) {
    const std::string path = write("misuse.vert", kVertexSource);
    CGprogram vertex = create("handles.vert", kVertexSource);
    CGprogram fragment = create("handles.frag", kFragmentSource);
    const auto useFile = [&](CGenum type, const std::string& file, const char* entry) {
        CGprogram program =
            cgCreateProgramFromFile(context, type, file.c_str(), CG_PROFILE_GLSLV, entry, nullptr);
        cgGLLoadProgram(program);
        cgGLEnableProfile(CG_PROFILE_GLSLV);
        cgGLBindProgram(program);
    };
    std::string atZero = kVertexSource;
    atZero.insert(atZero.find("in vec2 offset"), "layout(location = 0) ");
    const struct {
        std::function<void()> call;
        CGerror expected;
        std::string names, says; // what the listing must hold
    } cases[] = {
        {[&] { useFile(CG_SOURCE, "cg/none.cg", "main"); }, CG_FILE_READ_ERROR,
         "cg/none.cg: ", "No such file"},
        {[&] { use("broken.vert", kVertexSource + std::string("void f() { undeclared = 1; }")); },
         CG_COMPILER_ERROR, "broken.vert: ", "undeclared"},
        {[&] { use("nomain.vert", "#version 450 compatibility\nfloat f() { return 1.0; }\n"); },
         CG_PROGRAM_LOAD_ERROR, "nomain.vert: ", "main"},
        {[&] { use("zero.vert", atZero); }, CG_PROGRAM_LOAD_ERROR,
         "zero.vert: ", "\"offset\" is at attribute location 0"},
        {[&] { cgGLBindProgram(create("unloaded.vert", kVertexSource, false)); },
         CG_PROGRAM_LOAD_ERROR, "unloaded.vert: ", "bound before cgGLLoadProgram"},
        {[&] { useFile(CG_OBJECT, path, "main"); }, CG_UNSUPPORTED_ERROR, path, "only CG_SOURCE"},
        {[] { cgGLSetParameter1f(nullptr, 1.0f); }, CG_INVALID_PARAMETER_ERROR, "",
         "cgGLSetParameter1f: null parameter"},
        {[&] { cgGLSetParameter1f(cgGetNamedParameter(fragment, "texture"), 1.0f); },
         CG_INVALID_PARAMETER_ERROR, "handles.frag: ", "\"texture\" is a sampler2D"},
        {[&] {
             cgGLSetStateMatrixParameter(cgGetNamedParameter(vertex, "lightVec"),
                                         CG_GL_MODELVIEW_MATRIX, CG_GL_MATRIX_IDENTITY);
         },
         CG_INVALID_PARAMETER_ERROR, "handles.vert: ", "\"lightVec\" is not a uniform mat4"},
    };
    for (const auto& c : cases) {
        c.call();
        EXPECT_EQ(1, reported.calls) << c.says;
        EXPECT_EQ(c.expected, reported.error) << c.says;
        const std::string& listing = reported.listing;
        EXPECT_TRUE(listing.find(c.names) != listing.npos && listing.find(c.says) != listing.npos)
            << c.says << " in: " << listing;
        EXPECT_EQ(0, boundPipeline()) << c.says;
        reported = ReportedError();
    }

    // Without a callback the error waits for cgGetError, which hands it out once.
    cgSetErrorCallback(nullptr);
    useFile(CG_SOURCE, "cg/none.cg", "main");
    EXPECT_EQ(CG_FILE_READ_ERROR, cgGetError());
    EXPECT_EQ(CG_NO_ERROR, cgGetError());
}

} // namespace
} // namespace korvath::test
