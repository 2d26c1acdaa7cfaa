// Particle systems drawn for real under Xvfb: points where the motion formula
// puts them, the graphics state a draw leaves behind, and the end of the
// program when a vertex program lacks one of its parameters.
#include "ParticleGlSupport.h"
#include "SystemStandIns.h"
#include "math/Matrix4.h"
#include "particles/ParticleSystem.h"
#include "support/GlTestContext.h"

#include <GL/glew.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cmath>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace korvath::test {
namespace {

const char* const kLavaVertexProgram = "cg/vp_volcanoLava.cg";
const char* const kLavaFragmentProgram = "cg/fp_volcanoLava.cg";

const std::string& whiteSprite() {
    static const std::string path = writeSpriteBmp("white.bmp", 16, [](float, float) { return true; });
    return path;
}

ParticleSystem* makeSystem(Emitter* emitter, int count, bool blended,
                           const char* vertexProgram = kLavaVertexProgram) {
    const ShaderContext& shading = particleShaderContext();
    return new ParticleSystem(count, emitter, vertexProgram, kLavaFragmentProgram,
                              whiteSprite().c_str(), blended, shading.context,
                              shading.vertexProfile, shading.fragmentProfile);
}

// The camera 100 units in front of the origin, with the volcano scene's lens.
void lookFromTheFront() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(40.0, 1.0, 1.0, 5000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(0.0, 0.0, 100.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

struct WindowPoint {
    float x;
    float y;
};

// Where the current projection and modelview put a model-space point.
WindowPoint toWindow(const Vector3& point) {
    Matrix4 projection;
    Matrix4 modelView;
    glGetFloatv(GL_PROJECTION_MATRIX, projection.m);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelView.m);
    const Matrix4 transform = projection * modelView;
    float clip[4];
    for (int row = 0; row < 4; ++row) {
        clip[row] = transform.m[row] * point.x + transform.m[4 + row] * point.y +
                    transform.m[8 + row] * point.z + transform.m[12 + row];
    }
    return {(clip[0] / clip[3] + 1.0f) * 400.0f, (clip[1] / clip[3] + 1.0f) * 300.0f};
}

bool isLit(const Rgb& colour) { return colour.r + colour.g + colour.b > 30; }

Particle particle(Vector3 position, Vector3 velocity, float initTime, float lifetime) {
    Particle made;
    made.initPosition = position;
    made.initVelocity = velocity;
    made.initTime = initTime;
    made.lifetime = lifetime;
    return made;
}

// ---- Where the points land ----

TEST(ParticleRendering, LivingPointsLandWhereTheMotionFormulaPutsThem) {
    const Vector3 acceleration(0.0f, -4.0f, 0.0f);
    const std::vector<Particle> particles = {
        particle({-20.0f, 0.0f, 0.0f}, {5.0f, 10.0f, 0.0f}, 1.0f, 10.0f),  // alive, moving
        particle({20.0f, -10.0f, 0.0f}, {0.0f, 0.0f, 0.0f}, 1.5f, 10.0f),  // alive, falling
        particle({0.0f, -25.0f, 0.0f}, {0.0f, 0.0f, 0.0f}, 5.0f, 10.0f),   // waiting
        particle({-25.0f, 25.0f, 0.0f}, {0.0f, 0.0f, 0.0f}, 0.5f, 1.0f),   // expired
    };
    std::unique_ptr<ParticleSystem> system(
        makeSystem(new ScriptedEmitter(particles, {100.0f}), 4, false));
    system->acceleration = acceleration;
    lookFromTheFront();
    const float time = 3.0f;
    system->draw(time);

    // start + velocity * age + acceleration * age^2 / 2
    const WindowPoint expected[] = {
        toWindow({-20.0f + 5.0f * 2.0f, 10.0f * 2.0f - 2.0f * 4.0f, 0.0f}),
        toWindow({20.0f, -10.0f - 2.0f * 1.5f * 1.5f, 0.0f}),
    };
    const std::vector<std::uint8_t> pixels = readBackBuffer();
    for (const WindowPoint& point : expected) {
        EXPECT_TRUE(isLit(pixelAt(pixels, static_cast<int>(point.x), static_cast<int>(point.y))))
            << "no point at " << point.x << ", " << point.y;
    }
    // A drop 2.5 units across seen from 100 units covers about 21 pixels: every
    // lit pixel belongs to one of the two living points.
    int stray = 0;
    for (int y = 0; y < 600; ++y) {
        for (int x = 0; x < 800; ++x) {
            if (!isLit(pixelAt(pixels, x, y))) {
                continue;
            }
            bool nearExpected = false;
            for (const WindowPoint& point : expected) {
                nearExpected = nearExpected ||
                               (std::fabs(x - point.x) < 16.0f && std::fabs(y - point.y) < 16.0f);
            }
            stray += nearExpected ? 0 : 1;
        }
    }
    EXPECT_EQ(stray, 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// ---- The state a draw leaves ----

TEST(ParticleRendering, DrawLeavesTheStateItsOwnerReliesOn) {
    for (bool blended : {true, false}) {
        std::unique_ptr<ParticleSystem> system(makeSystem(new ScriptedEmitter({}, {}), 0, blended));
        lookFromTheFront();
        glDisable(GL_DEPTH_TEST);
        glEnable(GL_BLEND);
        system->draw(1.0f);
        // A blended system turns blending off and the depth test on; an
        // unblended one leaves both as the caller set them.
        EXPECT_EQ(glIsEnabled(GL_DEPTH_TEST), blended ? GL_TRUE : GL_FALSE);
        EXPECT_EQ(glIsEnabled(GL_BLEND), blended ? GL_FALSE : GL_TRUE);
        EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
        EXPECT_TRUE(glIsEnabled(GL_POINT_SPRITE));
        EXPECT_TRUE(glIsEnabled(GL_VERTEX_PROGRAM_POINT_SIZE));
        GLint alphaFunction = 0;
        glGetIntegerv(GL_ALPHA_TEST_FUNC, &alphaFunction);
        EXPECT_EQ(alphaFunction, GL_GREATER);
        // Coordinate replacement is off again, so later triangles keep their own
        // texture coordinates.
        GLint coordinateReplace = GL_TRUE;
        glGetTexEnviv(GL_POINT_SPRITE, GL_COORD_REPLACE, &coordinateReplace);
        EXPECT_EQ(coordinateReplace, GL_FALSE);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
}

// ---- A vertex program without one of its parameters ----

class MissingVertexParameter : public testing::TestWithParam<const char*> {};

// The real lava vertex program with one parameter renamed everywhere, so that
// it still compiles but no longer declares that name.
std::string programWithout(const std::string& name) {
    std::ifstream file(kLavaVertexProgram);
    std::stringstream source;
    source << file.rdbuf();
    const std::string doctored =
        std::regex_replace(source.str(), std::regex("\\b" + name + "\\b"), name + "Renamed");
    const std::string path = particleTestFolder() + "/without_" + name + ".cg";
    std::ofstream(path) << doctored;
    return path;
}

TEST_P(MissingVertexParameter, EndsTheProgramWithTheMessageAndStatusOne) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const std::string path = programWithout(GetParam());
    EXPECT_EXIT(
        {
            // The message belongs on standard output: send that to the stream the
            // death test reads, and standard error away.
            const int captured = dup(STDERR_FILENO);
            const int nowhere = open("/dev/null", O_WRONLY);
            dup2(nowhere, STDERR_FILENO);
            dup2(captured, STDOUT_FILENO);
            makeSystem(new ScriptedEmitter({}, {}), 0, false, path.c_str());
        },
        testing::ExitedWithCode(1), "Unable to retrieve program parameters, exiting\\.\\.\\.\n");
}

INSTANTIATE_TEST_SUITE_P(EachOfTheFive, MissingVertexParameter,
                         testing::Values("modelViewProj", "acceleration", "time", "initVelocity",
                                         "initTime"));

} // namespace
} // namespace korvath::test
