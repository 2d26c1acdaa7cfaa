// Program sources through the bounded file read, with the runtime's wording.
#include "shading/runtime/BoundedSourceRead.h"

#include "files/BoundedFile.h"

namespace korvath::shading {

bool readSourceFile(const std::string& path, std::string* text, std::string* problem) {
    const BoundedFileRead read = readBoundedFile(path, kSourceSizeLimit);
    if (read.size > kSourceSizeLimit) {
        *problem = "source is " + std::to_string(read.size) + " bytes, the limit is " +
                   std::to_string(kSourceSizeLimit);
        return false;
    }
    if (!read.problem.empty()) {
        *problem = "cannot read the file: " + read.problem;
        return false;
    }
    text->assign(read.bytes.begin(), read.bytes.end());
    return true;
}

} // namespace korvath::shading
