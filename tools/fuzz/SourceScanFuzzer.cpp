// libFuzzer target: any bytes as a shading-program source through the
// declaration scan and its preprocessor, the one parser of program text that is
// ours (the driver compiles the rest). The first byte picks the stage and
// whether the driver advertises two extensions; the rest is the source.
// AddressSanitizer catches a read outside the text; the checks below catch
// names that could not have come from it.
#include "shading/source/SourceDeclarations.h"

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

// A name is one identifier, and pasting never makes one longer than 1024.
bool isPlausibleName(const std::string& name) {
    if (name.empty() || name.size() > 1024 || std::isdigit(static_cast<unsigned char>(name[0]))) {
        return false;
    }
    for (char c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') {
            return false;
        }
    }
    return name.compare(0, 3, "gl_") != 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const korvath::ShaderStage stage =
        (data[0] & 1) != 0 ? korvath::ShaderStage::Fragment : korvath::ShaderStage::Vertex;
    korvath::DriverDefinitions driver;
    if ((data[0] & 2) != 0) {
        driver.extensions = {"GL_ARB_gpu_shader5", "GL_EXT_gpu_shader4"};
    }
    const std::string_view source(reinterpret_cast<const char*>(data + 1), size - 1);
    for (const korvath::SourceDeclaration& declaration :
         korvath::findDeclarations(source, stage, driver)) {
        if (!isPlausibleName(declaration.name)) {
            std::abort();
        }
    }
    return 0;
}
