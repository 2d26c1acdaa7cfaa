// The fixed-pose table and the set-up that reaches each pose as the program does.
#include "testbed/FramePoses.h"

#include "app/Application.h"
#include "app/CameraState.h"
#include "particles/ParticleSystem.h"
#include "particles/RandomSource.h"
#include "scenes/SceneTime.h"
#include "scenes/VolcanoScene.h"

#include <GL/freeglut.h>
#include <GL/glew.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace korvath::poses {

namespace {

// The program runs at 50 to 100 frames a second; 60 is the step the flight's
// camera and the eruption's history are replayed in.
constexpr float replayStep = 1.0f / 60.0f;

// The shadow scene at a scene time the volcano scene could have run for; the
// aircraft then flies over the part of the landscape both views show.
constexpr float shadowSceneTime = 14.0f;

Matrix4 poseView(const FramePose& pose) {
    CameraState camera;
    if (pose.scene == PoseScene::shadow) {
        if (!pose.switchView) {
            return Matrix4(); // no mouse view: the scene's own look-at alone
        }
        resetForShadowScene(camera);
        return composeViewMatrix(camera);
    }
    const int steps = static_cast<int>(std::lround(pose.flightTime / replayStep));
    for (int i = 0; i < steps; ++i) {
        advanceFlight(camera, replayStep);
    }
    return composeViewMatrix(camera);
}

// The particle systems drawn frame by frame up to the pose's time, in the
// scene's order, with every fragment scissored away: only their re-seeding,
// which decides what the pose shows, is wanted.
void replayEruption(VolcanoScene& scene, float untilTime) {
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, 0, 0);
    for (int frame = 1; frame * replayStep < untilTime; ++frame) {
        const float t = frame * replayStep;
        scene.stones->draw(t);
        scene.lava->draw(t);
        scene.ash->draw(t);
    }
    glDisable(GL_SCISSOR_TEST);
    glEnable(GL_DEPTH_TEST);
}

void prepareVolcano(const FramePose& pose) {
    if (application.shadowSceneActive) {
        std::fprintf(stderr, "poses: %s: the volcano scene is gone after key n\n",
                     pose.name.c_str());
        std::exit(1);
    }
    delete application.volcanoScene;
    // The emitters draw from one process-wide sequence: restart it as at start-up.
    sharedRandomSource() = RandomSource();
    application.volcanoScene = new VolcanoScene(application.shaderContext);
    replayEruption(*application.volcanoScene, pose.sceneTime);
}

} // namespace

const std::vector<FramePose>& framePoses() {
    static const std::vector<FramePose> table = [] {
        std::vector<FramePose> poses;
        // Level with the sea, then tilting down, circling and climbing away: the
        // flight's start, its three phases and the circle after the zoom ends.
        for (const float time : {2.5f, 4.0f, 5.5f, 7.0f, 9.0f, 12.0f}) {
            char name[32];
            std::snprintf(name, sizeof name, "flight_%gs", time);
            poses.push_back({name, PoseScene::volcano, time, time, false});
        }
        // Space at 5.5 s: the camera holds still while the eruption goes on.
        poses.push_back({"stopped_5.5s_at_10s", PoseScene::volcano, 10.0f, 5.5f, false});
        poses.push_back({"switch_view", PoseScene::shadow, shadowSceneTime, 0.0f, true});
        poses.push_back({"look_at", PoseScene::shadow, shadowSceneTime, 0.0f, false});
        return poses;
    }();
    return table;
}

void startProgramGraphics() {
    static bool started = false;
    if (started) {
        return;
    }
    static char name[] = "korvath-poses";
    static char* argv[] = {name, nullptr};
    initGraphics(1, argv);
    initExtensions();
    started = true;
}

PreparedPose preparePose(const FramePose& pose) {
    startProgramGraphics();
    if (pose.scene == PoseScene::volcano) {
        prepareVolcano(pose);
    } else {
        switchToShadowScene();
    }
    sceneTime = pose.sceneTime;
    const PreparedPose prepared{pose.scene, poseView(pose)};
    drawPoseFrame(prepared);
    drawPoseFrame(prepared);
    return prepared;
}

void drawPoseFrame(const PreparedPose& pose) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glPushMatrix();
    drawActiveScene(pose.view);
    glPopMatrix();
}

void drawEmptyFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glutSwapBuffers();
}

} // namespace korvath::poses
