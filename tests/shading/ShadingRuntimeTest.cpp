// The shading runtime against a real GL context: binding, parameter lookup and
// values as GL holds them, state matrices, per-vertex parameters inside one
// batch, sampler units, and every error path through the callback.
#include "shading/ShadingRuntime.h"
#include "math/Matrix4.h"
#include "support/GlTestContext.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
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
void main() { gl_FragColor = vec4(colour, 1.0) * tint * texture2D(texture, gl_PointCoord); }
)";

const char* const kMatrixSource = R"(#version 450 compatibility
out gl_PerVertex { vec4 gl_Position; float gl_PointSize; };
uniform mat4 modelViewProj, modelView, modelViewIT, texTransform, projection;
void main() { gl_Position = modelViewProj * modelView * modelViewIT * texTransform * projection * gl_Vertex; }
)";

GLint boundPipeline() {
    GLint pipeline = 0;
    glGetIntegerv(GL_PROGRAM_PIPELINE_BINDING, &pipeline);
    return pipeline;
}

// The GL program in a stage of the bound pipeline; 0 when there is none.
GLuint stageProgram(GLenum stage) {
    GLint program = 0;
    if (boundPipeline() != 0) {
        glGetProgramPipelineiv(static_cast<GLuint>(boundPipeline()), stage, &program);
    }
    return static_cast<GLuint>(program);
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

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Writes a source into the tests' own temporary folder, removed at exit.
std::string writeShaderFile(const std::string& name, const std::string& source) {
    static const std::string folder = [] {
        char pattern[] = "/tmp/korvath-shading-XXXXXX";
        if (mkdtemp(pattern) == nullptr) {
            std::abort();
        }
        return std::string(pattern);
    }();
    static const struct Remover {
        ~Remover() { std::filesystem::remove_all(folder); }
    } remover;
    const std::string path = folder + "/" + name;
    std::ofstream(path) << source;
    return path;
}

// What the error callback saw on its last call: the error (which it takes, so
// clears) and the listing of the test's context at that moment.
struct ReportedError {
    int calls = 0;
    CGerror error = CG_NO_ERROR;
    std::string listing;
};
ReportedError reported;
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
    }

    void TearDown() override {
        cgGLDisableProfile(CG_PROFILE_GLSLV);
        cgGLDisableProfile(CG_PROFILE_GLSLF);
        cgDestroyContext(context);
        cgSetErrorCallback(nullptr);
        for (GLenum mode : {GL_PROJECTION, GL_TEXTURE, GL_MODELVIEW}) {
            glMatrixMode(mode);
            glLoadIdentity();
        }
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

    void bind(CGprogram program, CGprofile profile) {
        cgGLEnableProfile(profile);
        cgGLBindProgram(program);
    }
};

// ---- binding and destroying ----------------------------------------------------

TEST_F(ShadingRuntimeTest, EnabledStagesAreInThePipelineAndNoStageMeansFixedFunction) {
    CGprogram vertex = load("bind.vert", kVertexSource, CG_PROFILE_GLSLV);
    CGprogram fragment = load("bind.frag", kFragmentSource, CG_PROFILE_GLSLF);
    cgGLBindProgram(vertex); // bound before its profile is enabled: takes effect on enable
    EXPECT_EQ(0, boundPipeline());
    cgGLEnableProfile(CG_PROFILE_GLSLV);
    bind(fragment, CG_PROFILE_GLSLF);
    EXPECT_NE(0u, stageProgram(GL_VERTEX_SHADER));
    EXPECT_NE(0u, stageProgram(GL_FRAGMENT_SHADER));

    cgGLDisableProfile(CG_PROFILE_GLSLF);
    EXPECT_NE(0u, stageProgram(GL_VERTEX_SHADER));
    EXPECT_EQ(0u, stageProgram(GL_FRAGMENT_SHADER));
    cgGLDisableProfile(CG_PROFILE_GLSLV);
    EXPECT_EQ(0, boundPipeline());
    EXPECT_EQ(0, reported.calls) << reported.listing;
}

