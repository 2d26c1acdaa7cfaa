// The shading runtime against a real GL context: compiling, binding, parameter
// lookup and values as GL holds them, state matrices, per-vertex parameters
// inside one batch, sampler units, and every error path through the callback.
#include "ShaderFiles.h"
#include "math/Matrix4.h"
#include "support/GlTestContext.h"

#include <gtest/gtest.h>

#include <string>

namespace korvath::test {
namespace {

const char* const kVertexSource = R"(#version 450 compatibility
out gl_PerVertex { vec4 gl_Position; float gl_PointSize; };
uniform mat4 modelViewProj;
uniform vec3 lightVec;
uniform float unusedScale; // never read: the compiler drops it
in vec2 offset;            // per-vertex: moves each point by its own amount
in vec3 unusedAttribute;   // never read
layout(location = 0) out vec3 colour;
void main() {
    gl_Position = modelViewProj * (gl_Vertex + vec4(offset, 0.0, 0.0));
    gl_PointSize = 5.0;
    colour = lightVec;
}
)";

const char* const kFragmentSource = R"(#version 450 compatibility
layout(location = 0) in vec3 colour;
uniform sampler2D unusedMap; // declared first, never read
uniform sampler2D texture;
uniform vec4 tint;
void main() {
    gl_FragColor = vec4(colour, 1.0) * tint * texture2D(texture, gl_PointCoord);
}
)";

const char* const kMatrixSource = R"(#version 450 compatibility
out gl_PerVertex { vec4 gl_Position; float gl_PointSize; };
uniform mat4 modelViewProj;
uniform mat4 modelView;
uniform mat4 modelViewIT;
uniform mat4 texTransform;
uniform mat4 projection;
void main() {
    gl_Position = modelViewProj * modelView * modelViewIT * texTransform * projection * gl_Vertex;
}
)";

GLuint stageProgram(GLenum stage) {
    GLint pipeline = 0;
    glGetIntegerv(GL_PROGRAM_PIPELINE_BINDING, &pipeline);
    if (pipeline == 0) {
        return 0;
    }
    GLint program = 0;
    glGetProgramPipelineiv(static_cast<GLuint>(pipeline), stage, &program);
    return static_cast<GLuint>(program);
}

GLint boundPipeline() {
    GLint pipeline = 0;
    glGetIntegerv(GL_PROGRAM_PIPELINE_BINDING, &pipeline);
    return pipeline;
}

Matrix4 uniformMatrix(GLuint program, const char* name) {
    Matrix4 value;
    glGetUniformfv(program, glGetUniformLocation(program, name), value.m);
    return value;
}

void expectMatrixNear(const Matrix4& expected, const Matrix4& actual, float tolerance) {
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(expected.m[i], actual.m[i], tolerance) << "element " << i;
    }
}

// A modelview with rotation, non-uniform scale and translation, so that its
// inverse transpose differs from it, and a perspective projection.
void loadTestMatrices() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-1.0, 1.0, -0.75, 0.75, 1.0, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(1.0f, -2.0f, -10.0f);
    glRotatef(30.0f, 0.3f, 1.0f, 0.2f);
    glScalef(2.0f, 0.5f, 3.0f);
}

void resetMatrices() {
    for (GLenum mode : {GL_PROJECTION, GL_TEXTURE, GL_MODELVIEW}) {
        glMatrixMode(mode);
        glLoadIdentity();
    }
}

class ShadingRuntimeTest : public ::testing::Test {
protected:
    void SetUp() override {
        ensureGlContext();
        context = cgCreateContext();
        recordErrors(context, &reported);
    }

    void TearDown() override {
        cgGLDisableProfile(CG_PROFILE_GLSLV);
        cgGLDisableProfile(CG_PROFILE_GLSLF);
        cgDestroyContext(context);
        cgSetErrorCallback(nullptr);
        resetMatrices();
        EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
    }

    CGprogram create(const std::string& name, const std::string& source, CGprofile profile) {
        return cgCreateProgramFromFile(context, CG_SOURCE, writeShaderFile(name, source).c_str(),
                                       profile, "main", nullptr);
    }

