// libFuzzer target: any bytes as an image file through the header check, the
// image library's decode and the verification (everything a texture load does
// before OpenGL). A crash inside the library on bytes the check passed is a
// finding: the check must refuse such bytes. So is a BMP whose classic-layout
// rebuild, the bytes the library reads, fails the check or changes the header.
#include "image/ClassicBmp.h"
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

namespace {

void checkClassicRebuild(const std::uint8_t* data, std::size_t size) {
    const korvath::ImageHeaderCheck check = korvath::checkImageHeader(data, size);
    if (!check.problem.empty() || check.header.format != korvath::ImageFormat::Bmp) {
        return;
    }
    const std::vector<std::uint8_t> classic = korvath::classicBmpBytes(data, check.header.bmp);
    const korvath::ImageHeaderCheck again =
        korvath::checkImageHeader(classic.data(), classic.size());
    if (!again.problem.empty() || again.header.width != check.header.width ||
        again.header.height != check.header.height ||
        again.header.bmp.bitsPerPixel != check.header.bmp.bitsPerPixel ||
        again.header.bmp.pixelBytes != check.header.bmp.pixelBytes) {
        __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    checkClassicRebuild(data, size);
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
