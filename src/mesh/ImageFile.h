// Bounded whole-file reads for images: the bytes the header check sees are the
// bytes the image library decodes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace korvath {

// The largest file read: an 8192x8192 32-bit BMP (the largest accepted image)
// with room for its headers.
inline constexpr std::uint64_t maxImageFileBytes = std::uint64_t{8192} * 8192 * 4 + (1u << 20);

struct ImageFileRead {
    std::vector<std::uint8_t> bytes;
    std::string problem; // empty when bytes holds the whole file
};

ImageFileRead readImageFile(const std::string& path);

} // namespace korvath
