// korvath_image_seeds DIRECTORY: small BMP and JPEG files for the image fuzzer:
// the image tests' header cases, each at or beyond a limit of the check, and
// real JPEGs from the image library with their header fields set likewise.
#include "ImageHeaderCases.h"

#include <IL/il.h>

#include <cctype>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

using namespace korvath;

namespace {

using NamedSeed = std::pair<std::string, Bytes>;

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
    std::vector<NamedSeed> seeds;
    for (ImageHeaderCase& c : imageHeaderCases()) {
        std::string name = c.name;
        for (char& ch : name) {
            ch = std::isalnum(static_cast<unsigned char>(ch)) ? ch : '-';
        }
        seeds.emplace_back(name, std::move(c.bytes));
    }
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
