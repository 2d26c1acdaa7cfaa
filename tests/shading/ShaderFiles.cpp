// Temporary shader files and the recording error callback for the runtime tests.
#include "ShaderFiles.h"

#include <cstdlib>
#include <fstream>

namespace korvath::test {

namespace {

std::string testFolder() {
    static const std::string folder = [] {
        char pattern[] = "/tmp/korvath-shading-XXXXXX";
        const char* made = mkdtemp(pattern);
        return std::string(made != nullptr ? made : "/tmp");
    }();
    return folder;
}

CGcontext recordedContext = nullptr;
ReportedError* record = nullptr;

void recordError() {
    ++record->calls;
    record->error = cgGetError();
    record->listing = cgGetLastListing(recordedContext);
}

} // namespace

std::string writeShaderFile(const std::string& name, const std::string& source) {
    const std::string path = testFolder() + "/" + name;
    std::ofstream(path) << source;
    return path;
}

void recordErrors(CGcontext context, ReportedError* into) {
    recordedContext = context;
    record = into;
    cgSetErrorCallback(recordError);
}

} // namespace korvath::test
