// RGB images as the golden-image test keeps them: 8 bits per channel, rows
// bottom first as glReadPixels returns them, stored as PNG through DevIL.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace korvath::golden {

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels; // width * height * 3, bottom row first
};

// Overwrites path; false (with DevIL's error on stderr) if it cannot.
bool savePng(const RgbImage& image, const std::string& path);
// An empty image (width 0) if the file is missing or not an image DevIL reads.
RgbImage loadPng(const std::string& path);

} // namespace korvath::golden
