// One line on standard error per problem, tagged with the subsystem and naming
// the file it concerns: "texture: data/particle/ash.bmp: header declares 65536x65536".
// Standard output stays reserved for the program's designed messages.
#pragma once

#include <string>

namespace korvath {

void reportProblem(const char* subsystem, const std::string& path, const std::string& reason);

} // namespace korvath
