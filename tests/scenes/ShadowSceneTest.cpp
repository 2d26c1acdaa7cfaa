// The shadow scene on a real GL context, started and built the way the program
// does it (start-up, then key n): its matrices against independent ones, the depth
// map, the aircraft's shadow lookup and its shadow in the pixels, and the failure
// paths of its construction.
#include "scenes/ShadowScene.h"
#include "app/Application.h"
#include "math/Matrix4.h"
#include "scenes/SceneTime.h"
#include "scenes/ShadowGeometry.h"
#include "shading/ShadingRecords.h"
#include "testbed/GlTestContext.h"

#include <GL/glu.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <numeric>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using namespace korvath;
using namespace testing;

namespace {

// The program's own start-up (window, GL state, image library, shading context,
// GLEW) once per process, then key n, which builds the scene the first time only.
ShadowScene& sceneOfKeyN() {
    static char* argv[] = {const_cast<char*>("shadow-scene-tests"), nullptr};
    [[maybe_unused]] static const bool started = (initGraphics(1, argv), initExtensions(), true);
    switchToShadowScene();
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

// A fresh directory under the build directory holding a copy of cg/ and of the
// named files of data/model: all the scene reads.
fs::path workingCopy(const std::vector<std::string>& modelFiles) {
    const fs::path root = fs::current_path() / "shadow-fault-copy";
    fs::remove_all(root);
    fs::create_directories(root / "data" / "model");
    fs::copy("cg", root / "cg", fs::copy_options::recursive);
    for (const std::string& file : modelFiles) {
        fs::copy_file("data/model/" + file, root / "data" / "model" / file);
    }
    return root;
}

std::string readText(const fs::path& path) {
    std::ifstream file(path);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void writeText(const fs::path& path, const std::string& text) {
    std::ofstream(path) << text;
}

} // namespace

TEST(ShadowSceneMatrices, MatchIndependentPerspectivesAndLookAts) {
    ShadowScene& scene = sceneOfKeyN();
    // The camera's aspect is 800 / 600 in floating point, not the integer 1.
    EXPECT_THAT(scene.cameraProjection.m,
                Pointwise(FloatNear(1e-5f), perspective(45.0f, 800.0f / 600.0f, 0.5f, 500.0f).m));
    EXPECT_THAT(scene.cameraView.m, Pointwise(FloatNear(1e-5f), lookAtOriginFrom(10.0f).m));
    EXPECT_THAT(scene.lightProjection.m,
                Pointwise(FloatNear(1e-5f), perspective(90.0f, 1.0f, 1.0f, 80.0f).m));
    EXPECT_THAT(scene.lightView.m, Pointwise(FloatNear(1e-5f), lookAtOriginFrom(50.0f).m));
}

TEST(ShadowSceneMap, DepthPassRefillsEveryTexelOfTheMapBeyondTheWindowToo) {
    ShadowScene& scene = sceneOfKeyN();
    // No texel of the scene can hold depth 0 (the light's near plane is 1 unit
    // away, the clear value is 1), so a zero left over was never written.
    std::vector<float> depth(1024 * 1024, 0.0f);
    glBindTexture(GL_TEXTURE_2D, scene.shadowTexture);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 1024, 1024, GL_DEPTH_COMPONENT, GL_FLOAT, depth.data());
    scene.render();
    glBindTexture(GL_TEXTURE_2D, scene.shadowTexture);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT, GL_FLOAT, depth.data());
    EXPECT_EQ(std::count(depth.begin(), depth.end(), 0.0f), 0);
}

// The lookup takes the aircraft's own coordinates; GLU projects the world point
// they are placed at through the light's matrices into a 1x1 viewport, whose
// window coordinates are the map's texture coordinates and depth.
TEST(ShadowSceneRender, AircraftShadowLookupFindsModelPointsWhereTheLightSeesThem) {
    ShadowScene& scene = sceneOfKeyN();
    Matrix4 textureBefore, textureAfter, texTransform;
    glGetFloatv(GL_TEXTURE_MATRIX, textureBefore.m);
    scene.drawObjects(0.7f, true);
    glGetFloatv(GL_TEXTURE_MATRIX, textureAfter.m);
    // The value the runtime keeps for the program, which it uploads on binding.
    const ShadingParameterRecord& parameter = *scene.texTransformParam;
    ASSERT_EQ(parameter.setComponents, 16);
    std::copy_n(parameter.value.data(), 16, texTransform.m);
    GLdouble view[16], projection[16];
    std::copy_n(scene.lightView.m, 16, view);
    std::copy_n(scene.lightProjection.m, 16, projection);
    const GLint unitViewport[4] = {0, 0, 1, 1};
    // The origin alone would not show a placement missing its turns.
    for (const Vector3& model : {Vector3(0, 0, 0), Vector3(1, -2, 0.5f)}) {
        const Vector3 world =
            transformPoint(aircraftPlacement(0.7f), Vector4(model.x, model.y, model.z));
        double expected[3];
        gluProject(world.x, world.y, world.z, view, projection, unitViewport, &expected[0],
                   &expected[1], &expected[2]);
        const Vector3 lookup = projectPoint(texTransform, model);
        EXPECT_THAT((std::vector<double>{lookup.x, lookup.y, lookup.z}),
                    Pointwise(DoubleNear(1e-4), expected));
    }
    EXPECT_THAT(textureAfter.m, ElementsAreArray(textureBefore.m));
}

