// Shading-program sources written by the tests into a private temporary folder,
// and an error callback that records what the runtime reported.
#pragma once

#include "shading/ShadingRuntime.h"

#include <string>

namespace korvath::test {

// Writes `source` into a fresh file of the test folder and returns its path.
std::string writeShaderFile(const std::string& name, const std::string& source);

// What the error callback saw on its last call: cgGetError's code (which the
// callback takes and so clears) and the context's listing at that moment.
struct ReportedError {
    int calls = 0;
    CGerror error = CG_NO_ERROR;
    std::string listing;
};

// Installs a callback that fills the record for `context` (the callback keeps
// the error, so cgGetError reads CG_NO_ERROR afterwards).
void recordErrors(CGcontext context, ReportedError* record);

} // namespace korvath::test
