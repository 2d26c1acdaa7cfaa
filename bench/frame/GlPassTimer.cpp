// One timer query reused pass after pass: each result is read before the next
// pass starts, since the frame is finished at every boundary anyway.
#include "GlPassTimer.h"

namespace korvath::bench {

GlPassTimer::GlPassTimer() {
    glGenQueries(1, &query);
}

GlPassTimer::~GlPassTimer() {
    glDeleteQueries(1, &query);
}

void GlPassTimer::passStarts(const char* passName) {
    endCurrentPass();
    if (passName == nullptr) {
        return;
    }
    current = passName;
    if (times.find(current) == times.end()) {
        names.push_back(current);
    }
    glFinish();
    wallStart = std::chrono::steady_clock::now();
    glBeginQuery(GL_TIME_ELAPSED, query);
}

void GlPassTimer::endCurrentPass() {
    if (current.empty()) {
        return;
    }
    glEndQuery(GL_TIME_ELAPSED);
    glFinish();
    const std::chrono::duration<double, std::milli> wall =
        std::chrono::steady_clock::now() - wallStart;
    GLuint64 nanoseconds = 0;
    glGetQueryObjectui64v(query, GL_QUERY_RESULT, &nanoseconds);
    PassTimes& pass = times[current];
    pass.gpuMilliseconds.push_back(nanoseconds / 1e6);
    pass.wallMilliseconds.push_back(wall.count());
    current.clear();
}

} // namespace korvath::bench
