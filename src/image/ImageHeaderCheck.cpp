// The format by its first two bytes, then that format's header check. Every
// size is computed in 64 bits from the file's own fields, so no declared value
// can wrap on its way to a comparison.
#include "image/ImageHeaderCheck.h"

#include "image/HeaderCheckParts.h"

namespace korvath {

std::string imageSizeText(std::int64_t width, std::int64_t height) {
    return std::to_string(width) + "x" + std::to_string(height);
}

ImageHeaderCheck checkImageHeader(const std::uint8_t* bytes, std::size_t size) {
    if (size >= 2 && bytes[0] == 'B' && bytes[1] == 'M') {
        return checkBmpHeader(bytes, size);
    }
    if (size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xD8) { // a JPEG's SOI marker
        return checkJpegHeader(bytes, size);
    }
    return headerFailure("neither a BMP nor a JPEG file");
}

} // namespace korvath
