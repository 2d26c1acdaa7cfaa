// Particle systems drawn for real under Xvfb: points where the motion formula
// puts them.
#include "particles/CircleEmitter.h"
#include "particles/ParticleSystem.h"
#include "testbed/GlTestContext.h"
#include "testbed/ParticleGlSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace korvath::test {
namespace {

TEST(ParticleRendering, LivingPointsLandWhereTheMotionFormulaPutsThem) {
    // Six particles straight up from (-20, 0, 0), starting every half second and
    // living 1.8 s: at time 3 two have expired, three are alive, one waits.
    auto* emitter = new CircleEmitter(0.5f, 0, Vector3(-20.0f, 0.0f, 0.0f),
                                      Vector3(0.0f, 20.0f, 0.0f), 1.8f, false);
    auto system =
        std::make_unique<ParticleSystem>(6, emitter, lavaRenderer("cg/vp_volcanoLava.cg"));
    system->acceleration = Vector3(0.0f, -4.0f, 0.0f);
    // The volcano scene's lens (40 degrees, aspect 1), 100 units in front of the
    // origin; the matrices start as the identity.
    const double tan20 = std::tan(20.0 * 3.14159265358979 / 180.0);
    glMatrixMode(GL_PROJECTION);
    glFrustum(-tan20, tan20, -tan20, tan20, 1.0, 5000.0);
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(0.0f, 0.0f, -100.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    system->draw(3.0f);
    const auto pixels = readBackBuffer();

    // Window coordinates: 100 tan 20 degrees reach from the centre to each edge
    // of the 800x600 viewport, so x = -20 lies 400 * 20 / (100 tan 20) to the
    // left. Height: velocity * age + acceleration * age^2 / 2, scaled alike.
    const int column = static_cast<int>(400.0 - 80.0 / tan20);
    for (int row = 0; row < 600; ++row) {
        double distance = 600.0; // to the nearest living point
        for (const double age : {1.5, 1.0, 0.5}) {
            const double y = 300.0 + 3.0 * (20.0 * age - 2.0 * age * age) / tan20;
            distance = std::fmin(distance, std::fabs(row - y));
        }
        // Points are about 25 pixels across; the waiting and expired ones would
        // lie on this column too.
        if (distance < 1.0 || distance > 16.0) {
            const Rgb colour = pixelAt(pixels, column, row);
            EXPECT_EQ(colour.r + colour.g + colour.b > 30, distance < 1.0) << "row " << row;
        }
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

} // namespace
} // namespace korvath::test
