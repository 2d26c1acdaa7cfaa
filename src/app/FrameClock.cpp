// The one frame clock.
#include "app/FrameClock.h"

namespace korvath {

FrameClock frameClock;

} // namespace korvath
