// A monotonic wall clock in whole milliseconds since the process started.
#pragma once

namespace korvath {

int millisecondsSinceStart();

} // namespace korvath
