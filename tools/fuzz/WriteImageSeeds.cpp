// korvath_image_seeds DIRECTORY: small BMP and JPEG files for the image fuzzer,
// each header field in turn set to a value at or beyond what the check allows:
// BMP sizes (negative, INT_MIN, wrapping products), bit depths, compressions,
// pixel offsets, palette sizes and indices, info header forms (V4, V5, OS/2)
// and bit masks; JPEG frame sizes, component counts, sample precision, coding
// markers and segment lengths.
#include "ImageFileBytes.h"

#include <IL/il.h>

#include <array>
#include <climits>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

using namespace korvath;

namespace {

using NamedSeed = std::pair<std::string, Bytes>;

BmpFields bmp(std::int32_t width, std::int32_t height, std::uint16_t bitsPerPixel) {
    BmpFields f;
    f.width = width;
    f.height = height;
    f.bitsPerPixel = bitsPerPixel;
    return f;
}

BmpFields paletted(std::uint16_t bitsPerPixel, std::uint32_t coloursUsed) {
    BmpFields f = bmp(3, 2, bitsPerPixel);
    f.coloursUsed = coloursUsed;
    const std::uint32_t entries = coloursUsed == 0 ? 1u << bitsPerPixel : coloursUsed;
    for (std::uint32_t i = 0; i < entries; ++i) {
        const auto level = static_cast<std::uint8_t>(i * 255 / entries);
        f.palette.insert(f.palette.end(), {level, static_cast<std::uint8_t>(255 - level), 128, 0});
    }
    return f;
}

// Rows of a 3x2 image at the given depth, padded to 4 bytes, all set to fill.
Bytes rows3x2(int bitsPerPixel, std::uint8_t fill) {
    const std::size_t stride = (3 * bitsPerPixel + 31) / 32 * 4;
    return Bytes(stride * 2, fill);
}

std::vector<NamedSeed> bmpSeeds() {
    std::vector<NamedSeed> seeds;
    const auto add = [&seeds](std::string name, const BmpFields& f, const Bytes& pixels) {
        seeds.emplace_back("bmp-" + std::move(name), bmpFileBytes(f, pixels));
    };
    add("24", bmp(3, 2, 24), rows3x2(24, 0x5A));
    add("24-top-down", bmp(3, -2, 24), rows3x2(24, 0xA5));
    add("32", bmp(3, 2, 32), rows3x2(32, 0x3C));
    add("8-full-palette", paletted(8, 0), rows3x2(8, 200));
    add("8-four-colours", paletted(8, 4), rows3x2(8, 3));
    add("8-index-beyond", paletted(8, 2), rows3x2(8, 3));
    add("8-palette-too-large", paletted(8, 300), rows3x2(8, 0));
    add("4", paletted(4, 0), rows3x2(4, 0x9F));
    add("1", paletted(1, 0), rows3x2(1, 0xA0));
    const struct {
        const char* name;
        std::int32_t width, height;
    } sizes[] = {{"huge", 65536, 65536},    {"int-min-height", 3, INT_MIN},
                 {"negative-width", -3, 2}, {"wrapping-product", 65537, 65535},
                 {"one-beyond", 8193, 1},   {"zero-height", 3, 0}};
    for (const auto& size : sizes) {
        add(size.name, bmp(size.width, size.height, 24), rows3x2(24, 0));
    }
    for (const std::uint16_t bits : {0, 2, 16, 48, 64}) {
        add("bpp-" + std::to_string(bits), bmp(3, 2, bits), rows3x2(32, 0));
    }
    for (const std::uint32_t compression : {1u, 2u, 3u, 4u, 0xFFFFFFFFu}) {
        BmpFields f = bmp(3, 2, compression == 2 ? 4 : 8);
        f.compression = compression;
        add("compression-" + std::to_string(compression), f, {3, 0, 0, 1});
    }
    for (const std::uint32_t offset : {0u, 20u, 1000u, 0xFFFFFFF0u}) {
        BmpFields f = bmp(3, 2, 24);
        f.pixelOffset = offset;
        add("offset-" + std::to_string(offset), f, rows3x2(24, 0));
    }
    for (const std::uint32_t infoSize : {12u, 56u, 64u, 108u, 124u}) {
        BmpFields f = bmp(3, 2, 24);
        f.infoSize = infoSize;
        add("info-" + std::to_string(infoSize), f, rows3x2(24, 0));
    }
    for (const std::uint32_t infoSize : {108u, 124u}) {
        const std::string form = infoSize == 108 ? "v4" : "v5";
        BmpFields v = paletted(8, 4);
        v.infoSize = infoSize;
        add(form + "-8-four-colours", v, rows3x2(8, 3));
        v.gap = 100; // a colour profile's place
        add(form + "-8-gap", v, rows3x2(8, 2));
        v = paletted(1, 0);
        v.infoSize = infoSize;
        add(form + "-1", v, rows3x2(1, 0x60));
        v = bmp(3, -2, 24);
        v.infoSize = infoSize;
        add(form + "-24-top-down", v, rows3x2(24, 0x77));
    }
    const std::array<std::uint32_t, 4> standardMasks = {0xFF0000, 0xFF00, 0xFF, 0xFF000000};
    const struct {
        const char* name;
        std::uint32_t infoSize;
        std::uint16_t bitsPerPixel;
        std::array<std::uint32_t, 4> masks;
    } bitFields[] = {
        {"v5-32", 124, 32, standardMasks},
        {"v5-32-no-alpha", 124, 32, {0xFF0000, 0xFF00, 0xFF, 0}},
        {"v4-32", 108, 32, standardMasks},
        {"40-32", 40, 32, standardMasks},
        {"v5-32-swapped", 124, 32, {0xFF, 0xFF00, 0xFF0000, 0xFF000000}},
        {"v5-16-565", 124, 16, {0xF800, 0x07E0, 0x001F, 0}},
        {"v5-24", 124, 24, standardMasks},
    };
    for (const auto& b : bitFields) {
        BmpFields f = bmp(3, 2, b.bitsPerPixel);
        f.infoSize = b.infoSize;
        f.compression = 3;
        f.masks = b.masks;
        add(std::string("bitfields-") + b.name, f, rows3x2(b.bitsPerPixel, 0xC3));
    }
    BmpFields masksCut = bmp(3, 2, 32);
    masksCut.compression = 3;
    masksCut.masks = standardMasks;
    Bytes cutMasks = bmpFileBytes(masksCut, {});
    cutMasks.resize(60);
    seeds.emplace_back("bmp-bitfields-40-cut", cutMasks);
    BmpFields planes = bmp(3, 2, 24);
    planes.planes = 2;
    add("planes-2", planes, rows3x2(24, 0));
    Bytes cut = bmpFileBytes(bmp(3, 2, 24), rows3x2(24, 0));
    cut.resize(cut.size() - 5);
    seeds.emplace_back("bmp-cut", cut);
    return seeds;
}

// A real JPEG from the image library: a 16x8 gradient, RGB or grey.
Bytes libraryJpeg(const std::string& scratchPath, int channels) {
    std::vector<std::uint8_t> pixels(16 * 8 * channels);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = static_cast<std::uint8_t>(i * 7);
    }
    ILuint name = 0;
    ilGenImages(1, &name);
    ilBindImage(name);
    ilTexImage(16, 8, 1, static_cast<ILubyte>(channels), channels == 3 ? IL_RGB : IL_LUMINANCE,
               IL_UNSIGNED_BYTE, pixels.data());
    ilEnable(IL_FILE_OVERWRITE);
    ilSave(IL_JPG, scratchPath.c_str());
    ilDeleteImages(1, &name);
    std::ifstream in(scratchPath, std::ios::binary);
    Bytes bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::remove(scratchPath.c_str());
    return bytes;
}

