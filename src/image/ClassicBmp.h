// A checked BMP rebuilt in the classic layout the image library reads: file
// header, 40-byte info header, palette, rows. V4 and V5 info headers lose their
// masks and colour-space fields; 32-bit bit masks, accepted only where they
// describe the uncompressed layout, become that layout.
#pragma once

#include "image/ImageHeaderCheck.h"

#include <cstdint>
#include <vector>

namespace korvath {

// fileBytes passed checkImageHeader as a BMP with this layout. The palette is
// written in full (2^bits entries, those beyond the file's own zero), so the
// library finds the rows where it expects them whatever count it reads.
std::vector<std::uint8_t> classicBmpBytes(const std::uint8_t* fileBytes, const BmpLayout& layout);

} // namespace korvath
