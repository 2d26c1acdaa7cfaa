// Problem lines on standard error.
#include "diagnostics/Report.h"

#include <cstdio>

namespace korvath {

void reportProblem(const char* subsystem, const std::string& path, const std::string& reason) {
    std::fprintf(stderr, "%s: %s: %s\n", subsystem, path.c_str(), reason.c_str());
}

} // namespace korvath
