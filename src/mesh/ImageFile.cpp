// Bounded whole-file reads for images.
#include "mesh/ImageFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace korvath {

namespace {

class OpenFile {
public:
    // Non-blocking, so a FIFO at the path cannot hold the program waiting for
    // a writer; the type check below refuses it.
    explicit OpenFile(const std::string& path)
        : descriptor(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)) {}
    ~OpenFile() {
        if (descriptor >= 0) {
            close(descriptor);
        }
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;

    const int descriptor;
};

ImageFileRead failure(std::string problem) {
    return {{}, std::move(problem)};
}

} // namespace

ImageFileRead readImageFile(const std::string& path) {
    const OpenFile file(path);
    if (file.descriptor < 0) {
        return failure(std::strerror(errno));
    }
    // The size of the open file, so a rename between the check and the read
    // cannot swap in another one.
    struct stat status {};
    if (fstat(file.descriptor, &status) != 0) {
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
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = ::read(file.descriptor, read.bytes.data() + done, size - done);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return failure(got < 0 ? std::strerror(errno) : "file shrank while it was read");
        }
        done += static_cast<std::size_t>(got);
    }
    return read;
}

} // namespace korvath
