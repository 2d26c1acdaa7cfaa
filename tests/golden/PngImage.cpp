// PNG files through DevIL, which the program already links for its textures.
#include "PngImage.h"
#include "image/LibraryImage.h"

#include <IL/il.h>
#include <IL/ilu.h>

#include <cstdio>

namespace korvath::golden {

bool savePng(const RgbImage& image, const std::string& path) {
    BoundLibraryImage bound;
    // The data's first row is the bottom one: DevIL's lower-left origin.
    ilTexImage(image.width, image.height, 1, 3, IL_RGB, IL_UNSIGNED_BYTE,
               const_cast<std::uint8_t*>(image.pixels.data()));
    ilRegisterOrigin(IL_ORIGIN_LOWER_LEFT);
    ilEnable(IL_FILE_OVERWRITE);
    if (!ilSave(IL_PNG, path.c_str())) {
        std::fprintf(stderr, "golden: %s: DevIL cannot write it (error 0x%x)\n", path.c_str(),
                     ilGetError());
        return false;
    }
    return true;
}

RgbImage loadPng(const std::string& path) {
    BoundLibraryImage bound;
    RgbImage image;
    if (!ilLoad(IL_PNG, path.c_str()) || !ilConvertImage(IL_RGB, IL_UNSIGNED_BYTE)) {
        return image;
    }
    // A PNG's rows run top first; whether DevIL turned them depends on the
    // process-wide origin setting, so ask the image.
    if (ilGetInteger(IL_IMAGE_ORIGIN) != IL_ORIGIN_LOWER_LEFT) {
        iluFlipImage();
    }
    image.width = ilGetInteger(IL_IMAGE_WIDTH);
    image.height = ilGetInteger(IL_IMAGE_HEIGHT);
    const ILubyte* data = ilGetData();
    image.pixels.assign(data, data + static_cast<size_t>(image.width) * image.height * 3);
    return image;
}

} // namespace korvath::golden
