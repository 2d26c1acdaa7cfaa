// libFuzzer target: any bytes as a shading-program source through the
// declaration scan and its preprocessor, the one parser of program text that is
// ours (the driver compiles the rest). AddressSanitizer catches a read outside
// the text; the checks below catch names that could not have come from it.
#include "shading/source/SourceDeclarations.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view source(reinterpret_cast<const char*>(data), size);
    for (const korvath::SourceDeclaration& declaration : korvath::findDeclarations(
             source, korvath::ShaderStage::Vertex, korvath::DriverDefinitions{})) {
        // A name is one identifier; macros only ever expand to text of the source.
        if (declaration.name.empty() || declaration.name.size() > size) {
            std::abort();
        }
    }
    return 0;
}
