// How far two images of the same size differ, in the terms the golden-image
// test judges: a small mean (float rounding between builds) and few pixels that
// differ visibly (a moved edge) pass; a changed look fails one or the other.
#pragma once

#include "PngImage.h"

namespace korvath::golden {

// A channel difference above this is visible: about 6% of the range.
constexpr int visibleChannelStep = 16;

struct ImageDifference {
    double meanChannelDifference = 0.0; // mean |a - b| over every channel of every pixel
    int visiblyDifferentPixels = 0;     // pixels with a channel off by more than the step
    int largestChannelDifference = 0;
};

// Both images must have the same size.
ImageDifference compareImages(const RgbImage& expected, const RgbImage& actual);

} // namespace korvath::golden
