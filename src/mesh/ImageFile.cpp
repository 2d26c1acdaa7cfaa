// Bounded whole-file reads for images.
#include "mesh/ImageFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace korvath {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

ImageFileRead failure(std::string problem) {
    return {{}, std::move(problem)};
}

} // namespace

ImageFileRead readImageFile(const std::string& path) {
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        return failure(std::strerror(errno));
    }
    // The size of the open file, so a rename between the check and the read
    // cannot swap in another one.
    struct stat status {};
    if (fstat(fileno(file.get()), &status) != 0) {
        return failure(std::strerror(errno));
    }
    if (!S_ISREG(status.st_mode)) {
        return failure("not a regular file");
    }
    const auto size = static_cast<std::uint64_t>(status.st_size);
    if (size > maxImageFileBytes) {
        return failure("file is " + std::to_string(size) + " bytes, more than the limit of " +
                       std::to_string(maxImageFileBytes));
    }
    ImageFileRead read;
    read.bytes.resize(size);
    if (std::fread(read.bytes.data(), 1, size, file.get()) != size) {
        return failure("file shrank while it was read");
    }
    return read;
}

} // namespace korvath
