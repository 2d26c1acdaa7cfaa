// The BMP and JPEG header checks behind checkImageHeader, and the pieces of
// their answers they share.
#pragma once

#include "image/ImageHeaderCheck.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

namespace korvath {

// Bytes that start with "BM" / with FF D8.
ImageHeaderCheck checkBmpHeader(const std::uint8_t* bytes, std::size_t size);
ImageHeaderCheck checkJpegHeader(const std::uint8_t* bytes, std::size_t size);

inline bool sideWithinBounds(std::int64_t side) {
    return side >= 1 && side <= maxImageSide;
}

inline ImageHeaderCheck headerFailure(std::string problem) {
    return {{}, std::move(problem)};
}

inline std::string shortFile(std::size_t size, std::uint64_t needed) {
    return "file is " + std::to_string(size) + " bytes, header needs " + std::to_string(needed);
}

} // namespace korvath
