// Which linked program is current, as the enabled profiles and bound programs
// decide, and the uniform values that reach it.
#pragma once

#include "shading/runtime/HandleRecords.h"

namespace korvath::shading {

// Unbinds a program about to be destroyed and releases the pairs it is linked into.
void forgetProgram(const ShadingProgramRecord* program);

// Uploads a uniform's stored value now if its program is part of the current
// linked program; otherwise it is uploaded when that program is next current.
void uploadIfCurrent(ShadingParameterRecord& parameter);

} // namespace korvath::shading
