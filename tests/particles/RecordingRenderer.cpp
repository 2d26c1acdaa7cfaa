// Each call of the renderer interface appended to the log.
#include "RecordingRenderer.h"

namespace korvath::test {

RecordingRenderer::~RecordingRenderer() {
    log->calls.push_back({CallKind::RendererReleased, 0.0f, {}, {}});
}

void RecordingRenderer::beginBatch(float time, const Vector3& acceleration) {
    log->calls.push_back({CallKind::Begin, time, acceleration, {}});
}

void RecordingRenderer::drawParticle(const Particle& particle) {
    log->calls.push_back({CallKind::Draw, 0.0f, {}, particle});
}

void RecordingRenderer::endBatch() {
    log->calls.push_back({CallKind::End, 0.0f, {}, {}});
}

} // namespace korvath::test