    CGprogram load(const std::string& name, const std::string& source, CGprofile profile) {
        CGprogram program = create(name, source, profile);
        cgGLLoadProgram(program);
        return program;
    }

    void bindBoth(CGprogram vertex, CGprogram fragment) {
        cgGLEnableProfile(CG_PROFILE_GLSLV);
        cgGLBindProgram(vertex);
        cgGLEnableProfile(CG_PROFILE_GLSLF);
        cgGLBindProgram(fragment);
    }

    CGcontext context = nullptr;
    ReportedError reported;
};

// ---- compiling and binding -------------------------------------------------

TEST_F(ShadingRuntimeTest, LoadedProgramsGoIntoThePipelineAndLeaveItWhenDisabled) {
    CGprogram vertex = load("bind.vert", kVertexSource, CG_PROFILE_GLSLV);
    CGprogram fragment = load("bind.frag", kFragmentSource, CG_PROFILE_GLSLF);
    ASSERT_EQ(0, reported.calls) << reported.listing;

    bindBoth(vertex, fragment);
    EXPECT_NE(0, boundPipeline());
    EXPECT_NE(0u, stageProgram(GL_VERTEX_SHADER));
    EXPECT_NE(0u, stageProgram(GL_FRAGMENT_SHADER));
    EXPECT_NE(stageProgram(GL_VERTEX_SHADER), stageProgram(GL_FRAGMENT_SHADER));

    cgGLDisableProfile(CG_PROFILE_GLSLF);
    EXPECT_NE(0u, stageProgram(GL_VERTEX_SHADER));
    EXPECT_EQ(0u, stageProgram(GL_FRAGMENT_SHADER));

    cgGLDisableProfile(CG_PROFILE_GLSLV);
    EXPECT_EQ(0, boundPipeline()) << "with no stage left, fixed function must be back";
}

TEST_F(ShadingRuntimeTest, ProgramBoundBeforeItsProfileIsEnabledTakesEffectOnEnable) {
    CGprogram vertex = load("late.vert", kVertexSource, CG_PROFILE_GLSLV);
    cgGLBindProgram(vertex);
    EXPECT_EQ(0, boundPipeline());
    cgGLEnableProfile(CG_PROFILE_GLSLV);
    EXPECT_NE(0u, stageProgram(GL_VERTEX_SHADER));
    EXPECT_EQ(0, reported.calls) << reported.listing;
}

TEST_F(ShadingRuntimeTest, DestroyingABoundProgramUnbindsIt) {
    CGprogram vertex = load("destroy.vert", kVertexSource, CG_PROFILE_GLSLV);
    cgGLEnableProfile(CG_PROFILE_GLSLV);
    cgGLBindProgram(vertex);
    const GLuint id = stageProgram(GL_VERTEX_SHADER);
    ASSERT_NE(0u, id);

    cgDestroyProgram(vertex);
    EXPECT_EQ(0, boundPipeline());
    EXPECT_FALSE(glIsProgram(id)) << "the GL program must be deleted";

    cgGLEnableProfile(CG_PROFILE_GLSLF);
    cgGLDisableProfile(CG_PROFILE_GLSLF);
    EXPECT_EQ(0, boundPipeline()) << "the destroyed program must not come back";
    EXPECT_EQ(0, reported.calls) << reported.listing;
}

TEST_F(ShadingRuntimeTest, DestroyingTheContextDestroysItsProgramsAndUnbindsThem) {
    CGcontext other = cgCreateContext();
    CGprogram vertex = cgCreateProgramFromFile(other, CG_SOURCE, writeShaderFile("ctx.vert", kVertexSource).c_str(),
                                               CG_PROFILE_GLSLV, "main", nullptr);
    cgGLLoadProgram(vertex);
    cgGLEnableProfile(CG_PROFILE_GLSLV);
    cgGLBindProgram(vertex);
    const GLuint id = stageProgram(GL_VERTEX_SHADER);
    ASSERT_NE(0u, id);

    cgDestroyContext(other);
    EXPECT_EQ(0, boundPipeline());
    EXPECT_FALSE(glIsProgram(id));
    EXPECT_EQ(0, reported.calls) << reported.listing;
    cgGLBindProgram(vertex);
    EXPECT_EQ(CG_INVALID_PROGRAM_HANDLE_ERROR, reported.error) << "its programs are gone with it";
}

