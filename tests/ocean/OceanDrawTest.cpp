// The ocean drawn with its real programs after the program's own start-up
// leaves no shading program current for the fixed-function drawing after it,
// and raises no GL error. The golden poses judge how it looks.
#include "app/Application.h"
#include "ocean/Ocean.h"
#include "testbed/FramePoses.h"
#include "testbed/OceanScene.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

namespace korvath::test {
namespace {

TEST(OceanDraw, LeavesNoProgramCurrent) {
    poses::startProgramGraphics();
    Ocean ocean(800.0f, 800.0f, application.shaderContext);
    for (const WaveSettings& wave : volcanoWaves) {
        ocean.addWave(wave.direction.x, wave.direction.y, wave.direction.z, wave.wavelength,
                      wave.amplitude, wave.phase);
    }
    ocean.draw(10.0f, Vector3(0.0f, 100.0f, 0.0f));
    GLint program = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    EXPECT_EQ(program, 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

} // namespace
} // namespace korvath::test
