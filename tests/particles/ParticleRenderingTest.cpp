// Particle systems drawn for real under Xvfb: points where the motion formula
// puts them, and the end of the program when a vertex program lacks one of its
// parameters.
#include "ParticleGlSupport.h"
#include "math/Matrix4.h"
#include "particles/CircleEmitter.h"
#include "particles/ParticleSystem.h"
#include "support/GlTestContext.h"

#include <GL/glu.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace korvath::test {
namespace {

const char* const kLavaVertexProgram = "cg/vp_volcanoLava.cg";

ParticleSystem* makeSystem(Emitter* emitter, int count,
                           const char* vertexProgram = kLavaVertexProgram) {
    const ShaderContext& shading = particleShaderContext();
    return new ParticleSystem(count, emitter, vertexProgram, "cg/fp_volcanoLava.cg",
                              "data/particle/lava.bmp", false, shading.context,
                              shading.vertexProfile, shading.fragmentProfile);
}

// Window coordinates of a point in the plane z = 0, seen from 100 units with
// the 40-degree lens on the 800x600 viewport: 100 tan 20 degrees to each edge.
std::pair<double, double> toWindow(double x, double y) {
    const double edge = 100.0 * std::tan(20.0 * 3.14159265358979 / 180.0);
    return {400.0 + 400.0 * x / edge, 300.0 + 300.0 * y / edge};
}

TEST(ParticleRendering, LivingPointsLandWhereTheMotionFormulaPutsThem) {
    // Six particles straight up from (-20, 0, 0), starting every half second and
    // living 1.8 s: at time 3 two have expired, three are alive, one waits.
    std::unique_ptr<ParticleSystem> system(
        makeSystem(new CircleEmitter(0.5f, 0, Vector3(-20.0f, 0.0f, 0.0f),
                                     Vector3(0.0f, 20.0f, 0.0f), 1.8f, false),
                   6));
    system->acceleration = Vector3(0.0f, -4.0f, 0.0f);
    // The volcano scene's lens, 100 units in front of the origin.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(40.0, 1.0, 1.0, 5000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(Matrix4::translation(0.0f, 0.0f, -100.0f, 1.0f).m);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    system->draw(3.0f);

    // start + velocity * age + acceleration * age^2 / 2
    std::vector<std::pair<double, double>> expected;
    for (const double age : {1.5, 1.0, 0.5}) {
        expected.push_back(toWindow(-20.0, 20.0 * age - 2.0 * age * age));
    }
    const std::vector<std::uint8_t> pixels = readBackBuffer();
    const auto isLit = [&](int x, int y) {
        const Rgb colour = pixelAt(pixels, x, y);
        return colour.r + colour.g + colour.b > 30;
    };
    for (const auto& [x, y] : expected) {
        EXPECT_TRUE(isLit(static_cast<int>(x), static_cast<int>(y)))
            << "no point at " << x << ", " << y;
    }
    // Points about 25 pixels across: every lit pixel belongs to a living point.
    int stray = 0;
    for (int y = 0; y < 600; ++y) {
        for (int x = 0; x < 800; ++x) {
            bool near = false;
            for (const auto& [px, py] : expected) {
                near = near || (std::fabs(x - px) < 16.0 && std::fabs(y - py) < 16.0);
            }
            stray += isLit(x, y) && !near ? 1 : 0;
        }
    }
    EXPECT_EQ(stray, 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// ---- A vertex program without one of its parameters ----

class MissingVertexParameter : public testing::TestWithParam<const char*> {};

// The real lava vertex program with one parameter renamed everywhere, so that
// it still compiles but no longer declares that name.
std::string programWithout(const std::string& name) {
    std::stringstream source;
    source << std::ifstream(kLavaVertexProgram).rdbuf();
    const std::string path =
        "/tmp/korvath-without-" + name + "-" + std::to_string(getpid()) + ".cg";
    std::ofstream(path) << std::regex_replace(source.str(), std::regex("\\b" + name + "\\b"),
                                              name + "Renamed");
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
            dup2(open("/dev/null", O_WRONLY), STDERR_FILENO);
            dup2(captured, STDOUT_FILENO);
            makeSystem(nullptr, 0, path.c_str());
        },
        testing::ExitedWithCode(1), "Unable to retrieve program parameters, exiting\\.\\.\\.\n");
    std::remove(path.c_str());
}

INSTANTIATE_TEST_SUITE_P(EachOfTheFive, MissingVertexParameter,
                         testing::Values("modelViewProj", "acceleration", "time", "initVelocity",
                                         "initTime"));

} // namespace
} // namespace korvath::test
