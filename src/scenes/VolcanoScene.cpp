// Builds the volcano scene from its fixed tables and draws its passes in order.
#include "scenes/VolcanoScene.h"

#include "app/FrameClock.h"
#include "mesh/Mesh3ds.h"
#include "mesh/TextureImage.h"
#include "ocean/Ocean.h"
#include "particles/CircleEmitter.h"
#include "particles/ParticleSystem.h"

#include <GL/glew.h>

#include <cstdio>

namespace korvath {

namespace {

struct WaveSettings {
    Vector3 direction;
    float wavelength;
    float amplitude;
    float phase;
};

// A long swell, a short chop across it and a middle wave: together they break
// up the regular pattern any single wave would show.
const WaveSettings waveTable[] = {
    {{1.0f, 0.0f, 0.6f}, 30.0f, 1.8f, 0.0f},
    {{1.0f, 0.0f, -0.4f}, 8.0f, 0.8f, 0.5f},
    {{0.5f, 0.0f, 0.9f}, 13.0f, 1.2f, 1.0f},
};

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

// One row per system, as in a table.
// clang-format off
const EruptionSettings lavaSettings = {
    100, "cg/vp_volcanoLava.cg", "cg/fp_volcanoLava.cg", "data/particle/lava.bmp", false,
    0.01f, 2, {-7.0f, 40.0f, 0.0f}, {14.0f, 15.5f, 14.0f}, 2.0f, true, {0.0f, -1.0f, 0.0f}};
const EruptionSettings ashSettings = {
    400, "cg/vp_volcanoAsh.cg", "cg/fp_volcanoAsh.cg", "data/particle/ash.bmp", true,
    0.0125f, 9, {-7.0f, 70.0f, 0.0f}, {7.5f, 18.5f, 5.5f}, 12.0f, true, {0.0f, -1.0f, 2.0f}};
const EruptionSettings stoneSettings = {
    30, "cg/vp_volcanoStone.cg", "cg/fp_volcanoStone.cg", "data/particle/stone.bmp", false,
    0.5f, 2, {-7.0f, 48.0f, 0.0f}, {27.3f, 58.5f, 34.5f}, 4.0f, false, {0.0f, -28.0f, 0.5f}};
// clang-format on

ParticleSystem* createEruption(const EruptionSettings& settings, const ShaderContext& context) {
    auto* emitter =
        new CircleEmitter(settings.emitInterval, settings.spread, settings.origin,
                          settings.velocityScale, settings.lifetime, settings.randomLifetime);
    auto* system =
        new ParticleSystem(settings.particleCount, emitter, settings.vertexProgram,
                           settings.fragmentProgram, settings.sprite, settings.blended,
                           context.context, context.vertexProfile, context.fragmentProfile);
    system->acceleration = settings.acceleration;
    return system;
}

} // namespace

VolcanoScene::VolcanoScene(const ShaderContext& context) : shaderContext(context) {
    ocean = new Ocean(800.0f, 800.0f, shaderContext);
    for (const WaveSettings& wave : waveTable) {
        ocean->addWave(wave.direction.x, wave.direction.y, wave.direction.z, wave.wavelength,
                       wave.amplitude, wave.phase);
    }
    lava = createEruption(lavaSettings, shaderContext);
    ash = createEruption(ashSettings, shaderContext);
    stones = createEruption(stoneSettings, shaderContext);

    terrain = new Mesh3ds;
    terrain->load("data/model/korvath.3ds");
    terrain->textureId = loadTextureImage("data/model/korvath.jpg");
    if (!isTextureLoaded(terrain->textureId)) {
        std::printf("texture not found");
    }
}

VolcanoScene::~VolcanoScene() {
    delete ocean;
    delete lava;
    delete ash;
    delete stones;
    delete terrain;
}

void VolcanoScene::draw() {
    const float t = frameClock.sceneTime;
    glPushMatrix();
    ocean->draw(t, viewLightPosition);
    terrain->draw();

    // The emitters sit 20 units below where the eruption leaves the crater.
    glPushMatrix();
    glTranslatef(0.0f, 20.0f, 0.0f);
    stones->draw(t);

    // Lava and ash glow over everything: no depth test, alpha blended.
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    lava->draw(t);
    ash->draw(t);
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);

    glPopMatrix();
    glPopMatrix();
}

} // namespace korvath
