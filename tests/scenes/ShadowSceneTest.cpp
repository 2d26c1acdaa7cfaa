// The shadow scene on a real GL context, started and built the way the program
// does it (start-up, then key n): its matrices against independent ones, the depth
// map, what the programs receive for the aircraft, the aircraft's shadow in the
// pixels, and the failure paths of its construction.
#include "scenes/ShadowScene.h"
#include "app/Application.h"
#include "app/CameraState.h"
#include "app/FrameClock.h"
#include "mesh/Mesh3ds.h"
#include "scenes/ShadowGeometry.h"
#include "support/GlTestContext.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using namespace korvath;

namespace {

// The program's own start-up (window, GL state, image library, shading context,
// GLEW), once per process.
void startAsTheProgramDoes() {
    [[maybe_unused]] static const bool started = [] {
        int argc = 1;
        char name[] = "shadow-scene-tests";
        char* argv[] = {name, nullptr};
        initGraphics(argc, argv);
        initExtensions();
        return true;
    }();
}

// The scene key n builds; the camera is left where key n puts it.
ShadowScene& sceneOfKeyN() {
    startAsTheProgramDoes();
    switchToShadowScene(); // builds the scene the first time only
    return *application.shadowScene;
}

Matrix4 perspective(float fovyDegrees, float aspect, float near, float far) {
    const float f = 1.0f / std::tan(fovyDegrees * 3.14159265f / 360.0f);
    const float d = near - far;
    const float columns[16] = {
        f / aspect, 0, 0, 0, 0, f, 0, 0, 0, 0, (far + near) / d, -1, 0, 0, 2 * far * near / d, 0};
    Matrix4 m;
    m.set(columns);
    return m;
}

// Looking at the origin from (0, e, e) with y up: the eye is e * sqrt(2) away and
// looks down at 45 degrees.
Matrix4 lookAtOriginFrom(float e) {
    return Matrix4::translation(0.0f, 0.0f, -e * std::sqrt(2.0f), 1.0f) *
           Matrix4::rotation(45.0f, 1.0f, 0.0f, 0.0f);
}

void expectMatrixNear(const Matrix4& actual, const Matrix4& expected, float tolerance,
                      const char* what) {
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(actual.m[i], expected.m[i], tolerance) << what << ", element " << i;
    }
}

std::vector<std::uint8_t> renderAt(ShadowScene& scene, float t) {
    frameClock.sceneTime = t;
    scene.render();
    return test::readBackBuffer();
}

// The landscape's point above (x, z), on the triangle whose ground plan holds it.
Vector3 groundAt(const Mesh3ds& ground, float x, float z) {
    for (int i = 0; i < ground.polygonCount; ++i) {
        const Vector3& a = ground.vertices[ground.polygons[i].a];
        const Vector3 ab = ground.vertices[ground.polygons[i].b] - a;
        const Vector3 ac = ground.vertices[ground.polygons[i].c] - a;
        const float d = ab.x * ac.z - ac.x * ab.z;
        const float u = ((x - a.x) * ac.z - ac.x * (z - a.z)) / d;
        const float v = (ab.x * (z - a.z) - (x - a.x) * ab.z) / d;
        if (std::fabs(d) > 1e-6f && u >= 0.0f && v >= 0.0f && u + v <= 1.0f) {
            return {x, a.y + u * ab.y + v * ac.y, z};
        }
    }
    return {x, 0.0f, z};
}

// Where the light's ray through a point meets the ground; the ground is gentle,
// so a few steps from the ray's crossing of the height found last settle it.
Vector3 groundBehind(const ShadowScene& scene, const Vector3& p) {
    const Vector3& light = scene.lightPosition;
    Vector3 hit = p;
    for (int i = 0; i < 6; ++i) {
        const float s = (light.y - groundAt(*scene.landscape, hit.x, hit.z).y) / (light.y - p.y);
        hit = groundAt(*scene.landscape, light.x + s * (p.x - light.x),
                       light.z + s * (p.z - light.z));
    }
    return hit;
}

