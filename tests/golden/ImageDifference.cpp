// Per-channel absolute differences of two images, summed up three ways.
#include "ImageDifference.h"

#include <algorithm>
#include <cstdlib>

namespace korvath::golden {

ImageDifference compareImages(const RgbImage& expected, const RgbImage& actual) {
    ImageDifference result;
    const size_t channels = expected.pixels.size();
    long long sum = 0;
    for (size_t pixel = 0; pixel < channels; pixel += 3) {
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
    result.meanChannelDifference = channels == 0 ? 0.0 : static_cast<double>(sum) / channels;
    return result;
}

} // namespace korvath::golden
