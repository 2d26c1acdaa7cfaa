// Little-endian field reads from an open 3DS file.
#include "mesh/ChunkFile.h"

#include "files/ByteOrder.h"

#include <cstring>

namespace korvath {

long ChunkFile::position() const {
    return std::ftell(file);
}

long ChunkFile::length() const {
    const long here = std::ftell(file);
    std::fseek(file, 0, SEEK_END);
    const long end = std::ftell(file);
    std::fseek(file, here, SEEK_SET);
    return end;
}

bool ChunkFile::readByte(std::uint8_t& value) {
    return std::fread(&value, 1, 1, file) == 1;
}

bool ChunkFile::readU16(std::uint16_t& value) {
    std::uint8_t bytes[2];
    if (std::fread(bytes, 1, sizeof bytes, file) != sizeof bytes) {
        return false;
    }
    value = littleEndian16(bytes);
    return true;
}

bool ChunkFile::readU32(std::uint32_t& value) {
    std::uint8_t bytes[4];
    if (std::fread(bytes, 1, sizeof bytes, file) != sizeof bytes) {
        return false;
    }
    value = littleEndian32(bytes);
    return true;
}

bool ChunkFile::readFloat(float& value) {
    std::uint32_t bits = 0;
    if (!readU32(bits)) {
        return false;
    }
    static_assert(sizeof(float) == sizeof bits, "3DS floats are IEEE 754 single precision");
    std::memcpy(&value, &bits, sizeof value);
    return true;
}

void ChunkFile::moveTo(long target) {
    const long end = length();
    std::fseek(file, target < end ? target : end, SEEK_SET);
}

} // namespace korvath
