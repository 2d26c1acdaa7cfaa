// The fixed poses at which the frame benchmark times both scenes and the golden-
// image test compares them with reference images: the camera and the scene time
// held still, reached the way the running program reaches them. One table and
// one set-up for both, so the benchmark times exactly what the test checks.
#pragma once

#include "math/Matrix4.h"

#include <string>
#include <vector>

namespace korvath::poses {

enum class PoseScene { volcano, shadow };

struct FramePose {
    std::string name; // e.g. "flight_5.5s": benchmark argument and image file name
    PoseScene scene;
    float sceneTime;  // seconds of scene time the frame is drawn at
    float flightTime; // volcano: seconds the scripted flight ran before it froze
    bool switchView;  // shadow: the view key n leaves, otherwise the plain look-at
};

// Every volcano pose comes before every shadow pose: the shadow scene replaces
// the volcano scene for good, as key n does in the program.
const std::vector<FramePose>& framePoses();

// The program's own start-up (window, fixed GL state, image library, shading
// context, GLEW), once per process.
void startProgramGraphics();

// A pose ready to draw: its scene is the active one, the scene time is set.
struct PreparedPose {
    PoseScene scene;
    Matrix4 view; // the frame driver's view matrix at the pose
};

// Builds the pose's scene state and sets the scene time. Volcano: a fresh scene
// whose eruption is replayed from scene time 0 in 1/60 s frames (which particles
// fly depends on every earlier frame), and the flight's camera after its 1/60 s
// steps. Shadow: key n on first use. Two frames are drawn at the pose, so the
// particles that expire there are re-seeded before anything is timed or read. A
// volcano pose after the switch ends the process.
PreparedPose preparePose(const FramePose& pose);

// One frame as the frame driver draws it, without the buffer swap: clear, the
// pose's view, the active scene. The caller swaps or reads the back buffer.
void drawPoseFrame(const PreparedPose& pose);

// The clear-and-swap frame every frame starts and ends with, swap included.
void drawEmptyFrame();

} // namespace korvath::poses
