// Frames the program's own frame driver draws after the warm-up keep nothing on
// the heap: live heap bytes at the start and the end of a fixed number of
// frames, each 1/30 s of scene time whatever the machine's speed, in the volcano
// scene and then the shadow scene. Where GL errors are reported, no frame
// raises one.
#include "app/Application.h"
#include "app/Clock.h"
#include "app/FrameClock.h"
#include "scenes/VolcanoScene.h"
#include "testbed/FramePoses.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>

#ifdef __SANITIZE_ADDRESS__
#include <cstddef>
// The sanitizer runtime's count of live heap bytes (GCC ships no header for it).
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

namespace korvath {
namespace {

// The volcano scene's heap grows for the first 15 s of scene time (its flight,
// its particles, the driver's caches for what comes into view); the shadow
// scene's is level from its first frame.
constexpr int volcanoWarmUpFrames = 450;
constexpr int shadowWarmUpFrames = 60;
// Blocks of 64 KB come and go between frames, so each end of the measured span
// is judged by the least live heap over its first and last 100 frames. A leak
// of 1 KB a frame keeps at least 300 KB between the two.
constexpr int measuredFrames = 400;
constexpr int endFrames = 100;
constexpr long allowedGrowthBytes = 128 * 1024;

long liveHeapBytes() {
#ifdef __SANITIZE_ADDRESS__
    return static_cast<long>(__sanitizer_get_current_allocated_bytes());
#else
    return static_cast<long>(mallinfo2().uordblks);
#endif
}

void drawFrames(int count) {
    for (int i = 0; i < count; ++i) {
        frameClock.lastClock = millisecondsSinceStart() - 33;
        display();
    }
}

long heapGrowthAfterWarmUp(int warmUpFrames) {
    drawFrames(warmUpFrames);
    long first = LONG_MAX, last = LONG_MAX;
    for (int frame = 0; frame < measuredFrames; ++frame) {
        drawFrames(1);
        if (frame < endFrames) {
            first = std::min(first, liveHeapBytes());
        } else if (frame >= measuredFrames - endFrames) {
            last = std::min(last, liveHeapBytes());
        }
    }
    return last - first;
}

TEST(FrameHeap, FramesAfterTheWarmUpKeepNoHeapAndRaiseNoGlError) {
    poses::startProgramGraphics();
    application.volcanoScene = new VolcanoScene(application.shaderContext);
    testing::internal::CaptureStderr();
    const long volcano = heapGrowthAfterWarmUp(volcanoWarmUpFrames);
    switchToShadowScene();
    const long shadow = heapGrowthAfterWarmUp(shadowWarmUpFrames);
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_LT(volcano, allowedGrowthBytes) << "volcano scene";
    EXPECT_LT(shadow, allowedGrowthBytes) << "shadow scene";
    const std::size_t firstError = errors.find("GL error");
    EXPECT_EQ(firstError, std::string::npos) << errors.substr(firstError, 200);
}

} // namespace
} // namespace korvath