TEST_F(ShadingRuntimeTest, DestroyingAProgramTwiceIsReportedNotAFreedRecordTouched) {
    CGprogram vertex = load("twice.vert", kVertexSource, CG_PROFILE_GLSLV);
    cgDestroyProgram(vertex);
    EXPECT_EQ(0, reported.calls);
    cgDestroyProgram(vertex);
    EXPECT_EQ(1, reported.calls);
    EXPECT_EQ(CG_INVALID_PROGRAM_HANDLE_ERROR, reported.error);
}

// ---- parameter lookup and values ---------------------------------------------

TEST_F(ShadingRuntimeTest, LookupFindsDeclaredParametersEvenWhenOptimisedAway) {
    CGprogram vertex = load("lookup.vert", kVertexSource, CG_PROFILE_GLSLV);
    CGprogram fragment = load("lookup.frag", kFragmentSource, CG_PROFILE_GLSLF);
    bindBoth(vertex, fragment);
    const GLuint vertexId = stageProgram(GL_VERTEX_SHADER);
    ASSERT_EQ(-1, glGetUniformLocation(vertexId, "unusedScale")) << "the test needs it optimised away";

    for (const char* name : {"modelViewProj", "lightVec", "unusedScale", "offset", "unusedAttribute"}) {
        EXPECT_NE(nullptr, cgGetNamedParameter(vertex, name)) << name;
    }
    for (const char* name : {"unusedMap", "texture", "tint"}) {
        EXPECT_NE(nullptr, cgGetNamedParameter(fragment, name)) << name;
    }
    EXPECT_EQ(nullptr, cgGetNamedParameter(vertex, "notDeclared"));
    EXPECT_EQ(nullptr, cgGetNamedParameter(vertex, "tint")) << "a parameter belongs to its own program";
    EXPECT_EQ(nullptr, cgGetNamedParameter(fragment, "colour")) << "a fragment input is not a parameter";
    EXPECT_EQ(nullptr, cgGetNamedParameter(vertex, "gl_Position"));
    EXPECT_EQ(nullptr, cgGetNamedParameter(vertex, nullptr));
    EXPECT_EQ(0, reported.calls) << reported.listing;
}

TEST_F(ShadingRuntimeTest, UniformValuesLandInTheirProgramAndHoldWhateverIsBound) {
    CGprogram first = load("hold1.vert", kVertexSource, CG_PROFILE_GLSLV);
    CGprogram second = load("hold2.vert", kVertexSource, CG_PROFILE_GLSLV);
    CGprogram fragment = load("hold.frag", kFragmentSource, CG_PROFILE_GLSLF);

    bindBoth(first, fragment);
    const GLuint firstId = stageProgram(GL_VERTEX_SHADER);
    const GLuint fragmentId = stageProgram(GL_FRAGMENT_SHADER);
    cgGLSetParameter3f(cgGetNamedParameter(first, "lightVec"), 1.5f, -2.0f, 3.25f);
    cgGLSetParameter4f(cgGetNamedParameter(fragment, "tint"), 0.1f, 0.2f, 0.3f, 0.4f);

    cgGLBindProgram(second);
    const GLuint secondId = stageProgram(GL_VERTEX_SHADER);
    ASSERT_NE(firstId, secondId);
    cgGLSetParameter3f(cgGetNamedParameter(second, "lightVec"), 7.0f, 8.0f, 9.0f);

    float light[3] = {};
    glGetUniformfv(firstId, glGetUniformLocation(firstId, "lightVec"), light);
    EXPECT_FLOAT_EQ(1.5f, light[0]);
    EXPECT_FLOAT_EQ(-2.0f, light[1]);
    EXPECT_FLOAT_EQ(3.25f, light[2]);
    glGetUniformfv(secondId, glGetUniformLocation(secondId, "lightVec"), light);
    EXPECT_FLOAT_EQ(7.0f, light[0]);
    float tint[4] = {};
    glGetUniformfv(fragmentId, glGetUniformLocation(fragmentId, "tint"), tint);
    EXPECT_FLOAT_EQ(0.1f, tint[0]);
    EXPECT_FLOAT_EQ(0.4f, tint[3]);
    EXPECT_EQ(0, reported.calls) << reported.listing;
}