std::size_t frameHeaderAt(const Bytes& jpeg) {
    for (std::size_t i = 2; i + 1 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
            return i;
        }
    }
    return 0;
}

std::vector<NamedSeed> jpegSeeds(const Bytes& rgb, const Bytes& grey) {
    std::vector<NamedSeed> seeds{{"jpeg-rgb", rgb}, {"jpeg-grey", grey}};
    const std::size_t frame = frameHeaderAt(rgb);
    if (frame == 0) {
        return seeds;
    }
    // Offsets from the frame marker: precision 4, height 5, width 7, components 9.
    const auto patched = [&](std::string name, std::size_t at, Bytes values) {
        Bytes bytes = rgb;
        std::copy(values.begin(), values.end(), bytes.begin() + static_cast<long>(at));
        seeds.emplace_back("jpeg-" + std::move(name), std::move(bytes));
    };
    patched("16384-square", frame + 5, {0x40, 0, 0x40, 0});
    // Decoding a large frame from a few bytes of scan costs libjpeg the whole
    // frame (seconds at 8192x8192 under the sanitizers); 1024 keeps the fuzzer fast.
    patched("1024-square", frame + 5, {0x04, 0, 0x04, 0});
    patched("height-0", frame + 5, {0, 0});
    patched("width-0", frame + 7, {0, 0});
    patched("components-4", frame + 9, {4});
    patched("components-2", frame + 9, {2});
    patched("components-0", frame + 9, {0});
    patched("precision-12", frame + 4, {12});
    patched("progressive", frame + 1, {0xC2});
    patched("lossless", frame + 1, {0xC3});
    patched("frame-length-short", frame + 2, {0, 5});
    patched("frame-length-long", frame + 2, {0xFF, 0xF0});
    // The first segment after SOI: lengths 0, 1, past the end.
    patched("segment-length-0", 4, {0, 0});
    patched("segment-length-1", 4, {0, 1});
    patched("segment-length-past-end", 4, {0xFF, 0xFF});
    seeds.emplace_back("jpeg-cut-half", Bytes(rgb.begin(), rgb.begin() + rgb.size() / 2));
    seeds.emplace_back("jpeg-frame-only",
                       jpegFileBytes({jpegSegment(0xC0, jpegFramePayload(8, 8, 3)), {0xFF, 0xD9}}));
    return seeds;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: korvath_image_seeds DIRECTORY\n");
        return 2;
    }
    const std::string directory = argv[1];
    ilInit();
    const std::string scratch = directory + "/scratch.jpg";
    std::vector<NamedSeed> seeds = bmpSeeds();
    for (NamedSeed& seed : jpegSeeds(libraryJpeg(scratch, 3), libraryJpeg(scratch, 1))) {
        seeds.push_back(std::move(seed));
    }
    for (const auto& [name, bytes] : seeds) {
        const std::string path = directory + "/seed-" + name;
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            std::fprintf(stderr, "korvath_image_seeds: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
