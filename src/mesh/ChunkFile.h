// Little-endian field reads from an open 3DS file. A read that runs past the end
// of the file fills nothing and answers false, so a truncated file never leaves
// half-written values behind.
#pragma once

#include <cstdint>
#include <cstdio>

namespace korvath {

class ChunkFile {
public:
    explicit ChunkFile(std::FILE* openFile) : file(openFile) {}

    long position() const;
    // The file's length, queried from the open file now.
    long length() const;

    bool readByte(std::uint8_t& value);
    bool readU16(std::uint16_t& value);
    bool readU32(std::uint32_t& value);
    bool readFloat(float& value);

    // Moves forward to target; a target beyond the end stops at the end.
    void moveTo(long target);

private:
    std::FILE* file;
};

} // namespace korvath
