// Wall time from the steady clock; the C library's clock() measures processor
// time on Linux, which would stall the animation whenever the process waits.
#include "app/Clock.h"

#include <chrono>

namespace korvath {

namespace {
const auto processStart = std::chrono::steady_clock::now();
} // namespace

int millisecondsSinceStart() {
    const auto elapsed = std::chrono::steady_clock::now() - processStart;
    return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

} // namespace korvath
