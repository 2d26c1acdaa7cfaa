// Decoding image file bytes through the image library, after the header check
// and verified against it, into plain RGB rows. No GL: the upload is separate.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace korvath {

struct DecodedImage {
    int width = 0;
    int height = 0;
    // RGB, one byte per channel, tightly packed rows from the bottom row up
    // (OpenGL's order). The BMPs accepted have no alpha the library keeps.
    std::vector<std::uint8_t> pixels;
};

struct ImageDecodeResult {
    DecodedImage image;
    std::string problem; // empty when image holds the decoded pixels
};

// ilInit (and iluInit, for the error texts) must have run. The library sees
// only bytes the header check passed: a JPEG as it is, a BMP as the classic
// layout rebuilt from its checked parts.
ImageDecodeResult decodeImage(const std::vector<std::uint8_t>& fileBytes);

} // namespace korvath
