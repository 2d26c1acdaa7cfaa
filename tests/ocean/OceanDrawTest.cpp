// The volcano scene's ocean drawn with its real programs after the program's
// own start-up, under the start-up camera: water fills the window, and no
// shading program stays bound for the fixed-function drawing after it.
#include "testbed/OceanScene.h"
#include "app/Application.h"
#include "app/CameraState.h"
#include "math/Matrix4.h"
#include "ocean/Ocean.h"
#include "testbed/GlTestContext.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

namespace korvath::test {
namespace {

TEST(OceanDraw, StartUpCameraSeesOnlyWaterAndNoProgramStaysBound) {
    int argc = 1;
    char name[] = "ocean-draw-tests";
    char* argv[] = {name, nullptr};
    initGraphics(argc, argv);
    initExtensions();
    Ocean ocean(800.0f, 800.0f, application.shaderContext);
    for (const WaveSettings& wave : volcanoWaves) {
        ocean.addWave(wave.direction.x, wave.direction.y, wave.direction.z, wave.wavelength,
                      wave.amplitude, wave.phase);
    }
    // The ocean pass of a volcano frame: the start-up view (start-up leaves the
    // modelview matrix current), the light under it.
    const Matrix4 view = composeViewMatrix(CameraState());
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadMatrixf(view.m);
    ocean.draw(10.0f, transformPoint(view, volcanoLight));

    // Water is deep blue or teal: clearly darker than the sky's (102, 178, 229),
    // blue and green above red.
    const std::vector<std::uint8_t> pixels = readBackBuffer();
    for (int n = 0; n < 800 * 600; ++n) {
        const Rgb c = pixelAt(pixels, n % 800, n / 800);
        const int x = n % 800;
        const int y = n / 800;
        ASSERT_GT(c.b, c.r + 40) << "pixel " << x << ", " << y;
        ASSERT_GT(c.g, c.r) << "pixel " << x << ", " << y;
        ASSERT_LT(c.r + c.g + c.b, 420) << "pixel " << x << ", " << y;
    }
    // Either profile left enabled would leave the runtime's program pipeline bound.
    GLint pipeline = -1;
    glGetIntegerv(GL_PROGRAM_PIPELINE_BINDING, &pipeline);
    EXPECT_EQ(pipeline, 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

} // namespace
} // namespace korvath::test
