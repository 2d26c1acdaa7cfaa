// The scene time every animated object reads: seconds accumulated over all
// frames, never reset. One value for the whole process; the application's frame
// clock advances it once a frame, and the scenes only read it.
#pragma once

namespace korvath {

inline float sceneTime = 0.0f;

} // namespace korvath
