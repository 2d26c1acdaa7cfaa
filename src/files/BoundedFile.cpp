// Bounded whole-file reads through the file descriptor the checks were made on.
#include "files/BoundedFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace korvath {

namespace {

class OpenFile {
public:
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

} // namespace

BoundedFileRead readBoundedFile(const std::string& path, std::uint64_t limit) {
    BoundedFileRead read;
    const OpenFile file(path);
    if (file.descriptor < 0) {
        read.problem = std::strerror(errno);
        return read;
    }
    // The size of the open file, so a rename between the check and the read
    // cannot swap in another one.
    struct stat status {};
    if (fstat(file.descriptor, &status) != 0) {
        read.problem = std::strerror(errno);
        return read;
    }
    if (!S_ISREG(status.st_mode)) {
        read.problem = "not a regular file";
        return read;
    }
    read.size = static_cast<std::uint64_t>(status.st_size);
    if (read.size > limit) {
        read.problem = "file is " + std::to_string(read.size) + " bytes, more than the limit of " +
                       std::to_string(limit);
        return read;
    }
    read.bytes.resize(read.size);
    std::size_t done = 0;
    while (done < read.size) {
        const ssize_t got = ::read(file.descriptor, read.bytes.data() + done, read.size - done);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            read.problem = got < 0 ? std::strerror(errno) : "file shrank while it was read";
            read.bytes.clear();
            return read;
        }
        done += static_cast<std::size_t>(got);
    }
    return read;
}

} // namespace korvath
