// A renderer that records the calls a particle system makes instead of drawing.
#pragma once

#include "CallLog.h"
#include "particles/ParticleRenderer.h"

namespace korvath::test {

class RecordingRenderer : public ParticleRenderer {
public:
    explicit RecordingRenderer(CallLog* callLog) : log(callLog) {}
    ~RecordingRenderer() override;

    void beginBatch(float time, const Vector3& acceleration) override;
    void drawParticle(const Particle& particle) override;
    void endBatch() override;

private:
    CallLog* log;
};

} // namespace korvath::test
