// Times the passes a scene announces (PassListener): for each pass, the GL timer
// query's figure and the wall time including the main thread's vertex work and
// binning. The frame is finished at every pass boundary, so each pass is
// rasterized on its own: llvmpipe's timer spans a whole batch of queued work,
// which would otherwise overlap the passes. Even so its figure covers only part
// of the rasterizer's work there (0.02 ms for an ocean pass of 3 ms wall time,
// 0 for most particle passes): on llvmpipe the wall time is the one to read.
#pragma once

#include "scenes/PassListener.h"

#include <GL/glew.h>

#include <chrono>
#include <map>
#include <string>
#include <vector>

namespace korvath::bench {

struct PassTimes {
    std::vector<double> gpuMilliseconds;  // GL_TIME_ELAPSED per frame
    std::vector<double> wallMilliseconds; // steady clock per frame, glFinish at both ends
};

class GlPassTimer : public PassListener {
public:
    GlPassTimer();
    ~GlPassTimer() override;
    GlPassTimer(const GlPassTimer&) = delete;
    GlPassTimer& operator=(const GlPassTimer&) = delete;

    void passStarts(const char* passName) override;

    // Per pass name, the times of every frame timed so far; passes in order of
    // first appearance.
    const std::vector<std::string>& passNames() const { return names; }
    const PassTimes& timesOf(const std::string& passName) const { return times.at(passName); }

private:
    void endCurrentPass();

    GLuint query = 0;
    std::string current;
    std::chrono::steady_clock::time_point wallStart;
    std::vector<std::string> names;
    std::map<std::string, PassTimes> times;
};

} // namespace korvath::bench
