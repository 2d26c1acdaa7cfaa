// The CPU variants the ocean's hot loops are compiled for, chosen at load time.
#pragma once

#if defined(__x86_64__)
// AVX-512 and AVX2 with fused multiply-adds (x86-64 levels v4 and v3) besides
// the baseline: GCC vectorises the loops for each, and a program built for the
// baseline still runs its widest variant where the CPU has one.
#define KORVATH_VECTOR_CLONES                                                                      \
    __attribute__((target_clones("arch=x86-64-v4", "arch=x86-64-v3", "default")))
#else
// Other architectures get the one plain build, vectorised for their baseline.
#define KORVATH_VECTOR_CLONES
#endif
