// BMP and JPEG files built field by field, damaged on purpose where a caller
// asks: the image tests' cases and the image fuzzer's seeds.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <vector>

namespace korvath {

using Bytes = std::vector<std::uint8_t>;

struct BmpFields {
    std::int32_t width = 2;
    std::int32_t height = 2;
    std::uint16_t planes = 1;
    std::uint16_t bitsPerPixel = 24;
    std::uint32_t compression = 0;
    std::uint32_t coloursUsed = 0;
    // 108 (V4) and 124 (V5) write the whole header: masks, an sRGB colour space,
    // the rest zero. Other sizes are written as told, with 40 bytes of info header.
    std::uint32_t infoSize = 40;
    // Red, green, blue, alpha: inside a V4 or V5 header (zero when absent), or
    // the first three after a 40-byte one.
    std::optional<std::array<std::uint32_t, 4>> masks;
    Bytes palette;                            // 4 bytes (blue, green, red, 0) per colour
    std::uint32_t gap = 0;                    // zero bytes between the palette and the pixels
    std::optional<std::uint32_t> pixelOffset; // after the palette and gap when absent
};

// The fields of a picture of the given size and depth, the rest at their defaults.
BmpFields bmpFields(std::int32_t width, std::int32_t height, std::uint16_t bitsPerPixel = 24);

// A 2x2 paletted picture's fields with the given palette.
BmpFields palettedFields(std::uint16_t bitsPerPixel, std::uint32_t coloursUsed, Bytes palette);

// File header, info header, masks, palette, gap, then the pixel bytes as given.
Bytes bmpFileBytes(const BmpFields& fields, const Bytes& pixels);

// FF, marker, big-endian length (payload + 2), payload.
Bytes jpegSegment(std::uint8_t marker, const Bytes& payload);

// A frame header's payload: 8-bit samples, the size, and components 1..count
// sampled 1x1 with quantisation table 0.
Bytes jpegFramePayload(int width, int height, int components);

// SOI followed by the pieces.
Bytes jpegFileBytes(std::initializer_list<Bytes> pieces);

} // namespace korvath