// Brightness of the pixel where the camera shows a world point in the frame just
// drawn, or -1 when it is off screen or something nearer hides it (its depth is
// not the depth buffer's).
double brightnessAt(const ShadowScene& scene, const std::vector<std::uint8_t>& pixels,
                    const Vector3& p) {
    const Matrix4 m = scene.cameraProjection * scene.cameraView * scene.mouseView;
    float c[4];
    for (int r = 0; r < 4; ++r) {
        c[r] = m.m[r] * p.x + m.m[4 + r] * p.y + m.m[8 + r] * p.z + m.m[12 + r];
    }
    const int x = static_cast<int>((c[0] / c[3] + 1.0f) * 400.0f);
    const int y = static_cast<int>((c[1] / c[3] + 1.0f) * 300.0f);
    float depth = -1.0f;
    if (c[3] > 0.0f && x >= 0 && x < 800 && y >= 0 && y < 600) {
        glReadPixels(x, y, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    }
    if (std::fabs(depth - (c[2] / c[3] + 1.0f) / 2.0f) > 5e-4f) {
        return -1.0;
    }
    const test::Rgb rgb = test::pixelAt(pixels, x, y);
    return (rgb.r + rgb.g + rgb.b) / 3.0;
}

} // namespace

// ---- matrices and the depth map ------------------------------------------------

TEST(ShadowSceneMatrices, MatchIndependentPerspectivesAndLookAts) {
    ShadowScene& scene = sceneOfKeyN();
    // The camera's aspect is 800 / 600 in floating point, not the integer 1.
    expectMatrixNear(scene.cameraProjection, perspective(45.0f, 800.0f / 600.0f, 0.5f, 500.0f),
                     1e-5f, "camera projection");
    expectMatrixNear(scene.cameraView, lookAtOriginFrom(10.0f), 1e-5f, "camera view");
    expectMatrixNear(scene.lightProjection, perspective(90.0f, 1.0f, 1.0f, 80.0f), 1e-5f,
                     "light projection");
    expectMatrixNear(scene.lightView, lookAtOriginFrom(50.0f), 1e-5f, "light view");
}

TEST(ShadowSceneMap, DepthPassRefillsEveryTexelOfTheMapBeyondTheWindowToo) {
    ShadowScene& scene = sceneOfKeyN();
    ASSERT_EQ(1024, scene.shadowMapSize);
    // No texel of the scene can hold depth 0 (the light's near plane is 1 unit
    // away, the clear value is 1), so a zero left over was never written.
    std::vector<float> depth(1024 * 1024, 0.0f);
    glBindTexture(GL_TEXTURE_2D, scene.shadowTexture);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 1024, 1024, GL_DEPTH_COMPONENT, GL_FLOAT, depth.data());
    renderAt(scene, 1.0f);
    glBindTexture(GL_TEXTURE_2D, scene.shadowTexture);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT, GL_FLOAT, depth.data());
    EXPECT_EQ(std::count(depth.begin(), depth.end(), 0.0f), 0);
    EXPECT_GT(std::count_if(depth.begin(), depth.end(), [](float d) { return d < 1.0f; }), 0)
        << "the aircraft is in the map";
}

// ---- the camera pass -----------------------------------------------------------

TEST(ShadowSceneRender, AircraftProgramsGetItsPlacementInTheShadowLookup) {
    ShadowScene& scene = sceneOfKeyN();
    const float t = 0.7f;
    scene.mouseView = composeViewMatrix(cameraState);
    Matrix4 textureBefore, textureAfter, texTransform, modelView;
    glGetFloatv(GL_TEXTURE_MATRIX, textureBefore.m);
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(scene.cameraView.m);
    cgGLEnableProfile(scene.shaderContext.vertexProfile);
    cgGLBindProgram(scene.vertexProgram);
    scene.drawObjects(t, true);

    GLint pipeline = 0, program = 0;
    glGetIntegerv(GL_PROGRAM_PIPELINE_BINDING, &pipeline);
    glGetProgramPipelineiv(static_cast<GLuint>(pipeline), GL_VERTEX_SHADER, &program);
    const auto id = static_cast<GLuint>(program);
    glGetUniformfv(id, glGetUniformLocation(id, "texTransform"), texTransform.m);
    glGetUniformfv(id, glGetUniformLocation(id, "modelView"), modelView.m);
    const Matrix4 placement = aircraftPlacement(t);
    expectMatrixNear(texTransform,
                     shadowBiasMatrix() * scene.lightProjection * scene.lightView * placement,
                     1e-4f, "texTransform");
    expectMatrixNear(modelView, scene.cameraView * scene.mouseView * placement, 1e-4f, "modelView");
    glGetFloatv(GL_TEXTURE_MATRIX, textureAfter.m);
    expectMatrixNear(textureAfter, textureBefore, 0.0f, "texture matrix, restored");
    cgGLDisableProfile(scene.shaderContext.vertexProfile);
}

