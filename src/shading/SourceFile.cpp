// The size comes from the file system when it knows it; a file that grows or
// has no size (a pipe) is stopped one byte past the limit while it is read.
#include "shading/SourceFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace korvath::shading {

namespace {

std::string tooLarge(const std::string& size) {
    return "source is " + size + " bytes, the limit is " + std::to_string(kSourceSizeLimit);
}

} // namespace

bool readSourceFile(const std::string& path, std::string* text, std::string* problem) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        *problem = std::string("cannot read the file: ") + std::strerror(errno);
        return false;
    }
    std::error_code noSize;
    const std::uintmax_t size = std::filesystem::file_size(path, noSize);
    if (!noSize && size > kSourceSizeLimit) {
        *problem = tooLarge(std::to_string(size));
        return false;
    }
    text->clear();
    char chunk[16384];
    while (text->size() <= kSourceSizeLimit) {
        const size_t wanted = std::min(sizeof chunk, kSourceSizeLimit + 1 - text->size());
        file.read(chunk, static_cast<std::streamsize>(wanted));
        text->append(chunk, static_cast<size_t>(file.gcount()));
        if (!file) {
            break;
        }
    }
    if (file.bad()) {
        *problem = "cannot read the file: read failed";
        return false;
    }
    if (text->size() > kSourceSizeLimit) {
        *problem = tooLarge("more than " + std::to_string(kSourceSizeLimit));
        return false;
    }
    return true;
}

} // namespace korvath::shading
