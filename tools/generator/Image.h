// An RGB image painted by the generator and saved through the image library.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace korvath::generator {

struct Colour {
    double r = 0.0;
    double g = 0.0;
    double b = 0.0;
};

Colour operator+(const Colour& a, const Colour& b);
Colour operator*(const Colour& c, double factor);
Colour mix(const Colour& a, const Colour& b, double t);

// Row 0 is the row that OpenGL receives first once the saved file is loaded
// with ilutGLLoadImage, so texel (x, y) sits at texture coordinates
// ((x + 0.5) / width, (y + 0.5) / height).
class Image {
public:
    Image(int imageWidth, int imageHeight);

    int width() const { return imageWidth; }
    int height() const { return imageHeight; }
    // Colour channels in 0..1, clamped and rounded to bytes.
    void set(int x, int y, const Colour& colour);
    const std::vector<std::uint8_t>& rgb() const { return bytes; }

private:
    int imageWidth;
    int imageHeight;
    std::vector<std::uint8_t> bytes;
};

// Saves as JPEG (".jpg") or 24-bit BMP (".bmp"), replacing an existing file.
// ilInit must have run. False when the library refuses.
bool saveImage(const Image& image, const std::string& path);

} // namespace korvath::generator