TEST_F(ShadingRuntimeTest, DestroyingABoundProgramOrItsContextUnbindsAndDeletesIt) {
    CGprogram vertex = load("destroy.vert", kVertexSource, CG_PROFILE_GLSLV);
    bind(vertex, CG_PROFILE_GLSLV);
    GLuint id = stageProgram(GL_VERTEX_SHADER);
    cgDestroyProgram(vertex);
    EXPECT_EQ(0, boundPipeline());
    EXPECT_FALSE(glIsProgram(id)) << "no pipeline may keep the GL program alive";

    CGcontext other = cgCreateContext();
    const std::string path = writeShaderFile("other.vert", kVertexSource);
    CGprogram inOther =
        cgCreateProgramFromFile(other, CG_SOURCE, path.c_str(), CG_PROFILE_GLSLV, "main", nullptr);
    cgGLLoadProgram(inOther);
    cgGLBindProgram(inOther);
    id = stageProgram(GL_VERTEX_SHADER);
    cgDestroyContext(other);
    EXPECT_EQ(0, boundPipeline());
    EXPECT_FALSE(glIsProgram(id));
    EXPECT_EQ(0, reported.calls) << reported.listing;

    cgDestroyProgram(vertex);
    EXPECT_EQ(CG_INVALID_PROGRAM_HANDLE_ERROR, reported.error) << "a second destroy is reported";
}

// ---- parameters ----------------------------------------------------------------

TEST_F(ShadingRuntimeTest, LookupFindsDeclaredParametersEvenWhenOptimisedAway) {
    CGprogram vertex = load("lookup.vert", kVertexSource, CG_PROFILE_GLSLV);
    CGprogram fragment = load("lookup.frag", kFragmentSource, CG_PROFILE_GLSLF);
    bind(vertex, CG_PROFILE_GLSLV);
    ASSERT_EQ(-1, glGetUniformLocation(stageProgram(GL_VERTEX_SHADER), "unusedScale"))
        << "the test needs it optimised away";
    for (const char* name :
         {"modelViewProj", "lightVec", "unusedScale", "offset", "unusedAttribute"}) {
        EXPECT_NE(nullptr, cgGetNamedParameter(vertex, name)) << name;
    }
    EXPECT_NE(nullptr, cgGetNamedParameter(fragment, "unusedMap"));
    EXPECT_EQ(nullptr, cgGetNamedParameter(vertex, "notDeclared"));
    EXPECT_EQ(nullptr, cgGetNamedParameter(vertex, "tint"))
        << "a parameter belongs to its own program";
    EXPECT_EQ(nullptr, cgGetNamedParameter(fragment, "colour"))
        << "a fragment input is not a parameter";
    EXPECT_EQ(nullptr, cgGetNamedParameter(vertex, nullptr));

    // Setting what the driver dropped does nothing, inside a batch or out of it.
    glBegin(GL_POINTS);
    cgGLSetParameter3f(cgGetNamedParameter(vertex, "unusedAttribute"), 1.0f, 2.0f, 3.0f);
    glVertex2f(0.0f, 0.0f);
    glEnd();
    cgGLSetParameter1f(cgGetNamedParameter(vertex, "unusedScale"), 4.0f);
    cgGLSetTextureParameter(cgGetNamedParameter(fragment, "unusedMap"), 1);
    EXPECT_EQ(0, reported.calls) << reported.listing;
}

TEST_F(ShadingRuntimeTest, UniformValuesBelongToTheirProgramWhateverIsBound) {
    CGprogram first = load("hold1.vert", kVertexSource, CG_PROFILE_GLSLV);
    CGprogram second = load("hold2.vert", kVertexSource, CG_PROFILE_GLSLV);
    CGprogram fragment = load("hold.frag", kFragmentSource, CG_PROFILE_GLSLF);
    bind(first, CG_PROFILE_GLSLV);
    bind(fragment, CG_PROFILE_GLSLF);
    const GLuint firstId = stageProgram(GL_VERTEX_SHADER);
    const GLuint fragmentId = stageProgram(GL_FRAGMENT_SHADER);
    cgGLSetParameter2f(cgGetNamedParameter(fragment, "tint"), 0.5f, 0.25f);
    cgGLBindProgram(second);
    // Set while another program holds the stage: the value must still reach its own.
    cgGLSetParameter3f(cgGetNamedParameter(first, "lightVec"), 1.5f, -2.0f, 3.25f);
    cgGLSetParameter3f(cgGetNamedParameter(second, "lightVec"), 7.0f, 8.0f, 9.0f);

    float light[3] = {};
    glGetUniformfv(firstId, glGetUniformLocation(firstId, "lightVec"), light);
    EXPECT_EQ(1.5f, light[0]);
    EXPECT_EQ(-2.0f, light[1]);
    EXPECT_EQ(3.25f, light[2]);
    float tint[4] = {};
    glGetUniformfv(fragmentId, glGetUniformLocation(fragmentId, "tint"), tint);
    EXPECT_EQ(0.5f, tint[0]);
    EXPECT_EQ(0.25f, tint[1]);
    EXPECT_EQ(0.0f, tint[2]) << "missing components are filled as glVertexAttrib fills them";
    EXPECT_EQ(1.0f, tint[3]);

    GLint unit = -1;
    glGetUniformiv(fragmentId, glGetUniformLocation(fragmentId, "texture"), &unit);
    EXPECT_EQ(1, unit) << "the second declared sampler reads unit 1 although the first is unused";
    EXPECT_EQ(0, reported.calls) << reported.listing;
}

