// Sine and cosine of many single-precision angles in one call, written so that
// the compiler vectorises them (the C library's scalar sinf/cosf would not).
#pragma once

namespace korvath {

// sines[i] = sin(angles[i]) and cosines[i] = cos(angles[i]) for i < count,
// each within one unit in the last place of the exact value, for any angle
// (very large or non-finite ones go to the C library). The arrays must not overlap.
void sinCos(const float* angles, int count, float* sines, float* cosines);

} // namespace korvath
