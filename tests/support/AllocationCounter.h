// Heap allocations counted by replacing the global allocation functions: link
// AllocationCounter.cpp into the test program that includes this.
#pragma once

namespace korvath::test {

// Calls of the global operator new (the array forms go through it), and
// releases of non-null blocks through the global operator delete.
long allocationCount();
long releaseCount();

} // namespace korvath::test
