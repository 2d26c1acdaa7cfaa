// The shadow scene on a real GL context, started and built the way the program
// does it (start-up, then key n): the depth map beyond the window, the
// aircraft's shadow lookup, and the failure paths of its construction. Its
// matrices, the aircraft's flight and the scene's look are the golden images'
// to check.
#include "scenes/ShadowScene.h"
#include "app/Application.h"
#include "scenes/ShadowGeometry.h"

#include <GL/glu.h>
#include <gmock/gmock.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
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

} // namespace

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
// window coordinates are the map's texture coordinates and depth. (The golden
// poses see no part of the aircraft in its own shadow, so they cannot tell.)
TEST(ShadowSceneRender, AircraftShadowLookupFindsModelPointsWhereTheLightSeesThem) {
    ShadowScene& scene = sceneOfKeyN();
    scene.programs.bind();
    scene.drawObjects(0.7f, true);
    GLint program = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    Matrix4 lookup;
    glGetUniformfv(program, glGetUniformLocation(program, "texTransform"), lookup.m);
    scene.programs.unbind();
    GLdouble view[16], projection[16], expected[3];
    std::copy_n(scene.lightView.m, 16, view);
    std::copy_n(scene.lightProjection.m, 16, projection);
    const GLint unitViewport[4] = {0, 0, 1, 1};
    // The origin alone would not show a placement missing its turns.
    for (const Vector3& model : {Vector3(0, 0, 0), Vector3(1, -2, 0.5f)}) {
        const Vector3 world =
            transformPoint(aircraftPlacement(0.7f), Vector4(model.x, model.y, model.z));
        gluProject(world.x, world.y, world.z, view, projection, unitViewport, &expected[0],
                   &expected[1], &expected[2]);
        const Vector3 found = projectPoint(lookup, model);
        EXPECT_THAT((std::vector<double>{found.x, found.y, found.z}),
                    Pointwise(DoubleNear(1e-4), expected));
    }
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

    // Without one texture the scene is built and says so once (the integration
    // test removes both).
    sceneOfKeyN();
    fs::current_path(workingCopy({"landscape.jpg"}));
    internal::CaptureStdout();
    { ShadowScene scene(application.shaderContext); }
    EXPECT_EQ("texture not found", internal::GetCapturedStdout());
    fs::current_path("..");
    fs::remove_all("shadow-fault-copy");
}
