// Ends the program when a shading program lacks one of the parameters its owner needs.
#pragma once

#include "shading/ShadingRuntime.h"

#include <initializer_list>

namespace korvath {

// Prints "Unable to retrieve program parameters, exiting..." and exits with
// status 1 if any of the handles is null.
void requireParameters(std::initializer_list<CGparameter> parameters);

} // namespace korvath
