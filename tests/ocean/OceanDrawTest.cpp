// The ocean drawn with its real programs under the start-up camera: water
// below the horizon, sky above it, lit from the light it is given, sent as
// 67 strips, and the fixed-function pipeline back afterwards.
#include "OceanGlSupport.h"
#include "support/GlTestContext.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

namespace korvath::test {
namespace {

const Vector3 sceneLight(125.0f, 250.0f, 68.0f);
// The clear colour (0.4, 0.7, 0.9) in bytes: 102, 178.5, 229.5, rounded either way.
bool isSky(Rgb colour) {
    return colour.r == 102 && (colour.g == 178 || colour.g == 179) &&
           (colour.b == 229 || colour.b == 230);
}

// Deep blue or teal: clearly darker than the sky, blue and green above red.
bool isWater(Rgb colour) {
    return colour.b > colour.r + 40 && colour.g > colour.r && colour.r + colour.g + colour.b < 420;
}

double meanBrightness(const std::vector<std::uint8_t>& pixels, int fromY, int toY) {
    double sum = 0.0;
    for (int y = fromY; y < toY; ++y) {
        for (int x = 0; x < 800; ++x) {
            const Rgb colour = pixelAt(pixels, x, y);
            sum += colour.r + colour.g + colour.b;
        }
    }
    return sum / (3.0 * 800 * (toY - fromY));
}

class OceanDraw : public ::testing::Test {
protected:
    OceanDraw() : ocean(800.0f, 800.0f, oceanShaderContext()) { addSceneWaves(ocean); }

    Ocean ocean;
};

int waterPixels(const std::vector<std::uint8_t>& pixels, int fromY, int toY) {
    int water = 0;
    for (int y = fromY; y < toY; ++y) {
        for (int x = 0; x < 800; ++x) {
            water += isWater(pixelAt(pixels, x, y)) ? 1 : 0;
        }
    }
    return water;
}

TEST_F(OceanDraw, StartCameraSeesOnlySea) {
    drawFrame(ocean, 10.0f, placeCamera(startTilt, sceneLight));
    const std::vector<std::uint8_t> pixels = readBackBuffer();
    savePng("ocean-start-camera.png", pixels);
    EXPECT_EQ(waterPixels(pixels, 0, 600), 800 * 600);
}

TEST_F(OceanDraw, LevelCameraSeesSkyBeyondTheSeasFarEdge) {
    drawFrame(ocean, 10.0f, placeCamera(levelTilt, sceneLight));
    const std::vector<std::uint8_t> pixels = readBackBuffer();
    savePng("ocean-level-camera.png", pixels);
    EXPECT_EQ(waterPixels(pixels, 0, 250), 800 * 250);
    for (const int x : {5, 400, 795}) {
        EXPECT_TRUE(isSky(pixelAt(pixels, x, 595))) << "top row at x = " << x;
    }
}

TEST_F(OceanDraw, LightFromBelowLeavesOnlyTheAmbientShare) {
    drawFrame(ocean, 10.0f, placeCamera(startTilt, sceneLight));
    const double lit = meanBrightness(readBackBuffer(), 0, 250);
    drawFrame(ocean, 10.0f, placeCamera(startTilt, Vector3(125.0f, -250.0f, 68.0f)));
    const double unlit = meanBrightness(readBackBuffer(), 0, 250);
    EXPECT_LT(unlit, 0.8 * lit);
}

TEST_F(OceanDraw, SendsSixtySevenStripsOf134Triangles) {
    const Vector3 light = placeCamera(startTilt, sceneLight);
    GLuint query = 0;
    glGenQueries(1, &query);
    glBeginQuery(GL_PRIMITIVES_GENERATED, query);
    drawFrame(ocean, 0.0f, light);
    glEndQuery(GL_PRIMITIVES_GENERATED);
    GLuint triangles = 0;
    glGetQueryObjectuiv(query, GL_QUERY_RESULT, &triangles);
    glDeleteQueries(1, &query);
    EXPECT_EQ(triangles, 67u * 134u);
}

TEST_F(OceanDraw, LeavesTheFixedFunctionPipelineInForce) {
    drawFrame(ocean, 0.0f, placeCamera(startTilt, sceneLight));
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glColor3f(1.0f, 0.0f, 0.0f);
    glBegin(GL_QUADS);
    glVertex2f(-1.0f, -1.0f);
    glVertex2f(1.0f, -1.0f);
    glVertex2f(1.0f, 1.0f);
    glVertex2f(-1.0f, 1.0f);
    glEnd();
    glEnable(GL_DEPTH_TEST);
    const Rgb colour = pixelAt(readBackBuffer(), 400, 100);
    EXPECT_EQ(colour.r, 255);
    EXPECT_EQ(colour.g, 0);
    EXPECT_EQ(colour.b, 0);
}

} // namespace
} // namespace korvath::test