TEST_F(ShadingRuntimeTest, FewerComponentsThanTheUniformHasFillTheRestLikeVertexAttributes) {
    CGprogram fragment = load("fill.frag", kFragmentSource, CG_PROFILE_GLSLF);
    cgGLEnableProfile(CG_PROFILE_GLSLF);
    cgGLBindProgram(fragment);
    cgGLSetParameter2f(cgGetNamedParameter(fragment, "tint"), 0.5f, 0.25f);
    const GLuint id = stageProgram(GL_FRAGMENT_SHADER);
    float tint[4] = {};
    glGetUniformfv(id, glGetUniformLocation(id, "tint"), tint);
    EXPECT_FLOAT_EQ(0.5f, tint[0]);
    EXPECT_FLOAT_EQ(0.25f, tint[1]);
    EXPECT_FLOAT_EQ(0.0f, tint[2]);
    EXPECT_FLOAT_EQ(1.0f, tint[3]);
}

TEST_F(ShadingRuntimeTest, SettingOptimisedAwayParametersDoesNothingAndRaisesNoError) {
    CGprogram vertex = load("away.vert", kVertexSource, CG_PROFILE_GLSLV);
    CGprogram fragment = load("away.frag", kFragmentSource, CG_PROFILE_GLSLF);
    bindBoth(vertex, fragment);
    glBegin(GL_POINTS);
    cgGLSetParameter3f(cgGetNamedParameter(vertex, "unusedAttribute"), 1.0f, 2.0f, 3.0f);
    glVertex2f(0.0f, 0.0f);
    glEnd();
    cgGLSetParameter1f(cgGetNamedParameter(vertex, "unusedScale"), 4.0f);
    cgGLSetTextureParameter(cgGetNamedParameter(fragment, "unusedMap"), 1);
    EXPECT_EQ(0, reported.calls) << reported.listing;
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
}

TEST_F(ShadingRuntimeTest, SamplersTakeUnitsInDeclarationOrderCountingUnusedOnes) {
    CGprogram fragment = load("units.frag", kFragmentSource, CG_PROFILE_GLSLF);
    cgGLEnableProfile(CG_PROFILE_GLSLF);
    cgGLBindProgram(fragment);
    const GLuint id = stageProgram(GL_FRAGMENT_SHADER);
    GLint unit = -1;
    glGetUniformiv(id, glGetUniformLocation(id, "texture"), &unit);
    EXPECT_EQ(1, unit) << "the second declared sampler reads unit 1 although the first is unused";
}

// ---- state matrices ----------------------------------------------------------

