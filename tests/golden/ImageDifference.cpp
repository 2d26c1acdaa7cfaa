// Per-channel absolute differences of two images, summed up three ways.
#include "ImageDifference.h"

#include <algorithm>
#include <cstdlib>

namespace korvath::golden {

ImageDifference compareImages(const RgbImage& expected, const RgbImage& actual, int ignoredBorder) {
    ImageDifference result;
    long long sum = 0;
    long long channels = 0;
    for (int y = ignoredBorder; y < expected.height - ignoredBorder; ++y) {
        for (int x = ignoredBorder; x < expected.width - ignoredBorder; ++x) {
            const size_t pixel = (static_cast<size_t>(y) * expected.width + x) * 3;
            int largestHere = 0;
            for (size_t c = pixel; c < pixel + 3; ++c) {
                const int difference = std::abs(expected.pixels[c] - actual.pixels[c]);
                sum += difference;
                largestHere = std::max(largestHere, difference);
            }
            channels += 3;
            result.largestChannelDifference =
                std::max(result.largestChannelDifference, largestHere);
            if (largestHere > visibleChannelStep) {
                ++result.visiblyDifferentPixels;
            }
        }
    }
    result.meanChannelDifference = channels == 0 ? 0.0 : static_cast<double>(sum) / channels;
    return result;
}

} // namespace korvath::golden
