// The decode behind the header check: RGB rows from the bottom up whatever the
// BMP layout; V4 and V5 info headers (as ImageMagick writes them, with the
// standard masks) and 32-bit bit masks decode to the same pixels as their
// classic 40-byte twins; the header's problem or the image library's refusal
// otherwise.
#include "image/ImageDecode.h"
#include "ImageFileBytes.h"

#include <IL/il.h>
#include <IL/ilu.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <string>
#include <vector>

namespace korvath {
namespace {

constexpr std::uint32_t bitFields = 3;
constexpr std::array<std::uint32_t, 4> standardMasks = {0x00FF0000, 0x0000FF00, 0x000000FF,
                                                        0xFF000000};

// One 2x2 picture (bottom row red, green; top row blue, white) in each classic
// layout the decoder accepts, and the RGB rows, bottom first, every one gives.
const Bytes rgb2x2 = {0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 255, 255, 255, 0, 0};
const Bytes rgb2x2Expected = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};
const Bytes bgra2x2 = {0, 0, 255, 9, 0, 255, 0, 9, 255, 0, 0, 9, 255, 255, 255, 9};
// Red, green, blue, white as palette entries (blue, green, red, unused).
const Bytes fourColours = {0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0, 255, 255, 255, 0};

struct Layout {
    std::string name;
    BmpFields fields;
    Bytes pixels;
};

const std::vector<Layout> layouts = {
    {"24-bit bottom-up", bmpFields(2, 2), rgb2x2},
    {"24-bit top-down",
     bmpFields(2, -2),
     {255, 0, 0, 255, 255, 255, 0, 0, 0, 0, 255, 0, 255, 0, 0, 0}},
    {"32-bit, alpha dropped", bmpFields(2, 2, 32), bgra2x2},
    {"8-bit paletted", palettedFields(8, 4, fourColours), {0, 1, 0, 0, 2, 3, 0, 0}},
    {"4-bit paletted", palettedFields(4, 4, fourColours), {0x01, 0, 0, 0, 0x23, 0, 0, 0}},
};

class ImageDecode : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ilInit();
        iluInit();
    }

    // Decodes both and expects the same picture from each; the twin must decode too.
    static void expectSamePixelsAsTwin(const std::string& name, const Bytes& form,
                                       const Bytes& twin) {
        const ImageDecodeResult ours = decodeImage(form);
        const ImageDecodeResult classic = decodeImage(twin);
        ASSERT_EQ(classic.problem, "") << name;
        EXPECT_EQ(ours.problem, "") << name;
        EXPECT_EQ(ours.image.width, classic.image.width) << name;
        EXPECT_EQ(ours.image.height, classic.image.height) << name;
        EXPECT_EQ(ours.image.pixels, classic.image.pixels) << name;
    }
};

TEST_F(ImageDecode, EveryLayoutGivesRgbRowsBottomUpAlsoInV4AndV5Headers) {
    for (const Layout& layout : layouts) {
        const ImageDecodeResult classic = decodeImage(bmpFileBytes(layout.fields, layout.pixels));
        EXPECT_EQ(classic.problem, "") << layout.name;
        EXPECT_EQ(classic.image.width, 2) << layout.name;
        EXPECT_EQ(classic.image.height, 2) << layout.name;
        EXPECT_EQ(classic.image.pixels, rgb2x2Expected) << layout.name;
        for (const std::uint32_t infoSize : {108u, 124u}) {
            BmpFields f = layout.fields;
            f.infoSize = infoSize;
            // ImageMagick writes the standard masks into uncompressed V5 headers too.
            f.masks = standardMasks;
            expectSamePixelsAsTwin(layout.name + ", " + std::to_string(infoSize) + "-byte header",
                                   bmpFileBytes(f, layout.pixels),
                                   bmpFileBytes(layout.fields, layout.pixels));
        }
    }
}

TEST_F(ImageDecode, StandardBitMasksDecodeAsUncompressed32Bit) {
    const std::pair<std::uint32_t, std::uint32_t> forms[] = {
        {124, 0xFF000000}, {124, 0}, {108, 0xFF000000}, {40, 0}}; // info size, alpha mask
    for (const auto& [infoSize, alphaMask] : forms) {
        BmpFields f = bmpFields(2, 2, 32);
        f.infoSize = infoSize;
        f.compression = bitFields;
        f.masks = standardMasks;
        (*f.masks)[3] = alphaMask;
        EXPECT_EQ(decodeImage(bmpFileBytes(f, bgra2x2)).image.pixels, rgb2x2Expected)
            << infoSize << " " << alphaMask;
    }
}

TEST_F(ImageDecode, OneBitRowsInClassicAndV5Headers) {
    BmpFields f = palettedFields(1, 2, {0, 0, 0, 0, 255, 255, 255, 0}); // black, white
    const Bytes rows = {0x80, 0, 0, 0, 0x40, 0, 0, 0};
    const Bytes expected = {255, 255, 255, 0, 0, 0, 0, 0, 0, 255, 255, 255};
    EXPECT_EQ(decodeImage(bmpFileBytes(f, rows)).image.pixels, expected);
    f.infoSize = 124;
    EXPECT_EQ(decodeImage(bmpFileBytes(f, rows)).image.pixels, expected);
}

TEST_F(ImageDecode, ReadsPixelsWhereTheOffsetSaysBeyondAnEmbeddedProfile) {
    const BmpFields classic = palettedFields(8, 4, fourColours);
    BmpFields f = classic;
    f.infoSize = 124;
    f.gap = 3000; // a colour profile's place between the palette and the pixels
    const Bytes rows = {0, 1, 0, 0, 2, 3, 0, 0};
    expectSamePixelsAsTwin("V5, 8-bit, gap", bmpFileBytes(f, rows), bmpFileBytes(classic, rows));
}

TEST_F(ImageDecode, ReportsTheHeaderProblemOrTheLibrarysRefusal) {
    EXPECT_EQ(decodeImage(bmpFileBytes(bmpFields(2, INT_MIN), rgb2x2)).problem,
              "header declares 2x-2147483648");
    // A frame header and nothing to decode: the check passes, libjpeg refuses.
    const ImageDecodeResult refused =
        decodeImage(jpegFileBytes({jpegSegment(0xC0, jpegFramePayload(8, 8, 3)), {0xFF, 0xD9}}));
    EXPECT_THAT(refused.problem, ::testing::StartsWith("the image library cannot decode it: "));
    EXPECT_THAT(refused.image.pixels, ::testing::IsEmpty());
}

} // namespace
} // namespace korvath
