// Deterministic value noise: a fixed integer hash on the lattice, smooth
// interpolation between, and fractal sums of octaves. No random generator and
// no state, so every run of the generator paints the same bytes.
#pragma once

namespace korvath::generator {

// A fixed pseudo-random value in -1..1 for one lattice point: the same
// arguments always give the same value.
double latticeValue(long x, long y, long z, unsigned seed);

// Smooth noise in -1..1 with features about one unit apart; seed picks an
// independent pattern.
double valueNoise(double x, double y, double z, unsigned seed);

// Sum of octaves, each twice the frequency and half the amplitude of the one
// before, divided by the amplitude sum so the result stays in -1..1.
double fractalNoise(double x, double y, double z, int octaves, unsigned seed);

// 1 - |noise| per octave: sharp crests, as on weathered rock ridges; 0..1.
double ridgedNoise(double x, double y, double z, int octaves, unsigned seed);

} // namespace korvath::generator
