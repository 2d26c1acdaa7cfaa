// BMP and JPEG files built field by field, damaged on purpose where a caller
// asks: the image tests' cases and the image fuzzer's seeds.
#pragma once

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
    std::uint32_t infoSize = 40; // written as told; 40 bytes of info header follow regardless
    Bytes palette;               // 4 bytes (blue, green, red, 0) per colour
    std::optional<std::uint32_t> pixelOffset; // right after the palette when absent
};

// File header, 40-byte info header, palette, then the pixel bytes as given.
Bytes bmpFileBytes(const BmpFields& fields, const Bytes& pixels);

// FF, marker, big-endian length (payload + 2), payload.
Bytes jpegSegment(std::uint8_t marker, const Bytes& payload);

// A frame header's payload: 8-bit samples, the size, and components 1..count
// sampled 1x1 with quantisation table 0.
Bytes jpegFramePayload(int width, int height, int components);

// SOI followed by the pieces.
Bytes jpegFileBytes(std::initializer_list<Bytes> pieces);

} // namespace korvath