// Every pixel of the plain look-at's frame is unprojected from its depth. Ground
// whose light ray passes within 0.1 of the aircraft's centre is in its shadow;
// ground whose ray passes 1 to 2 units off is lit ground beside it. At these
// times this camera sees the shadow beside the aircraft, not hidden behind it.
TEST(ShadowSceneRender, GroundInTheAircraftsShadowIsDarkerThanGroundBesideIt) {
    ShadowScene& scene = sceneOfKeyN();
    scene.mouseView = Matrix4();
    GLdouble model[16], projection[16];
    std::copy_n(scene.cameraView.m, 16, model);
    std::copy_n(scene.cameraProjection.m, 16, projection);
    const GLint viewport[4] = {0, 0, 800, 600};
    std::vector<float> depth(800 * 600);
    for (float t : {1.5f, 3.0f, 4.5f}) {
        sceneTime = t;
        scene.render();
        const std::vector<std::uint8_t> pixels = test::readBackBuffer();
        glReadPixels(0, 0, 800, 600, GL_DEPTH_COMPONENT, GL_FLOAT, depth.data());
        const Vector3 centre = aircraftPosition(t) - scene.lightPosition;
        double sum[2] = {}, count[2] = {};
        for (int i = 0; i < 800 * 600; ++i) {
            double p[3];
            gluUnProject(i % 800 + 0.5, i / 800 + 0.5, depth[i], model, projection, viewport, &p[0],
                         &p[1], &p[2]);
            const Vector3 ray = Vector3(p[0], p[1], p[2]) - scene.lightPosition;
            const float miss = cross(ray, centre).length() / ray.length();
            const int set = miss < 0.1f ? 0 : (miss > 1.0f && miss < 2.0f ? 1 : -1);
            // Sky and the aircraft itself (within 3 units of its centre) are no ground.
            if (set >= 0 && depth[i] < 1.0f && (ray - centre).length() > 3.0f) {
                sum[set] += pixels[3 * i] + pixels[3 * i + 1] + pixels[3 * i + 2];
                ++count[set];
            }
        }
        ASSERT_GE(count[0], 5) << "t = " << t;
        EXPECT_LT(sum[0] / count[0], 0.8 * sum[1] / count[1]) << "t = " << t;
    }
}

// The same program written with preprocessor directives: a disabled block that
// declares a sampler before the live ones and live names with other types, a
// macro for the sampler's type and a declaration continued over two lines.
// Units follow the order the compiled text declares the samplers in, and types
// come from what is compiled, so the picture is the same pixel for pixel (a unit
// shifted by the disabled sampler draws the landscape black).
TEST(ShadowSceneSources, ProgramWrittenWithDirectivesDrawsTheSamePicture) {
    ShadowScene& plain = sceneOfKeyN();
    const fs::path copy =
        workingCopy({"landscape.3ds", "landscape.jpg", "flieger.3ds", "flieger.jpg"});
    const std::string source = readText("cg/fp_shadow.cg");
    const std::string plainSamplers = "uniform sampler2D shadowMap;";
    ASSERT_THAT(source, HasSubstr(plainSamplers));
    std::string directives = source;
    directives.replace(directives.find(plainSamplers), plainSamplers.size(),
                       "#define SHADOW_SAMPLER sampler2D\n"
                       "#if 0\n"
                       "uniform sampler2D disabledMap; {\n"
                       "uniform float diffuseColor;\n"
                       "#endif\n"
                       "#ifdef NOT_DEFINED\n"
                       "uniform vec2 specularColor;\n"
                       "#endif\n"
                       "uniform SHADOW_SAMPLER \\\n"
                       "    shadowMap;");
    writeText(copy / "cg" / "fp_shadow.cg", directives);

    plain.mouseView = Matrix4();
    sceneTime = 2.0f;
    plain.render();
    const std::vector<std::uint8_t> expected = test::readBackBuffer();

    fs::current_path(copy);
    ShadowScene rewritten(application.shaderContext);
    fs::current_path("..");
    rewritten.cameraEye = plain.cameraEye;
    rewritten.lightPosition = plain.lightPosition;
    rewritten.computeMatrices();
    rewritten.createShadowMap();
    rewritten.render();
    const std::vector<std::uint8_t> actual = test::readBackBuffer();
    fs::remove_all(copy);

    const auto differing = std::inner_product(expected.begin(), expected.end(), actual.begin(), 0,
                                              std::plus<>(), std::not_equal_to<>());
    EXPECT_EQ(differing, 0) << "channels of 800x600x3 that differ";
}

TEST(ShadowSceneFaults, MissingParameterExitsBeforeAnyMeshLoadsAndMissingTexturesAreReportedOnce) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // No mesh or texture files: a scene that went on would print "texture not
    // found" first. Renamed at every use, the program compiles but lacks it.
    const fs::path copy = workingCopy({});
    ASSERT_EQ(
        0, std::system("sed -i s/modelViewIT/modelViewITGone/g shadow-fault-copy/cg/vp_shadow.cg"));
    // In the child, standard output joins standard error, which the parent matches.
    EXPECT_EXIT(
        {
            sceneOfKeyN();
            fs::current_path(copy);
            dup2(STDERR_FILENO, STDOUT_FILENO);
            ShadowScene scene(application.shaderContext);
        },
        ExitedWithCode(1), "(^|\n)Unable to retrieve program parameters, exiting\\.\\.\\.\n$");

    // Without one or both textures the scene is built and says so once; with both, not at all.
    sceneOfKeyN();
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"landscape.jpg", "flieger.jpg"}, ""},
        {{"landscape.jpg"}, "texture not found"},
        {{}, "texture not found"}};
    for (const auto& [present, expected] : cases) {
        fs::current_path(workingCopy(present));
        internal::CaptureStdout();
        { ShadowScene scene(application.shaderContext); }
        EXPECT_EQ(expected, internal::GetCapturedStdout()) << present.size() << " present";
        fs::current_path("..");
    }
    fs::remove_all("shadow-fault-copy");
}