TEST_F(ShadingRuntimeTest, StateMatricesAreTheGlMatricesInForceAtTheCall) {
    CGprogram vertex = load("matrices.vert", kMatrixSource, CG_PROFILE_GLSLV);
    cgGLEnableProfile(CG_PROFILE_GLSLV);
    cgGLBindProgram(vertex);
    const GLuint id = stageProgram(GL_VERTEX_SHADER);
    loadTestMatrices();
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glTranslatef(0.5f, 0.25f, 0.125f);
    glMatrixMode(GL_MODELVIEW);

    Matrix4 projection;
    Matrix4 modelView;
    Matrix4 texture;
    glGetFloatv(GL_PROJECTION_MATRIX, projection.m);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelView.m);
    glGetFloatv(GL_TEXTURE_MATRIX, texture.m);

    cgGLSetStateMatrixParameter(cgGetNamedParameter(vertex, "modelViewProj"),
                                CG_GL_MODELVIEW_PROJECTION_MATRIX, CG_GL_MATRIX_IDENTITY);
    cgGLSetStateMatrixParameter(cgGetNamedParameter(vertex, "modelView"), CG_GL_MODELVIEW_MATRIX,
                                CG_GL_MATRIX_IDENTITY);
    cgGLSetStateMatrixParameter(cgGetNamedParameter(vertex, "texTransform"), CG_GL_TEXTURE_MATRIX,
                                CG_GL_MATRIX_IDENTITY);
    cgGLSetStateMatrixParameter(cgGetNamedParameter(vertex, "projection"), CG_GL_PROJECTION_MATRIX,
                                CG_GL_MATRIX_IDENTITY);
    ASSERT_EQ(0, reported.calls) << reported.listing;

    // GL itself composes the expected product: projection applied after modelview.
    Matrix4 product;
    glPushMatrix();
    glLoadMatrixf(projection.m);
    glMultMatrixf(modelView.m);
    glGetFloatv(GL_MODELVIEW_MATRIX, product.m);
    glPopMatrix();

    expectMatrixNear(product, uniformMatrix(id, "modelViewProj"), 1e-5f);
    expectMatrixNear(modelView, uniformMatrix(id, "modelView"), 0.0f);
    expectMatrixNear(texture, uniformMatrix(id, "texTransform"), 0.0f);
    expectMatrixNear(projection, uniformMatrix(id, "projection"), 0.0f);
}

TEST_F(ShadingRuntimeTest, InverseTransposeTimesModelViewTransposedIsTheIdentity) {
    CGprogram vertex = load("inverse.vert", kMatrixSource, CG_PROFILE_GLSLV);
    cgGLEnableProfile(CG_PROFILE_GLSLV);
    cgGLBindProgram(vertex);
    const GLuint id = stageProgram(GL_VERTEX_SHADER);
    loadTestMatrices();
    Matrix4 modelView;
    glGetFloatv(GL_MODELVIEW_MATRIX, modelView.m);

    CGparameter parameter = cgGetNamedParameter(vertex, "modelViewIT");
    cgGLSetStateMatrixParameter(parameter, CG_GL_MODELVIEW_MATRIX, CG_GL_MATRIX_INVERSE_TRANSPOSE);
    const Matrix4 inverseTranspose = uniformMatrix(id, "modelViewIT");
    // (M^-1)^T = IT, so IT^T * M = I: element (r, c) of IT^T * M is column r of IT dotted with column c of M.
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) {
                sum += inverseTranspose.m[4 * r + k] * modelView.m[4 * c + k];
            }
            EXPECT_NEAR(r == c ? 1.0f : 0.0f, sum, 1e-5f) << r << "," << c;
        }
    }

    cgGLSetStateMatrixParameter(parameter, CG_GL_MODELVIEW_MATRIX, CG_GL_MATRIX_TRANSPOSE);
    const Matrix4 transpose = uniformMatrix(id, "modelViewIT");
    EXPECT_FLOAT_EQ(modelView.m[12], transpose.m[3]) << "the translation moves to the bottom row";

    cgGLSetStateMatrixParameter(parameter, CG_GL_MODELVIEW_MATRIX, CG_GL_MATRIX_INVERSE);
    const Matrix4 inverse = uniformMatrix(id, "modelViewIT");
    expectMatrixNear(Matrix4(), modelView * inverse, 1e-5f);
    EXPECT_EQ(0, reported.calls) << reported.listing;
}

// ---- per-vertex parameters inside one batch ----------------------------------

