// Debug builds report every pending OpenGL error on standard error, naming the
// pass that raised it; release builds compile the check away.
#pragma once

namespace korvath {

#ifdef NDEBUG
inline void reportGlErrors(const char*) {}
#else
void reportGlErrors(const char* where);
#endif

} // namespace korvath
