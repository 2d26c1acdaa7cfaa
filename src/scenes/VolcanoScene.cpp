// Builds the volcano scene from its fixed tables and draws its passes in order.
#include "scenes/VolcanoScene.h"

#include "image/TextureImage.h"
#include "mesh/Mesh3ds.h"
#include "ocean/Ocean.h"
#include "particles/CircleEmitter.h"
#include "particles/ParticleSystem.h"
#include "particles/PointSpriteRenderer.h"
#include "scenes/SceneTime.h"
#include "scenes/TextureNotice.h"
#include "scenes/VolcanoSettings.h"

#include <GL/glew.h>

namespace korvath {

namespace {

// The widest point sprite the eruption programs write, in pixels: the ash
// puffs' maxPointSize in cg/vp_volcanoAsh.cg; lava and stones clamp lower.
constexpr float widestEruptionPointSize = 96.0f;

ParticleSystem* createEruption(const EruptionSettings& settings, const ShaderContext& context) {
    auto* emitter =
        new CircleEmitter(settings.emitInterval, settings.spread, settings.origin,
                          settings.velocityScale, settings.lifetime, settings.randomLifetime);
    // Ends the program if the vertex program lacks one of its parameters.
    auto* renderer = new PointSpriteRenderer(settings.vertexProgram, settings.fragmentProgram,
                                             settings.sprite, settings.blended, context.context,
                                             context.vertexProfile, context.fragmentProfile);
    auto* system = new ParticleSystem(settings.particleCount, emitter, renderer);
    system->acceleration = settings.acceleration;
    return system;
}

} // namespace

VolcanoScene::VolcanoScene(const ShaderContext& context)
    : shaderContext(context), pointGuardBand(widestEruptionPointSize) {
    ocean = new Ocean(800.0f, 800.0f, shaderContext);
    for (const WaveSettings& wave : volcanoWaves) {
        ocean->addWave(wave.direction.x, wave.direction.y, wave.direction.z, wave.wavelength,
                       wave.amplitude, wave.phase);
    }
    lava = createEruption(lavaEruption, shaderContext);
    ash = createEruption(ashEruption, shaderContext);
    stones = createEruption(stoneEruption, shaderContext);

    terrain = new Mesh3ds;
    terrain->load("data/model/korvath.3ds");
    terrain->textureId = loadTextureImage("data/model/korvath.jpg");
    if (!isTextureLoaded(terrain->textureId)) {
        printTextureNotFound();
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
    const float t = sceneTime;
    glPushMatrix();
    announcePass(passListener, "ocean");
    ocean->draw(t, viewLightPosition);
    announcePass(passListener, "terrain");
    terrain->draw();

    // The emitters sit 20 units below where the eruption leaves the crater.
    glPushMatrix();
    glTranslatef(0.0f, 20.0f, 0.0f);
    pointGuardBand.begin();
    announcePass(passListener, "stones");
    stones->draw(t);

    // Lava and ash glow over everything: no depth test, alpha blended.
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    announcePass(passListener, "lava");
    lava->draw(t);
    announcePass(passListener, "ash");
    ash->draw(t);
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    pointGuardBand.end();
    announcePass(passListener, nullptr);

    glPopMatrix();
    glPopMatrix();
}

} // namespace korvath
