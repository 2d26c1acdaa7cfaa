// Image files built to sit at or just beyond each limit of the image header
// check, with what the check says of each: the image tests check every verdict,
// and the image fuzzer starts from every file.
#pragma once

#include "ImageFileBytes.h"

#include <string>
#include <vector>

namespace korvath {

struct ImageHeaderCase {
    std::string name;
    Bytes bytes;
    std::string problem;       // the check's refusal, "" where it accepts the file
    int width = 0, height = 0; // the size read from an accepted file
};

// BMP sizes (negative, INT_MIN, wrapping products), bit depths, compressions,
// pixel offsets, palette sizes and indices, info header forms and bit masks;
// JPEG frame sizes, component counts, sample precision, coding markers,
// segment lengths and what follows the scan.
std::vector<ImageHeaderCase> imageHeaderCases();

} // namespace korvath
