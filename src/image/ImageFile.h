// Bounded whole-file reads for images: the bytes the header check sees are the
// bytes the image library decodes.
#pragma once

#include "files/BoundedFile.h"

#include <cstdint>
#include <string>

namespace korvath {

// The largest file read: 64 MiB, hundreds of times our largest image file, and
// far below sizes the image library's 32-bit lengths could wrap.
inline constexpr std::uint64_t maxImageFileBytes = std::uint64_t{64} << 20;

inline BoundedFileRead readImageFile(const std::string& path) {
    return readBoundedFile(path, maxImageFileBytes);
}

} // namespace korvath
