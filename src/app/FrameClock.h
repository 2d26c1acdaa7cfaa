// Process-wide time keeping: the scene time every animated object reads.
#pragma once

namespace korvath {

struct FrameClock {
    int lastClock = 0;      // milliseconds since process start at the previous frame
    float sceneTime = 0.0f; // seconds accumulated over all frames; never reset
};

extern FrameClock frameClock;

} // namespace korvath
