// Header check, image-library decode (a BMP rebuilt in the classic layout
// first), verification and copy-out.
#include "image/ImageDecode.h"

#include "image/ClassicBmp.h"
#include "image/ImageFile.h"
#include "image/ImageHeaderCheck.h"
#include "image/LibraryImage.h"

#include <IL/il.h>
#include <IL/ilu.h>

#include <algorithm>

namespace korvath {

namespace {

constexpr int rgbBytes = 3;

// The library keeps a stack of errors; a report names this load's first one.
void clearLibraryErrors() {
    while (ilGetError() != IL_NO_ERROR) {
    }
}

std::string libraryErrorText() {
    const ILenum error = ilGetError();
    clearLibraryErrors();
    if (error == IL_NO_ERROR) {
        return "the image library cannot decode it";
    }
    return std::string("the image library cannot decode it: ") + iluErrorString(error);
}

ILenum libraryType(ImageFormat format) {
    return format == ImageFormat::Bmp ? IL_BMP : IL_JPG;
}

std::string checkDimensions(const ImageHeader& header) {
    const std::int64_t width = ilGetInteger(IL_IMAGE_WIDTH);
    const std::int64_t height = ilGetInteger(IL_IMAGE_HEIGHT);
    if (width != header.width || height != header.height || ilGetInteger(IL_IMAGE_DEPTH) != 1) {
        return "decoded as " + imageSizeText(width, height) + ", header declares " +
               imageSizeText(header.width, header.height);
    }
    return {};
}

bool isRgbBytes() {
    return ilGetInteger(IL_IMAGE_FORMAT) == IL_RGB &&
           ilGetInteger(IL_IMAGE_TYPE) == IL_UNSIGNED_BYTE;
}

// Everything the copy-out relies on, asked of the library after conversion.
std::string checkRgbData(const ImageHeader& header) {
    if (!isRgbBytes() || ilGetInteger(IL_IMAGE_BPP) != rgbBytes) {
        return "the image library cannot give it as RGB bytes";
    }
    const std::int64_t expected = std::int64_t{header.width} * header.height * rgbBytes;
    const std::int64_t held = ilGetInteger(IL_IMAGE_SIZE_OF_DATA);
    if (held != expected || ilGetData() == nullptr) {
        return "the image library holds " + std::to_string(held) + " bytes for " +
               imageSizeText(header.width, header.height) + " RGB";
    }
    return {};
}

DecodedImage copyRowsBottomUp(const ImageHeader& header) {
    DecodedImage image{header.width, header.height, {}};
    const std::size_t rowBytes = static_cast<std::size_t>(header.width) * rgbBytes;
    const ILubyte* data = ilGetData();
    image.pixels.assign(data, data + rowBytes * static_cast<std::size_t>(header.height));
    if (ilGetInteger(IL_IMAGE_ORIGIN) == IL_ORIGIN_UPPER_LEFT) {
        for (std::size_t top = 0, bottom = header.height - 1; top < bottom; ++top, --bottom) {
            std::swap_ranges(image.pixels.begin() + top * rowBytes,
                             image.pixels.begin() + (top + 1) * rowBytes,
                             image.pixels.begin() + bottom * rowBytes);
        }
    }
    return image;
}

} // namespace

ImageDecodeResult decodeImage(const std::vector<std::uint8_t>& fileBytes) {
    if (fileBytes.size() > maxImageFileBytes) {
        return {{}, "file is " + std::to_string(fileBytes.size()) + " bytes, more than the limit"};
    }
    const ImageHeaderCheck check = checkImageHeader(fileBytes.data(), fileBytes.size());
    if (!check.problem.empty()) {
        return {{}, check.problem};
    }
    const bool isBmp = check.header.format == ImageFormat::Bmp;
    const std::vector<std::uint8_t> classicBmp =
        isBmp ? classicBmpBytes(fileBytes.data(), check.header.bmp) : std::vector<std::uint8_t>{};
    const std::vector<std::uint8_t>& libraryBytes = isBmp ? classicBmp : fileBytes;
    const BoundLibraryImage libraryImage;
    clearLibraryErrors();
    if (!ilLoadL(libraryType(check.header.format), libraryBytes.data(),
                 static_cast<ILuint>(libraryBytes.size()))) {
        return {{}, libraryErrorText()};
    }
    if (std::string problem = checkDimensions(check.header); !problem.empty()) {
        return {{}, problem};
    }
    if (!isRgbBytes() && !ilConvertImage(IL_RGB, IL_UNSIGNED_BYTE)) {
        return {{}, libraryErrorText()};
    }
    if (std::string problem = checkRgbData(check.header); !problem.empty()) {
        return {{}, problem};
    }
    return {copyRowsBottomUp(check.header), {}};
}

} // namespace korvath