TEST_F(ShadingRuntimeTest, StateMatricesAreTheGlMatricesInForceAtTheCall) {
    CGprogram vertex = load("matrices.vert", kMatrixSource, CG_PROFILE_GLSLV);
    bind(vertex, CG_PROFILE_GLSLV);
    const GLuint id = stageProgram(GL_VERTEX_SHADER);
    glMatrixMode(GL_PROJECTION);
    glFrustum(-1.0, 1.0, -0.75, 0.75, 1.0, 100.0);
    glMatrixMode(GL_TEXTURE);
    glTranslatef(0.5f, 0.25f, 0.125f);
    glMatrixMode(GL_MODELVIEW);
    // Rotation, non-uniform scale and translation: the inverse transpose differs from it.
    glTranslatef(1.0f, -2.0f, -10.0f);
    glRotatef(30.0f, 0.3f, 1.0f, 0.2f);
    glScalef(2.0f, 0.5f, 3.0f);
    Matrix4 projection, modelView, texture, product;
    glGetFloatv(GL_PROJECTION_MATRIX, projection.m);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelView.m);
    glGetFloatv(GL_TEXTURE_MATRIX, texture.m);
    glPushMatrix(); // GL itself composes the expected product
    glLoadMatrixf(projection.m);
    glMultMatrixf(modelView.m);
    glGetFloatv(GL_MODELVIEW_MATRIX, product.m);
    glPopMatrix();

    const auto set = [&](const char* name, CGGLenum matrix, CGGLenum transform) {
        cgGLSetStateMatrixParameter(cgGetNamedParameter(vertex, name), matrix, transform);
        return uniformMatrix(id, name);
    };
    expectMatrixNear(product,
                     set("modelViewProj", CG_GL_MODELVIEW_PROJECTION_MATRIX, CG_GL_MATRIX_IDENTITY),
                     1e-5f);
    expectMatrixNear(modelView, set("modelView", CG_GL_MODELVIEW_MATRIX, CG_GL_MATRIX_IDENTITY),
                     0.0f);
    expectMatrixNear(texture, set("texTransform", CG_GL_TEXTURE_MATRIX, CG_GL_MATRIX_IDENTITY),
                     0.0f);
    expectMatrixNear(projection, set("projection", CG_GL_PROJECTION_MATRIX, CG_GL_MATRIX_IDENTITY),
                     0.0f);
    expectMatrixNear(Matrix4(),
                     modelView * set("modelViewIT", CG_GL_MODELVIEW_MATRIX, CG_GL_MATRIX_INVERSE),
                     1e-5f);
    EXPECT_EQ(modelView.m[12],
              set("modelViewIT", CG_GL_MODELVIEW_MATRIX, CG_GL_MATRIX_TRANSPOSE).m[3]);

    // (M^-1)^T = IT means IT^T * M = I: column r of IT dotted with column c of M.
    const Matrix4 inverseTranspose =
        set("modelViewIT", CG_GL_MODELVIEW_MATRIX, CG_GL_MATRIX_INVERSE_TRANSPOSE);
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) {
                sum += inverseTranspose.m[4 * r + k] * modelView.m[4 * c + k];
            }
            EXPECT_NEAR(r == c ? 1.0f : 0.0f, sum, 1e-5f) << r << "," << c;
        }
    }
    EXPECT_EQ(0, reported.calls) << reported.listing;
}

