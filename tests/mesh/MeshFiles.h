// Test 3DS files: built with our writer, written to a temporary file and loaded
// into a fresh mesh record.
#pragma once

#include "ThreeDsWriter.h"
#include "mesh/Mesh3ds.h"

#include <memory>
#include <string>
#include <vector>

namespace korvath::test {

// The triangle (0, 0, 0), (1, 0, 0), (0, 1, 0) as face (0, 1, 2), with mapping
// coordinates, in an object called "tri".
ThreeDsMesh unitTriangle();

// The file's bytes under a unique temporary path, removed again on destruction.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::vector<std::uint8_t>& bytes);
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const char* path() const { return filePath.c_str(); }

private:
    std::string filePath;
};

// Loads the bytes into a newly constructed mesh; expects load to answer true.
std::unique_ptr<Mesh3ds> loadBytes(const std::vector<std::uint8_t>& bytes);

} // namespace korvath::test
