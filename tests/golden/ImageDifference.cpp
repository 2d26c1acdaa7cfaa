// Per-channel absolute differences of two images, summed up three ways.
#include "ImageDifference.h"

#include <algorithm>
#include <cstdlib>

namespace korvath::golden {

ImageDifference compareImages(const RgbImage& expected, const RgbImage& actual) {
    ImageDifference result;
    long long sum = 0;
    for (size_t pixel = 0; pixel < expected.pixels.size(); pixel += 3) {
        int largestHere = 0;
        for (size_t c = pixel; c < pixel + 3; ++c) {
            const int difference = std::abs(expected.pixels[c] - actual.pixels[c]);
            sum += difference;
            largestHere = std::max(largestHere, difference);
        }
        result.largestChannelDifference = std::max(result.largestChannelDifference, largestHere);
        if (largestHere > visibleChannelStep) {
            ++result.visiblyDifferentPixels;
        }
    }
    result.meanChannelDifference =
        expected.pixels.empty() ? 0.0 : static_cast<double>(sum) / expected.pixels.size();
    return result;
}

} // namespace korvath::golden