TEST_F(ShadingRuntimeTest, PerVertexParametersMoveEachPointOfOneBatchByItsOwnValue) {
    CGprogram vertex = load("points.vert", kVertexSource, CG_PROFILE_GLSLV);
    CGprogram fragment = load(
        "points.frag", "#version 450 compatibility\nvoid main() { gl_FragColor = vec4(1.0); }\n",
        CG_PROFILE_GLSLF);
    bind(vertex, CG_PROFILE_GLSLV);
    bind(fragment, CG_PROFILE_GLSLF);
    CGparameter offset = cgGetNamedParameter(vertex, "offset");
    cgGLSetStateMatrixParameter(cgGetNamedParameter(vertex, "modelViewProj"),
                                CG_GL_MODELVIEW_PROJECTION_MATRIX, CG_GL_MATRIX_IDENTITY);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_PROGRAM_POINT_SIZE);
    // Every point is issued at the origin; only its offset says where it goes.
    const float offsets[][2] = {{-0.5f, 0.0f}, {0.5f, 0.0f}, {0.0f, 0.5f}};
    glBegin(GL_POINTS);
    for (const auto& point : offsets) {
        cgGLSetParameter2f(offset, point[0], point[1]);
        glVertex2f(0.0f, 0.0f);
    }
    glEnd();
    glDisable(GL_PROGRAM_POINT_SIZE);
    const auto pixels = readBackBuffer();
    EXPECT_EQ(255, pixelAt(pixels, 200, 300).r); // NDC (-0.5, 0) on the 800x600 window
    EXPECT_EQ(255, pixelAt(pixels, 600, 300).r); // (0.5, 0)
    EXPECT_EQ(255, pixelAt(pixels, 400, 450).r); // (0, 0.5)
    EXPECT_EQ(0, pixelAt(pixels, 400, 300).r) << "no point may stay at the origin";
    EXPECT_EQ(0, reported.calls) << reported.listing;
}

// ---- errors --------------------------------------------------------------------

TEST_F(ShadingRuntimeTest, FileCompileAndLinkFailuresListThePathAndTheDriverLog) {
    CGprogram missing = cgCreateProgramFromFile(context, CG_SOURCE, "cg/no_such_program.cg",
                                                CG_PROFILE_GLSLV, "main", nullptr);
    EXPECT_EQ(CG_FILE_READ_ERROR, reported.error);
    EXPECT_STREQ("file read error", cgGetErrorString(reported.error));
    EXPECT_TRUE(contains(reported.listing, "cg/no_such_program.cg: ")) << reported.listing;
    EXPECT_TRUE(contains(reported.listing, "No such file")) << reported.listing;

    CGprogram broken =
        create("broken.vert", std::string(kVertexSource) + "void f() { undeclaredThing = 1.0; }\n",
               CG_PROFILE_GLSLV);
    EXPECT_EQ(CG_COMPILER_ERROR, reported.error);
    EXPECT_TRUE(contains(reported.listing, "broken.vert: ")) << reported.listing;
    EXPECT_TRUE(contains(reported.listing, "undeclaredThing")) << reported.listing;
    EXPECT_EQ(reported.listing, cgGetLastListing(context));

    CGprogram noMain = create(
        "nomain.vert", "#version 450 compatibility\nfloat f() { return 1.0; }\n", CG_PROFILE_GLSLV);
    ASSERT_EQ(2, reported.calls) << "the stage alone compiles: " << reported.listing;
    cgGLLoadProgram(noMain);
    EXPECT_EQ(CG_PROGRAM_LOAD_ERROR, reported.error);
    EXPECT_TRUE(contains(reported.listing, "nomain.vert: ")) << reported.listing;
    EXPECT_TRUE(contains(reported.listing, "main")) << reported.listing;
    EXPECT_EQ(3, reported.calls);

    // The failed handles are harmless stand-ins; a source that was read keeps its parameters.
    EXPECT_NE(nullptr, cgGetNamedParameter(broken, "lightVec"));
    EXPECT_EQ(nullptr, cgGetNamedParameter(missing, "lightVec"));
    for (CGprogram program : {missing, broken, noMain}) {
        cgGLLoadProgram(program);
        bind(program, CG_PROFILE_GLSLV);
        EXPECT_EQ(0, boundPipeline());
    }
    cgGLSetParameter3f(cgGetNamedParameter(broken, "lightVec"), 1.0f, 2.0f, 3.0f);
    EXPECT_EQ(3, reported.calls) << reported.listing;
}

TEST_F(ShadingRuntimeTest, GetErrorReturnsTheLastErrorOnceThenNoError) {
    cgSetErrorCallback(nullptr);
    cgCreateProgramFromFile(context, CG_SOURCE, "missing.cg", CG_PROFILE_GLSLF, "main", nullptr);
    EXPECT_EQ(CG_FILE_READ_ERROR, cgGetError());
    EXPECT_EQ(CG_NO_ERROR, cgGetError());
}

