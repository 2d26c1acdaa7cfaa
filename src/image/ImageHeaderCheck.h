// A bounded look at an image file's bytes before the image library decodes
// them: the format, the declared size and every offset the decoder will follow.
// Plain code (no GL, no image library), so it can be unit-tested and fuzzed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace korvath {

enum class ImageFormat { Bmp, Jpeg };

// Largest accepted width or height. Beyond it the image library's 32-bit size
// arithmetic comes within reach of wrapping, and 8192x8192 RGB is already
// 192 MiB decoded.
inline constexpr int maxImageSide = 8192;

// Where a checked BMP's parts lie, every one within the file: what rebuilding
// it in the classic layout the image library reads needs.
struct BmpLayout {
    int bitsPerPixel = 0;
    std::uint32_t paletteAt = 0; // just after the info header (and masks)
    std::uint32_t colours = 0;   // palette entries; every pixel index is below; 0 above 8 bits
    std::uint32_t pixelsAt = 0;
    std::uint64_t pixelBytes = 0; // the rows with their padding
};

struct ImageHeader {
    ImageFormat format = ImageFormat::Bmp;
    int width = 0;
    int height = 0; // positive; a top-down BMP's row order is the decoder's business
    BmpLayout bmp;  // BMP only
};

struct ImageHeaderCheck {
    ImageHeader header;
    std::string problem; // empty when the bytes may go to the decoder
};

// Accepts what the image library decodes safely, once a BMP is rebuilt in the
// classic layout, and what everyday tools write: BMP with a 40-byte, V4
// (108-byte) or V5 (124-byte) info header, uncompressed, 1, 4 or 8 bits per
// pixel with a palette every pixel stays within, or 24 or 32 bits, or 32 bits
// with bit masks that say blue, green, red, alpha bytes (the uncompressed
// order); JPEG baseline, extended or progressive with 8-bit samples and 1 or 3
// components. A refused BMP form's problem says how to save one that loads.
ImageHeaderCheck checkImageHeader(const std::uint8_t* bytes, std::size_t size);

// "WIDTHxHEIGHT", as the problems name sizes.
std::string imageSizeText(std::int64_t width, std::int64_t height);

} // namespace korvath
