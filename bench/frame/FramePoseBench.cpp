// Frame time of both scenes at the fixed poses of the golden-image test, beside
// the empty clear-and-swap frame, in one run. Each frame is drawn as the frame
// driver draws it (clear, view, scene, swap) and finished before its clock
// stops. Per pass, the counters <pass>_ms (GL timer: the rasterizer's share) and
// <pass>_wall_ms (the pass finished alone, main-thread work included) come from
// extra frames after the timed ones, since finishing every pass slows a frame.
// Run from the build directory (cg/ and data/) under tools/with-xvfb.sh;
// bench/frame-passes.sh prints the per-pass table.
#include "GlPassTimer.h"
#include "testbed/FramePoses.h"

#include "app/Application.h"
#include "scenes/ShadowScene.h"
#include "scenes/VolcanoScene.h"

#include <GL/freeglut.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

using namespace korvath;
using namespace korvath::bench;
using namespace korvath::poses;

namespace {

// Medians over five repetitions: the machine's load swings single runs by 25%.
constexpr int repetitions = 5;
// Frames per repetition timed pass by pass; their median makes the counters.
constexpr int passTimedFrames = 15;

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

void timeFrames(benchmark::State& state, const std::function<void()>& frame) {
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        frame();
        glFinish();
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(elapsed.count());
    }
}

void setPassListener(PoseScene scene, PassListener* listener) {
    if (scene == PoseScene::volcano) {
        application.volcanoScene->passListener = listener;
    } else {
        application.shadowScene->passListener = listener;
    }
}

void emptyFrame(benchmark::State& state) {
    startProgramGraphics();
    timeFrames(state, drawEmptyFrame);
}

void poseFrame(benchmark::State& state, const FramePose& pose) {
    // Each repetition calls again: the pose is built once, on the first.
    static const FramePose* preparedFor = nullptr;
    static PreparedPose prepared{};
    if (preparedFor != &pose) {
        prepared = preparePose(pose);
        preparedFor = &pose;
    }
    const auto frame = [] {
        drawPoseFrame(prepared);
        glutSwapBuffers();
    };
    timeFrames(state, frame);

    GlPassTimer timer;
    setPassListener(pose.scene, &timer);
    for (int i = 0; i < passTimedFrames; ++i) {
        frame();
    }
    setPassListener(pose.scene, nullptr);
    for (const std::string& pass : timer.passNames()) {
        state.counters[pass + "_ms"] = median(timer.timesOf(pass).gpuMilliseconds);
        state.counters[pass + "_wall_ms"] = median(timer.timesOf(pass).wallMilliseconds);
    }
}

void configure(benchmark::internal::Benchmark* benchmark) {
    // CPU time summed over the process's threads (llvmpipe rasterizes on its
    // own): unlike the wall time it barely grows when other jobs share the
    // cores, so it still compares runs when the machine is busy.
    benchmark->UseManualTime()
        ->MeasureProcessCPUTime()
        ->Unit(benchmark::kMillisecond)
        ->Repetitions(repetitions)
        ->ReportAggregatesOnly(true);
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    configure(benchmark::RegisterBenchmark("BM_EmptyFrame", emptyFrame));
    // Registration order is run order: the volcano poses before key n.
    for (const FramePose& pose : framePoses()) {
        const std::string family =
            pose.scene == PoseScene::volcano ? "BM_VolcanoFrame/" : "BM_ShadowFrame/";
        configure(benchmark::RegisterBenchmark((family + pose.name).c_str(), poseFrame, pose));
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    releaseActiveScene();
    return 0;
}
