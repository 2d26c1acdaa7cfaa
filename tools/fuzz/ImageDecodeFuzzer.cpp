// libFuzzer target: any bytes as an image file through the header check, the
// image library's decode and the verification (everything a texture load does
// before OpenGL). A crash inside the library on bytes the check passed is a
// finding: the check must refuse such bytes.
#include "image/ImageDecode.h"
#include "image/ImageHeaderCheck.h"

#include <IL/il.h>
#include <IL/ilu.h>

#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    ilInit();
    iluInit();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const korvath::ImageDecodeResult result =
        korvath::decodeImage(std::vector<std::uint8_t>(data, data + size));
    if (!result.problem.empty()) {
        return 0;
    }
    const korvath::DecodedImage& image = result.image;
    const bool sideOk = image.width >= 1 && image.width <= korvath::maxImageSide &&
                        image.height >= 1 && image.height <= korvath::maxImageSide;
    if (!sideOk || image.pixels.size() != std::size_t{3} * image.width * image.height) {
        __builtin_trap();
    }
    // Every byte the upload would read.
    unsigned sum = 0;
    for (const std::uint8_t byte : image.pixels) {
        sum += byte;
    }
    volatile unsigned keep = sum;
    (void)keep;
    return 0;
}
