// Image painting storage and saving through DevIL.
#include "generator/Image.h"

#include "generator/Shaping.h"

#include <IL/il.h>

#include <cmath>

namespace korvath::generator {

namespace {

// High enough that the block artefacts vanish at the scale the textures are seen.
constexpr ILint jpegQuality = 92;

bool endsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

} // namespace

Colour operator+(const Colour& a, const Colour& b) {
    return {a.r + b.r, a.g + b.g, a.b + b.b};
}

Colour operator*(const Colour& c, double factor) {
    return {c.r * factor, c.g * factor, c.b * factor};
}

Colour mix(const Colour& a, const Colour& b, double t) {
    return a * (1.0 - t) + b * t;
}

Image::Image(int width, int height)
    : imageWidth(width), imageHeight(height),
      bytes(static_cast<size_t>(width) * static_cast<size_t>(height) * 3, 0) {}

void Image::set(int x, int y, const Colour& colour) {
    const size_t at =
        (static_cast<size_t>(y) * static_cast<size_t>(imageWidth) + static_cast<size_t>(x)) * 3;
    const double channels[3] = {colour.r, colour.g, colour.b};
    for (int i = 0; i < 3; ++i) {
        bytes[at + i] = static_cast<std::uint8_t>(std::lround(clamp01(channels[i]) * 255.0));
    }
}

bool saveImage(const Image& image, const std::string& path) {
    ILenum type = IL_TYPE_UNKNOWN;
    if (endsWith(path, ".jpg")) {
        type = IL_JPG;
    } else if (endsWith(path, ".bmp")) {
        type = IL_BMP;
    } else {
        return false;
    }
    ILuint name = 0;
    ilGenImages(1, &name);
    ilBindImage(name);
    std::vector<std::uint8_t> pixels = image.rgb();
    bool saved = ilTexImage(image.width(), image.height(), 1, 3, IL_RGB, IL_UNSIGNED_BYTE,
                            pixels.data()) == IL_TRUE;
    if (saved) {
        ilEnable(IL_FILE_OVERWRITE);
        ilSetInteger(IL_JPG_QUALITY, jpegQuality);
        std::string mutablePath(path); // DevIL takes a mutable string
        saved = ilSave(type, mutablePath.data()) == IL_TRUE;
    }
    ilDeleteImages(1, &name);
    return saved;
}

} // namespace korvath::generator