TEST_F(ShadingRuntimeTest, MisuseIsReportedWithAListingAndHarmsNothing) {
    const std::string path = writeShaderFile("misuse.vert", kVertexSource);
    const char* noArgs[] = {nullptr};
    const char* someArgs[] = {"-O3", nullptr};
    EXPECT_NE(nullptr, cgCreateProgramFromFile(context, CG_SOURCE, path.c_str(), CG_PROFILE_GLSLV,
                                               "main", noArgs));
    EXPECT_EQ(0, reported.calls) << "an empty argument list is no argument: " << reported.listing;
    CGprogram vertex = load("handles.vert", kVertexSource, CG_PROFILE_GLSLV);
    CGprogram fragment = load("handles.frag", kFragmentSource, CG_PROFILE_GLSLF);
    const auto createFrom = [&](CGenum type, CGprofile profile, const char* entry,
                                const char** args) {
        cgGLLoadProgram(cgCreateProgramFromFile(context, type, path.c_str(), profile, entry, args));
    };
    const struct {
        const char* what;
        std::function<void()> call;
        CGerror expected;
        std::string mentions; // what the listing must name
    } cases[] = {
        {"object code", [&] { createFrom(CG_OBJECT, CG_PROFILE_GLSLV, "main", nullptr); },
         CG_UNSUPPORTED_ERROR, path},
        {"other entry", [&] { createFrom(CG_SOURCE, CG_PROFILE_GLSLV, "start", nullptr); },
         CG_UNSUPPORTED_ERROR, "\"start\""},
        {"compiler arguments", [&] { createFrom(CG_SOURCE, CG_PROFILE_GLSLV, "main", someArgs); },
         CG_UNSUPPORTED_ERROR, "arguments"},
        {"no context",
         [&] {
             cgCreateProgramFromFile(nullptr, CG_SOURCE, "x", CG_PROFILE_GLSLV, "main", nullptr);
         },
         CG_INVALID_CONTEXT_HANDLE_ERROR, "context"},
        {"vertex input at location 0",
         [&] {
             load("zero.vert",
                  "#version 450 compatibility\nlayout(location = 0) in vec2 initTime;\n"
                  "void main() { gl_Position = vec4(initTime, 0.0, 1.0); }\n",
                  CG_PROFILE_GLSLV);
         },
         CG_PROGRAM_LOAD_ERROR, "\"initTime\" is at attribute location 0"},
        {"bind before load",
         [&] { bind(create("unloaded.vert", kVertexSource, CG_PROFILE_GLSLV), CG_PROFILE_GLSLV); },
         CG_PROGRAM_LOAD_ERROR, "unloaded.vert: "},
        {"bind null", [] { cgGLBindProgram(nullptr); }, CG_INVALID_PROGRAM_HANDLE_ERROR,
         "cgGLBindProgram"},
        {"set null", [] { cgGLSetParameter1f(nullptr, 1.0f); }, CG_INVALID_PARAMETER_ERROR,
         "null parameter"},
        {"float on a sampler",
         [&] { cgGLSetParameter1f(cgGetNamedParameter(fragment, "texture"), 1.0f); },
         CG_INVALID_PARAMETER_ERROR, "\"texture\" is a sampler2D"},
        {"matrix on a vector",
         [&] {
             cgGLSetStateMatrixParameter(cgGetNamedParameter(vertex, "lightVec"),
                                         CG_GL_MODELVIEW_MATRIX, CG_GL_MATRIX_IDENTITY);
         },
         CG_INVALID_PARAMETER_ERROR, "\"lightVec\" is not a uniform mat4"},
        {"transform as matrix",
         [&] {
             cgGLSetStateMatrixParameter(cgGetNamedParameter(vertex, "modelViewProj"),
                                         CG_GL_MATRIX_IDENTITY, CG_GL_MATRIX_IDENTITY);
         },
         CG_INVALID_ENUMERANT_ERROR, "unknown matrix"},
    };
    int expectedCalls = 0;
    for (const auto& c : cases) {
        reported.listing.clear();
        c.call();
        EXPECT_EQ(++expectedCalls, reported.calls) << c.what;
        EXPECT_EQ(c.expected, reported.error) << c.what;
        EXPECT_TRUE(contains(reported.listing, c.mentions)) << c.what << ": " << reported.listing;
        EXPECT_EQ(0, boundPipeline()) << c.what;
    }
}

} // namespace
} // namespace korvath::test