TEST_F(ShadingRuntimeTest, PerVertexParametersMoveEachPointOfOneBatchByItsOwnValue) {
    const char* white = R"(#version 450 compatibility
void main() { gl_FragColor = vec4(1.0); }
)";
    CGprogram vertex = load("points.vert", kVertexSource, CG_PROFILE_GLSLV);
    CGprogram fragment = load("points.frag", white, CG_PROFILE_GLSLF);
    bindBoth(vertex, fragment);
    CGparameter offset = cgGetNamedParameter(vertex, "offset");
    cgGLSetStateMatrixParameter(cgGetNamedParameter(vertex, "modelViewProj"),
                                CG_GL_MODELVIEW_PROJECTION_MATRIX, CG_GL_MATRIX_IDENTITY);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_PROGRAM_POINT_SIZE);

    // Every point is issued at the origin; only its offset tells where it goes.
    const float offsets[][2] = {{-0.5f, 0.0f}, {0.5f, 0.0f}, {0.0f, 0.5f}};
    glBegin(GL_POINTS);
    for (const auto& point : offsets) {
        cgGLSetParameter2f(offset, point[0], point[1]);
        glVertex2f(0.0f, 0.0f);
    }
    glEnd();
    glDisable(GL_PROGRAM_POINT_SIZE);
    const auto pixels = readBackBuffer();

    // NDC (-0.5, 0), (0.5, 0), (0, 0.5) on the 800x600 window.
    EXPECT_EQ(255, pixelAt(pixels, 200, 300).r);
    EXPECT_EQ(255, pixelAt(pixels, 600, 300).r);
    EXPECT_EQ(255, pixelAt(pixels, 400, 450).r);
    EXPECT_EQ(0, pixelAt(pixels, 400, 300).r) << "no point may stay at the origin";
    EXPECT_EQ(0, reported.calls) << reported.listing;
}

// ---- errors ------------------------------------------------------------------

TEST_F(ShadingRuntimeTest, MissingFileReachesTheCallbackWithItsPath) {
    CGprogram program = cgCreateProgramFromFile(context, CG_SOURCE, "cg/no_such_program.cg",
                                                CG_PROFILE_GLSLV, "main", nullptr);
    EXPECT_EQ(1, reported.calls);
    EXPECT_EQ(CG_FILE_READ_ERROR, reported.error);
    EXPECT_NE(std::string::npos, reported.listing.find("cg/no_such_program.cg")) << reported.listing;
    EXPECT_NE(std::string::npos, reported.listing.find("No such file")) << reported.listing;
    EXPECT_STREQ("file read error", cgGetErrorString(reported.error));

    // The handle is a harmless stand-in: using it reports nothing more.
    ASSERT_NE(nullptr, program);
    cgGLLoadProgram(program);
    cgGLEnableProfile(CG_PROFILE_GLSLV);
    cgGLBindProgram(program);
    EXPECT_EQ(0, boundPipeline());
    EXPECT_EQ(nullptr, cgGetNamedParameter(program, "time")) << "no source, no parameters";
    EXPECT_EQ(1, reported.calls);
    cgDestroyProgram(program);
}

TEST_F(ShadingRuntimeTest, CompileErrorListsThePathAndTheDriverLog) {
    const std::string broken = std::string(kVertexSource) + "void helper() { undeclaredThing = 1.0; }\n";
    CGprogram program = create("broken.vert", broken, CG_PROFILE_GLSLV);
    EXPECT_EQ(1, reported.calls);
    EXPECT_EQ(CG_COMPILER_ERROR, reported.error);
    EXPECT_NE(std::string::npos, reported.listing.find("broken.vert: ")) << reported.listing;
    EXPECT_NE(std::string::npos, reported.listing.find("undeclaredThing")) << reported.listing;
    EXPECT_STREQ(reported.listing.c_str(), cgGetLastListing(context));

    // The parameters of the source are still known, so unchecked callers go on safely.
    CGparameter light = cgGetNamedParameter(program, "lightVec");
    EXPECT_NE(nullptr, light);
    cgGLLoadProgram(program);
    cgGLSetParameter3f(light, 1.0f, 2.0f, 3.0f);
    EXPECT_EQ(1, reported.calls);
}

