// Whole-file reads with a size limit, for the files the program takes from disk.
// Only a regular file is read; it is opened without blocking, so a FIFO at the
// path cannot hold the program waiting for a writer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace korvath {

struct BoundedFileRead {
    std::vector<std::uint8_t> bytes;
    std::string problem;    // empty when bytes holds the whole file
    std::uint64_t size = 0; // the open file's size, also when it is over the limit
};

// Fails without reading a byte when the file is larger than limit: "file is N
// bytes, more than the limit of M". Other problems are the system's error text,
// "not a regular file" or "file shrank while it was read".
BoundedFileRead readBoundedFile(const std::string& path, std::uint64_t limit);

} // namespace korvath
