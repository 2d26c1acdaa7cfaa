// The real ParticleSystem::draw of 10,000 living particles on Mesa's software
// renderer, each frame finished with glFinish so the point processing counts.
// Beside it: the same programs and state without particles (the fixed cost of a
// draw), and the per-particle values issued with glVertexAttrib directly instead
// of through the shading runtime. Run under tools/with-xvfb.sh from the
// build directory, which holds cg/ and data/.
#include "particles/CircleEmitter.h"
#include "particles/ParticleSystem.h"
#include "particles/PointSpriteRenderer.h"
#include "scenes/VolcanoSettings.h"
#include "testbed/ParticleGlSupport.h"

#include <GL/glew.h>
#include <GL/glu.h>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kParticles = 10000;

// Start times within the first second, lifetimes of 1000 s: at time 2 every
// particle is alive, spread over the ash emitter's square.
korvath::CircleEmitter* longLivedEmitter() {
    return new korvath::CircleEmitter(1.0f / kParticles, korvath::ashEruption.spread,
                                      korvath::ashEruption.origin,
                                      korvath::ashEruption.velocityScale, 1000.0f, false);
}

korvath::PointSpriteRenderer* lavaRenderer() {
    return korvath::test::lavaRenderer("cg/vp_volcanoLava.cg");
}

// The point-sprite renderer's state and programs, with the per-particle values
// set by glVertexAttrib on the locations the driver gave them.
class DirectAttributeRenderer : public korvath::ParticleRenderer {
public:
    DirectAttributeRenderer() : shaded(lavaRenderer()) {}

    void beginBatch(float time, const korvath::Vector3& acceleration) override {
        shaded->beginBatch(time, acceleration);
        if (initTimeLocation < 0) {
            // The locations can only be asked for outside a batch, with the
            // linked pair current: close the batch just opened and reopen it.
            glEnd();
            GLint pair = 0;
            glGetIntegerv(GL_CURRENT_PROGRAM, &pair);
            initTimeLocation = glGetAttribLocation(static_cast<GLuint>(pair), "initTime");
            initVelocityLocation = glGetAttribLocation(static_cast<GLuint>(pair), "initVelocity");
            glBegin(GL_POINTS);
        }
    }

    void drawParticle(const korvath::Particle& particle) override {
        glVertexAttrib2f(static_cast<GLuint>(initTimeLocation), particle.initTime,
                         particle.lifetime);
        glVertexAttrib3f(static_cast<GLuint>(initVelocityLocation), particle.initVelocity.x,
                         particle.initVelocity.y, particle.initVelocity.z);
        glVertex3f(particle.initPosition.x, particle.initPosition.y, particle.initPosition.z);
    }

    void endBatch() override { shaded->endBatch(); }

private:
    std::unique_ptr<korvath::PointSpriteRenderer> shaded;
    GLint initTimeLocation = -1;
    GLint initVelocityLocation = -1;
};

// The far end of the camera flight: the whole plume on screen, points a few
// pixels across.
void placeFarCamera() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(40.0, 1.0, 1.0, 5000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(0.0, 10.0, 100.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
    glTranslatef(10.0f, -50.0f, -500.0f);
    glRotatef(30.0f, 1.0f, 0.0f, 0.0f);
    glRotatef(-10.0f, 0.0f, 1.0f, 0.0f);
    glTranslatef(0.0f, 20.0f, 0.0f);
}

void measureFrames(benchmark::State& state, korvath::ParticleSystem& system) {
    placeFarCamera();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_DEPTH_TEST);
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        system.draw(2.0f);
        glFinish();
    }
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
}

void clearOnly(benchmark::State& state) {
    korvath::test::particleShaderContext();
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glFinish();
    }
}
BENCHMARK(clearOnly)->Unit(benchmark::kMicrosecond);

void drawWithoutParticles(benchmark::State& state) {
    korvath::ParticleSystem system(0, longLivedEmitter(), lavaRenderer());
    measureFrames(state, system);
}
BENCHMARK(drawWithoutParticles)->Unit(benchmark::kMicrosecond);

void drawThroughTheRuntime(benchmark::State& state) {
    korvath::ParticleSystem system(kParticles, longLivedEmitter(), lavaRenderer());
    measureFrames(state, system);
    state.SetItemsProcessed(state.iterations() * kParticles);
}
BENCHMARK(drawThroughTheRuntime)->Unit(benchmark::kMicrosecond);

void drawWithDirectAttributes(benchmark::State& state) {
    korvath::ParticleSystem system(kParticles, longLivedEmitter(), new DirectAttributeRenderer());
    measureFrames(state, system);
    state.SetItemsProcessed(state.iterations() * kParticles);
}
BENCHMARK(drawWithDirectAttributes)->Unit(benchmark::kMicrosecond);

} // namespace