TEST_F(ShadingRuntimeTest, LinkErrorIsAProgramLoadErrorWithThePathAndTheLog) {
    const char* noMain = R"(#version 450 compatibility
uniform float time;
float helper() { return time; }
)";
    CGprogram program = create("nomain.vert", noMain, CG_PROFILE_GLSLV);
    ASSERT_EQ(0, reported.calls) << "the stage alone compiles: " << reported.listing;
    cgGLLoadProgram(program);
    EXPECT_EQ(1, reported.calls);
    EXPECT_EQ(CG_PROGRAM_LOAD_ERROR, reported.error);
    EXPECT_NE(std::string::npos, reported.listing.find("nomain.vert: ")) << reported.listing;
    EXPECT_NE(std::string::npos, reported.listing.find("main")) << reported.listing;
    cgGLEnableProfile(CG_PROFILE_GLSLV);
    cgGLBindProgram(program);
    EXPECT_EQ(0, boundPipeline());
    EXPECT_EQ(1, reported.calls);
}

TEST_F(ShadingRuntimeTest, GetErrorReturnsTheLastErrorOnceThenNoError) {
    cgSetErrorCallback(nullptr);
    cgCreateProgramFromFile(context, CG_SOURCE, "missing.cg", CG_PROFILE_GLSLF, "main", nullptr);
    EXPECT_EQ(CG_FILE_READ_ERROR, cgGetError());
    EXPECT_EQ(CG_NO_ERROR, cgGetError());
}

TEST_F(ShadingRuntimeTest, UnsupportedRequestsAreReportedNotIgnored) {
    const std::string path = writeShaderFile("misuse.vert", kVertexSource);
    const char* noArgs[] = {nullptr};
    EXPECT_NE(nullptr, cgCreateProgramFromFile(context, CG_SOURCE, path.c_str(), CG_PROFILE_GLSLV,
                                               "main", noArgs));
    EXPECT_EQ(0, reported.calls) << "an empty argument list is no argument: " << reported.listing;

    struct Case {
        CGenum type;
        CGprofile profile;
        const char* entry;
        const char* argument;
        CGerror expected;
    };
    const Case cases[] = {
        {CG_OBJECT, CG_PROFILE_GLSLV, "main", nullptr, CG_UNSUPPORTED_ERROR},
        {CG_SOURCE, CG_PROFILE_GLSLV, "start", nullptr, CG_UNSUPPORTED_ERROR},
        {CG_SOURCE, CG_PROFILE_GLSLV, "main", "-O3", CG_UNSUPPORTED_ERROR},
        {CG_SOURCE, CG_PROFILE_UNKNOWN, "main", nullptr, CG_INVALID_PROFILE_ERROR},
    };
    for (const Case& c : cases) {
        const char* args[] = {c.argument, nullptr};
        CGprogram program = cgCreateProgramFromFile(context, c.type, path.c_str(), c.profile, c.entry, args);
        EXPECT_EQ(c.expected, reported.error) << c.entry << " " << (c.argument ? c.argument : "");
        EXPECT_NE(std::string::npos, reported.listing.find(path)) << reported.listing;
        cgGLLoadProgram(program);
        cgGLEnableProfile(CG_PROFILE_GLSLV);
        cgGLBindProgram(program);
        reported.error = CG_NO_ERROR;
    }
    EXPECT_EQ(4, reported.calls);
}

