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

struct ImageHeader {
    ImageFormat format = ImageFormat::Bmp;
    int width = 0;
    int height = 0; // positive; a top-down BMP's row order is the decoder's business
};

struct ImageHeaderCheck {
    ImageHeader header;
    std::string problem; // empty when the bytes may go to the decoder
};

// Accepts what the image library decodes safely and our images plausibly use:
// BMP with the 40-byte info header, uncompressed, 1, 4 or 8 bits per pixel with
// a palette every pixel stays within, or 24 or 32 bits; JPEG baseline, extended
// or progressive with 8-bit samples and 1 or 3 components.
ImageHeaderCheck checkImageHeader(const std::uint8_t* bytes, std::size_t size);

// "WIDTHxHEIGHT", as the problems name sizes.
std::string imageSizeText(std::int64_t width, std::int64_t height);

} // namespace korvath
