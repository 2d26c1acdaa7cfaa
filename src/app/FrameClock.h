// Process-wide frame timing: the wall-clock reading of the previous frame, from
// which each frame advances the scene time (scenes/SceneTime.h).
#pragma once

namespace korvath {

struct FrameClock {
    int lastClock = 0; // milliseconds since process start at the previous frame
};

extern FrameClock frameClock;

} // namespace korvath
