// One 2x2 picture (bottom row red, green; top row blue, white) in each classic
// 40-byte BMP layout the decoder accepts, and what every one decodes to.
#pragma once

#include "ImageFileBytes.h"

#include <string>
#include <vector>

namespace korvath::test {

inline BmpFields bmpFields(std::int32_t width, std::int32_t height,
                           std::uint16_t bitsPerPixel = 24) {
    BmpFields f;
    f.width = width;
    f.height = height;
    f.bitsPerPixel = bitsPerPixel;
    return f;
}

inline BmpFields palettedFields(std::uint16_t bitsPerPixel, std::uint32_t coloursUsed,
                                Bytes palette) {
    BmpFields f = bmpFields(2, 2, bitsPerPixel);
    f.coloursUsed = coloursUsed;
    f.palette = std::move(palette);
    return f;
}

// 24-bit rows, bottom up, padded to 8 bytes.
inline const Bytes rgb2x2 = {0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 255, 255, 255, 0, 0};
// RGB, bottom row first: what the decoder gives for every layout below.
inline const Bytes rgb2x2Expected = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};
// Red, green, blue, white as palette entries (blue, green, red, unused).
inline const Bytes fourColours = {0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0, 255, 255, 255, 0};

struct BmpLayoutCase {
    std::string name;
    BmpFields fields;
    Bytes pixels;
};

inline std::vector<BmpLayoutCase> twoByTwoLayouts() {
    return {
        {"24-bit bottom-up", bmpFields(2, 2), rgb2x2},
        {"24-bit top-down",
         bmpFields(2, -2),
         {255, 0, 0, 255, 255, 255, 0, 0, 0, 0, 255, 0, 255, 0, 0, 0}},
        {"32-bit, alpha dropped",
         bmpFields(2, 2, 32),
         {0, 0, 255, 9, 0, 255, 0, 9, 255, 0, 0, 9, 255, 255, 255, 9}},
        {"8-bit paletted", palettedFields(8, 4, fourColours), {0, 1, 0, 0, 2, 3, 0, 0}},
        {"4-bit paletted", palettedFields(4, 4, fourColours), {0x01, 0, 0, 0, 0x23, 0, 0, 0}},
    };
}

} // namespace korvath::test