// The ground the light sees through the aircraft's centre, against lit ground
// beside it and against itself half a turn later, from the view key n opens with
// and from the plain look-at.
TEST(ShadowSceneRender, GroundUnderTheAircraftIsDarkerThanGroundBesideAndThanItselfLater) {
    ShadowScene& scene = sceneOfKeyN();
    for (const Matrix4& view : {composeViewMatrix(cameraState), Matrix4()}) {
        scene.mouseView = view;
        int checked = 0;
        for (float t = 0.0f; t < 6.3f; t += 0.25f) {
            const Vector3 shadowed = groundBehind(scene, aircraftPosition(t));
            const std::vector<std::uint8_t> now = renderAt(scene, t);
            const double inShadow = brightnessAt(scene, now, shadowed);
            // The brightest ground just outside the shadow on its four sides (it is
            // longer along z, towards the light).
            double lit = -1.0;
            for (const auto& [dx, dz] :
                 {std::pair(-1.5f, 0.0f), {1.5f, 0.0f}, {0.0f, -2.0f}, {0.0f, 2.0f}}) {
                const Vector3 beside = groundAt(*scene.landscape, shadowed.x + dx, shadowed.z + dz);
                lit = std::max(lit, brightnessAt(scene, now, beside));
            }
            const double later = brightnessAt(scene, renderAt(scene, t + 3.14159265f), shadowed);
            if (inShadow < 0.0 || lit < 0.0 || later < 0.0) {
                continue; // hidden or off screen in one of the frames
            }
            // Lit ground beside may be a darker field than the shadowed one: less margin.
            EXPECT_LT(inShadow, 0.8 * lit) << "t = " << t;
            EXPECT_LT(inShadow, 0.7 * later) << "t = " << t;
            ++checked;
        }
        EXPECT_GE(checked, 3) << "too few times showed the shadow on open ground";
    }
}

// ---- construction failures -----------------------------------------------------

// A fresh directory under the build directory holding a copy of cg/ and of the
// named files of data/model: all the scene reads.
fs::path workingCopy(const std::string& name, const std::vector<std::string>& modelFiles) {
    const fs::path root = fs::current_path() / "shadow-fault-copies" / name;
    fs::remove_all(root);
    fs::create_directories(root / "data" / "model");
    fs::copy("cg", root / "cg", fs::copy_options::recursive);
    for (const std::string& file : modelFiles) {
        fs::copy_file("data/model/" + file, root / "data" / "model" / file);
    }
    return root;
}

// Runs in the death test's child: standard output joins standard error, which
// the parent matches.
void constructSceneIn(const fs::path& directory) {
    startAsTheProgramDoes();
    std::fflush(stdout);
    if (chdir(directory.c_str()) != 0 || dup2(STDERR_FILENO, STDOUT_FILENO) < 0) {
        std::exit(2);
    }
    ShadowScene scene(application.shaderContext);
}

TEST(ShadowSceneFaults, AMissingParameterExitsWithStatusOneBeforeAnyMeshIsLoaded) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const std::pair<const char*, std::string> missing[] = {{"cg/vp_shadow.cg", "modelViewIT"},
                                                           {"cg/fp_shadow.cg", "shadowMap"}};
    for (const auto& [program, name] : missing) {
        // No mesh or texture files: a scene that went on would print "texture not
        // found" first. Renamed at every use, the program compiles but lacks it.
        const fs::path copy = workingCopy(name, {});
        std::stringstream source;
        source << std::ifstream(copy / program).rdbuf();
        std::ofstream(copy / program)
            << std::regex_replace(source.str(), std::regex("\\b" + name + "\\b"), name + "Gone");
        EXPECT_EXIT(constructSceneIn(copy), testing::ExitedWithCode(1),
                    "(^|\n)Unable to retrieve program parameters, exiting\\.\\.\\.\n$")
            << name;
    }
    fs::remove_all(fs::current_path() / "shadow-fault-copies");
}

TEST(ShadowSceneFaults, EitherOrBothTexturesMissingPrintTextureNotFoundOnce) {
    startAsTheProgramDoes();
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"landscape.jpg", "flieger.jpg"}, ""},
        {{"landscape.jpg"}, "texture not found"},
        {{}, "texture not found"}};
    const fs::path home = fs::current_path();
    for (const auto& [present, expected] : cases) {
        fs::current_path(workingCopy("textures", present));
        testing::internal::CaptureStdout();
        { ShadowScene scene(application.shaderContext); }
        std::fflush(stdout);
        EXPECT_EQ(expected, testing::internal::GetCapturedStdout()) << present.size() << " present";
        fs::current_path(home);
    }
    fs::remove_all(home / "shadow-fault-copies");
}
