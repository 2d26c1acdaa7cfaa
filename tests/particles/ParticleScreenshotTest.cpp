// The volcano's three particle systems with their real programs and sprites,
// seen from the start camera and from the far end of the camera flight after a
// few seconds of eruption; saved as PNG files in the working directory.
#include "ParticleGlSupport.h"
#include "particles/CircleEmitter.h"
#include "particles/ParticleSystem.h"
#include "support/GlTestContext.h"

#include <GL/glew.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>

namespace korvath::test {
namespace {

// The volcano scene's three systems, in its order of construction.
struct EruptionSettings {
    int particleCount;
    const char* vertexProgram;
    const char* fragmentProgram;
    const char* sprite;
    bool blended;
    float emitInterval;
    int spread;
    Vector3 origin;
    Vector3 velocityScale;
    float lifetime;
    bool randomLifetime;
    Vector3 acceleration;
};

const EruptionSettings kLava = {
    100, "cg/vp_volcanoLava.cg", "cg/fp_volcanoLava.cg", "data/particle/lava.bmp", false,
    0.01f, 2, {-7.0f, 40.0f, 0.0f}, {14.0f, 15.5f, 14.0f}, 2.0f, true, {0.0f, -1.0f, 0.0f}};
const EruptionSettings kAsh = {
    400, "cg/vp_volcanoAsh.cg", "cg/fp_volcanoAsh.cg", "data/particle/ash.bmp", true,
    0.0125f, 9, {-7.0f, 70.0f, 0.0f}, {7.5f, 18.5f, 5.5f}, 12.0f, true, {0.0f, -1.0f, 2.0f}};
const EruptionSettings kStones = {
    30, "cg/vp_volcanoStone.cg", "cg/fp_volcanoStone.cg", "data/particle/stone.bmp", false,
    0.5f, 2, {-7.0f, 48.0f, 0.0f}, {27.3f, 58.5f, 34.5f}, 4.0f, false, {0.0f, -28.0f, 0.5f}};

std::unique_ptr<ParticleSystem> makeEruption(const EruptionSettings& settings) {
    const ShaderContext& shading = particleShaderContext();
    auto system = std::make_unique<ParticleSystem>(
        settings.particleCount,
        new CircleEmitter(settings.emitInterval, settings.spread, settings.origin,
                          settings.velocityScale, settings.lifetime, settings.randomLifetime),
        settings.vertexProgram, settings.fragmentProgram, settings.sprite, settings.blended,
        shading.context, shading.vertexProfile, shading.fragmentProfile);
    system->acceleration = settings.acceleration;
    return system;
}

bool spritesPresent() {
    for (const EruptionSettings* settings : {&kLava, &kAsh, &kStones}) {
        if (!std::ifstream(settings->sprite)) {
            return false;
        }
    }
    return true;
}

// The start-up look-at with the camera's view translation and rotations, and
// the scene's lift of the particle systems onto the crater.
void placeCamera(float transZ) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(40.0, 1.0, 1.0, 5000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(0.0, 10.0, 100.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
    glTranslatef(10.0f, -50.0f, transZ);
    glRotatef(30.0f, 1.0f, 0.0f, 0.0f);
    glRotatef(-10.0f, 0.0f, 1.0f, 0.0f);
    glTranslatef(0.0f, 20.0f, 0.0f);
}

struct Volcano {
    std::unique_ptr<ParticleSystem> lava = makeEruption(kLava);
    std::unique_ptr<ParticleSystem> ash = makeEruption(kAsh);
    std::unique_ptr<ParticleSystem> stones = makeEruption(kStones);

    // One frame the way the volcano scene draws its particles, over the sky colour.
    void frame(float time) {
        glClearColor(0.4f, 0.7f, 0.9f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_DEPTH_TEST);
        stones->draw(time);
        glDisable(GL_DEPTH_TEST);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        lava->draw(time);
        ash->draw(time);
        glDisable(GL_BLEND);
        glEnable(GL_DEPTH_TEST);
    }

    // Frames at 30 per second from `from` to `to` seconds of scene time.
    void erupt(float from, float to) {
        for (float time = from; time <= to; time += 1.0f / 30.0f) {
            frame(time);
        }
    }
};

int changedPixels(const std::vector<std::uint8_t>& pixels) {
    int changed = 0;
    for (int y = 0; y < 600; ++y) {
        for (int x = 0; x < 800; ++x) {
            const Rgb colour = pixelAt(pixels, x, y);
            changed += (colour.r != 102 || colour.g != 178 || colour.b != 229) ? 1 : 0;
        }
    }
    return changed;
}

TEST(ParticleScreenshot, TheEruptionSeenFromTheStartAndTheFarCamera) {
    if (!spritesPresent()) {
        GTEST_SKIP() << "the particle sprites in data/particle are not there";
    }
    Volcano volcano;
    placeCamera(-20.0f);
    // The first frame comes after start-up, half a second into the scene time.
    volcano.erupt(0.5f, 4.5f);
    const std::vector<std::uint8_t> start = readBackBuffer();
    savePng("particles-start-camera.png", start);
    EXPECT_GT(changedPixels(start), 2000);

    placeCamera(-500.0f);
    volcano.erupt(4.5f, 8.0f);
    const std::vector<std::uint8_t> far = readBackBuffer();
    savePng("particles-far-camera.png", far);
    EXPECT_GT(changedPixels(far), 500);
}

} // namespace
} // namespace korvath::test
