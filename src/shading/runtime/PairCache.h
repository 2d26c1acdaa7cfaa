// Vertex and fragment programs linked together, once per pair, the first time
// both are bound; kept until either program is destroyed.
#pragma once

#include "shading/runtime/HandleRecords.h"

#include <vector>

namespace korvath::shading {

// The pair's linked program, linked now if this is the pair's first bind. A
// pair that cannot link (the driver refuses it, or a uniform both programs
// declare has two types) is reported once and kept with id 0.
LinkedProgram& linkedPair(ShadingProgramRecord& vertex, ShadingProgramRecord& fragment);

// Deletes the pairs the program is linked into.
void releasePairs(const ShadingProgramRecord* program);

// The program's slots in a linked program; null when it is not linked into it.
std::vector<ParameterSlot>* slotsOf(LinkedProgram& linked, const ShadingProgramRecord* program);

} // namespace korvath::shading
