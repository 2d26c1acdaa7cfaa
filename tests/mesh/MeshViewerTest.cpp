// Views of each generated mesh with its texture, under fixed-function light and
// with back faces culled, saved as mesh-<view>.png in the build directory. The
// checks catch a mesh that is missing, wound inside out or drawn untextured.
#include "mesh/Mesh3ds.h"
#include "mesh/TextureImage.h"
#include "support/GlTestContext.h"

#include <GL/glu.h>
#define ILUT_USE_OPENGL
#include <IL/il.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <set>
#include <string>

namespace korvath {
namespace {

constexpr int width = 800;
constexpr int height = 600;
const test::Rgb sky{115, 153, 204};

struct View {
    const char* name;
    const char* meshPath;
    const char* texturePath;
    double fieldOfView, nearPlane, farPlane;
    double eye[3];
    double centre[3];
    bool lit;       // the volcano scene draws its terrain unlit
    bool withWater; // a flat sea at height 0 stands in for the ocean
    // Placement after the look-at: translation, then turns about x and y.
    float translate[3];
    float turnX, turnY;
};

void drawWater() {
    glDisable(GL_TEXTURE_2D);
    glColor3f(0.12f, 0.30f, 0.42f);
    glBegin(GL_QUADS);
    glNormal3f(0.0f, 1.0f, 0.0f);
    glVertex3f(-400.0f, 0.0f, -400.0f);
    glVertex3f(-400.0f, 0.0f, 389.0f);
    glVertex3f(389.0f, 0.0f, 389.0f);
    glVertex3f(389.0f, 0.0f, -400.0f);
    glEnd();
    glColor3f(1.0f, 1.0f, 1.0f);
    glEnable(GL_TEXTURE_2D);
}

void setLight(bool lit) {
    if (!lit) {
        glDisable(GL_LIGHTING);
        return;
    }
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    const GLfloat position[] = {0.4f, 1.0f, 0.5f, 0.0f};
    const GLfloat ambient[] = {0.35f, 0.35f, 0.35f, 1.0f};
    const GLfloat diffuse[] = {0.8f, 0.8f, 0.8f, 1.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, position);
    glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    glEnable(GL_COLOR_MATERIAL);
}

void savePng(const std::vector<std::uint8_t>& pixels, const std::string& path) {
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    std::vector<std::uint8_t> copy = pixels;
    ilTexImage(width, height, 1, 3, IL_RGB, IL_UNSIGNED_BYTE, copy.data());
    ilEnable(IL_FILE_OVERWRITE);
    std::string mutablePath(path);
    EXPECT_TRUE(ilSave(IL_PNG, mutablePath.data())) << path;
    ilDeleteImages(1, &image);
}

std::vector<std::uint8_t> render(const View& view, const Mesh3ds& mesh, bool withMesh) {
    glClearColor(sky.r / 255.0f, sky.g / 255.0f, sky.b / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_NORMALIZE);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glEnable(GL_TEXTURE_2D);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(view.fieldOfView, double(width) / height, view.nearPlane, view.farPlane);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(view.eye[0], view.eye[1], view.eye[2], view.centre[0], view.centre[1], view.centre[2],
              0.0, 1.0, 0.0);
    glTranslatef(view.translate[0], view.translate[1], view.translate[2]);
    glRotatef(view.turnX, 1.0f, 0.0f, 0.0f);
    glRotatef(view.turnY, 0.0f, 1.0f, 0.0f);
    setLight(view.lit);
    glColor3f(1.0f, 1.0f, 1.0f);
    if (withMesh) {
        mesh.draw();
    }
    if (view.withWater) {
        drawWater();
    }
    return test::readBackBuffer();
}

class MeshViewer : public ::testing::TestWithParam<View> {};

TEST_P(MeshViewer, DrawsTheMeshTexturedAndFacingTheCamera) {
    test::ensureGlContext();
    const View& view = GetParam();
    auto mesh = std::make_unique<Mesh3ds>();
    ASSERT_TRUE(mesh->load(view.meshPath));
    mesh->textureId = loadTextureImage(view.texturePath);
    ASSERT_TRUE(isTextureLoaded(mesh->textureId));

    const std::vector<std::uint8_t> empty = render(view, *mesh, false);
    const std::vector<std::uint8_t> pixels = render(view, *mesh, true);
    savePng(pixels, std::string("mesh-") + view.name + ".png");

    int changed = 0;
    std::set<int> colours;
    for (int y = 0; y < height; y += 2) {
        for (int x = 0; x < width; x += 2) {
            const test::Rgb before = test::pixelAt(empty, x, y);
            const test::Rgb after = test::pixelAt(pixels, x, y);
            if (before.r != after.r || before.g != after.g || before.b != after.b) {
                ++changed;
                colours.insert((after.r / 8) << 10 | (after.g / 8) << 5 | (after.b / 8));
            }
        }
    }
    const int samples = (width / 2) * (height / 2);
    // A mesh wound inside out is culled away; an untextured one shows only
    // the few shades of its lighting.
    EXPECT_GT(changed, samples / 20) << view.name;
    EXPECT_GT(colours.size(), 200u) << view.name;
}

INSTANTIATE_TEST_SUITE_P(
    GeneratedMeshes, MeshViewer,
    ::testing::Values(
        // The volcano scene's start-up camera and an overview like the end of its flight.
        View{"korvath",
             "data/model/korvath.3ds",
             "data/model/korvath.jpg",
             40.0,
             1.0,
             5000.0,
             {0.0, 10.0, 100.0},
             {0.0, 0.0, 0.0},
             false,
             true,
             {10.0f, -50.0f, -20.0f},
             30.0f,
             -10.0f},
        View{"korvath-far",
             "data/model/korvath.3ds",
             "data/model/korvath.jpg",
             40.0,
             1.0,
             5000.0,
             {0.0, 10.0, 100.0},
             {0.0, 0.0, 0.0},
             false,
             true,
             {10.0f, -60.0f, -380.0f},
             20.0f,
             60.0f},
        View{"korvath-lit",
             "data/model/korvath.3ds",
             "data/model/korvath.jpg",
             40.0,
             1.0,
             5000.0,
             {0.0, 10.0, 100.0},
             {0.0, 0.0, 0.0},
             true,
             false,
             {0.0f, -20.0f, -260.0f},
             30.0f,
             20.0f},
        // The shadow scene's camera.
        View{"landscape",
             "data/model/landscape.3ds",
             "data/model/landscape.jpg",
             45.0,
             0.5,
             500.0,
             {0.0, 10.0, 10.0},
             {0.0, 0.0, 0.0},
             true,
             false,
             {0.0f, 0.0f, 0.0f},
             0.0f,
             0.0f},
        // Close to the aircraft, from ahead, above and to its right.
        View{"flieger",
             "data/model/flieger.3ds",
             "data/model/flieger.jpg",
             45.0,
             0.1,
             50.0,
             {1.2, 1.0, -1.6},
             {0.0, 0.0, 0.0},
             true,
             false,
             {0.0f, 0.0f, 0.0f},
             -90.0f,
             0.0f}),
    [](const ::testing::TestParamInfo<View>& param) {
        std::string name = param.param.name;
        for (char& c : name) {
            if (c == '-') {
                c = '_';
            }
        }
        return name;
    });

} // namespace
} // namespace korvath