TEST_F(ShadingRuntimeTest, NullAndMismatchedHandlesAreReported) {
    CGprogram vertex = load("handles.vert", kVertexSource, CG_PROFILE_GLSLV);
    CGprogram fragment = load("handles.frag", kFragmentSource, CG_PROFILE_GLSLF);
    const struct {
        const char* what;
        void (*call)(CGprogram, CGprogram);
        CGerror expected;
    } cases[] = {
        {"bind null", [](CGprogram, CGprogram) { cgGLBindProgram(nullptr); }, CG_INVALID_PROGRAM_HANDLE_ERROR},
        {"set null", [](CGprogram, CGprogram) { cgGLSetParameter1f(nullptr, 1.0f); }, CG_INVALID_PARAMETER_ERROR},
        {"float on a sampler",
         [](CGprogram, CGprogram f) { cgGLSetParameter1f(cgGetNamedParameter(f, "texture"), 1.0f); },
         CG_INVALID_PARAMETER_ERROR},
        {"matrix on a vector",
         [](CGprogram v, CGprogram) {
             cgGLSetStateMatrixParameter(cgGetNamedParameter(v, "lightVec"), CG_GL_MODELVIEW_MATRIX,
                                         CG_GL_MATRIX_IDENTITY);
         },
         CG_INVALID_PARAMETER_ERROR},
        {"transform as matrix",
         [](CGprogram v, CGprogram) {
             cgGLSetStateMatrixParameter(cgGetNamedParameter(v, "modelViewProj"), CG_GL_MATRIX_IDENTITY,
                                         CG_GL_MATRIX_IDENTITY);
         },
         CG_INVALID_ENUMERANT_ERROR},
        {"texture on a vector",
         [](CGprogram, CGprogram f) { cgGLSetTextureParameter(cgGetNamedParameter(f, "tint"), 1); },
         CG_INVALID_PARAMETER_ERROR},
        {"unknown profile", [](CGprogram, CGprogram) { cgGLEnableProfile(CG_PROFILE_UNKNOWN); },
         CG_INVALID_PROFILE_ERROR},
        {"optimal options of no profile", [](CGprogram, CGprogram) { cgGLSetOptimalOptions(CG_PROFILE_UNKNOWN); },
         CG_INVALID_PROFILE_ERROR},
        {"latest profile of no class", [](CGprogram, CGprogram) { cgGLGetLatestProfile(CG_GL_MODELVIEW_MATRIX); },
         CG_INVALID_ENUMERANT_ERROR},
        {"no context",
         [](CGprogram, CGprogram) {
             cgCreateProgramFromFile(nullptr, CG_SOURCE, "x.cg", CG_PROFILE_GLSLV, "main", nullptr);
         },
         CG_INVALID_CONTEXT_HANDLE_ERROR},
    };
    int expectedCalls = 0;
    for (const auto& c : cases) {
        c.call(vertex, fragment);
        EXPECT_EQ(++expectedCalls, reported.calls) << c.what;
        EXPECT_EQ(c.expected, reported.error) << c.what;
        EXPECT_FALSE(reported.listing.empty()) << c.what;
    }
}

TEST_F(ShadingRuntimeTest, PerVertexParameterAtLocationZeroIsALoadError) {
    const char* atZero = R"(#version 450 compatibility
out gl_PerVertex { vec4 gl_Position; float gl_PointSize; };
layout(location = 0) in vec2 initTime;
void main() { gl_Position = vec4(initTime, 0.0, 1.0); }
)";
    CGprogram program = load("zero.vert", atZero, CG_PROFILE_GLSLV);
    EXPECT_EQ(1, reported.calls);
    EXPECT_EQ(CG_PROGRAM_LOAD_ERROR, reported.error);
    EXPECT_NE(std::string::npos, reported.listing.find("zero.vert: ")) << reported.listing;
    EXPECT_NE(std::string::npos, reported.listing.find("initTime")) << reported.listing;
    cgGLEnableProfile(CG_PROFILE_GLSLV);
    cgGLBindProgram(program);
    EXPECT_EQ(0, boundPipeline());
}

TEST_F(ShadingRuntimeTest, ValidProfileRequestsRaiseNoError) {
    EXPECT_EQ(CG_PROFILE_GLSLV, cgGLGetLatestProfile(CG_GL_VERTEX));
    EXPECT_EQ(CG_PROFILE_GLSLF, cgGLGetLatestProfile(CG_GL_FRAGMENT));
    cgGLSetOptimalOptions(CG_PROFILE_GLSLV);
    cgGLSetOptimalOptions(CG_PROFILE_GLSLF);
    EXPECT_EQ(0, reported.calls) << reported.listing;
}

TEST_F(ShadingRuntimeTest, UnloadedProgramCannotBeBound) {
    CGprogram vertex = create("unloaded.vert", kVertexSource, CG_PROFILE_GLSLV);
    cgGLEnableProfile(CG_PROFILE_GLSLV);
    cgGLBindProgram(vertex);
    EXPECT_EQ(CG_PROGRAM_LOAD_ERROR, reported.error);
    EXPECT_NE(std::string::npos, reported.listing.find("unloaded.vert")) << reported.listing;
    EXPECT_EQ(0, boundPipeline());
}

} // namespace
} // namespace korvath::test
