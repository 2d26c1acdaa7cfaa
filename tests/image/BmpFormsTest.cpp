// The BMP forms everyday tools write: V4 and V5 info headers and 32-bit bit
// masks decode to the same pixels as their classic 40-byte twins, written by
// our own writer and by ImageMagick; the forms that do not load are refused by
// name with how to save a file that does.
#include "TwoByTwoBmp.h"
#include "files/ByteOrder.h"
#include "image/ImageDecode.h"
#include "image/ImageHeaderCheck.h"

#include <IL/il.h>
#include <IL/ilu.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace korvath {
namespace {

using test::bmpFields;
using test::rgb2x2;

constexpr std::array<std::uint32_t, 4> standardMasks = {0x00FF0000, 0x0000FF00, 0x000000FF,
                                                        0xFF000000};
constexpr std::uint32_t bitFields = 3;
const std::string saveAdvice = " is not supported; save as an uncompressed 24-bit BMP";

// The same fields in the classic form: 40-byte info header, uncompressed, no
// masks, the pixels right after the palette.
BmpFields classicTwin(BmpFields f) {
    f.infoSize = 40;
    f.masks.reset();
    f.compression = 0;
    f.gap = 0;
    return f;
}

class BmpForms : public ::testing::Test {
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

TEST_F(BmpForms, V4AndV5HeadersDecodeAsTheirClassicTwinInEveryLayout) {
    for (const test::BmpLayoutCase& layout : test::twoByTwoLayouts()) {
        for (const std::uint32_t infoSize : {108u, 124u}) {
            BmpFields f = layout.fields;
            f.infoSize = infoSize;
            // ImageMagick writes the standard masks into uncompressed V5 headers too.
            f.masks = standardMasks;
            const std::string name = layout.name + ", " + std::to_string(infoSize) + "-byte header";
            expectSamePixelsAsTwin(name, bmpFileBytes(f, layout.pixels),
                                   bmpFileBytes(classicTwin(f), layout.pixels));
            EXPECT_EQ(decodeImage(bmpFileBytes(f, layout.pixels)).image.pixels,
                      test::rgb2x2Expected)
                << name;
        }
    }
}

TEST_F(BmpForms, StandardBitMasksDecodeAsUncompressed32Bit) {
    const Bytes bgra = {0, 0, 255, 9, 0, 255, 0, 9, 255, 0, 0, 9, 255, 255, 255, 9};
    const struct {
        const char* name;
        std::uint32_t infoSize;
        std::uint32_t alphaMask;
    } cases[] = {
        {"V5 with alpha", 124, 0xFF000000},
        {"V5 without alpha", 124, 0},
        {"V4 with alpha", 108, 0xFF000000},
        {"40-byte header, three masks after it", 40, 0},
    };
    for (const auto& c : cases) {
        BmpFields f = bmpFields(2, 2, 32);
        f.infoSize = c.infoSize;
        f.compression = bitFields;
        f.masks = standardMasks;
        (*f.masks)[3] = c.alphaMask;
        expectSamePixelsAsTwin(c.name, bmpFileBytes(f, bgra), bmpFileBytes(classicTwin(f), bgra));
        EXPECT_EQ(decodeImage(bmpFileBytes(f, bgra)).image.pixels, test::rgb2x2Expected) << c.name;
    }
}

TEST_F(BmpForms, ReadsPixelsWhereTheOffsetSaysBeyondAnEmbeddedProfile) {
    BmpFields f = test::palettedFields(8, 4, test::fourColours);
    f.infoSize = 124;
    f.gap = 3000; // a colour profile's place between the palette and the pixels
    const Bytes rows = {0, 1, 0, 0, 2, 3, 0, 0};
    expectSamePixelsAsTwin("V5, 8-bit, gap", bmpFileBytes(f, rows),
                           bmpFileBytes(classicTwin(f), rows));
}

TEST(BmpFormRefusals, NameTheFormAndHowToSaveOneThatLoads) {
    const auto with = [](std::uint32_t infoSize, std::uint16_t bits, std::uint32_t compression,
                         std::array<std::uint32_t, 4> masks) {
        BmpFields f = bmpFields(2, 2, bits);
        f.infoSize = infoSize;
        f.compression = compression;
        f.masks = masks;
        return bmpFileBytes(f, Bytes(16));
    };
    const struct {
        const char* name;
        Bytes bytes;
        std::string problem;
    } cases[] = {
        {"OS/2", with(12, 24, 0, {}), "OS/2 BMP (12-byte info header)" + saveAdvice},
        {"OS/2 2.x", with(64, 24, 0, {}), "BMP info header of 64 bytes" + saveAdvice},
        {"V3", with(56, 32, bitFields, standardMasks), "BMP info header of 56 bytes" + saveAdvice},
        {"RLE8", with(124, 8, 1, {}), "run-length encoded BMP (RLE8)" + saveAdvice},
        {"RLE4", with(40, 4, 2, {}), "run-length encoded BMP (RLE4)" + saveAdvice},
        {"JPEG inside", with(124, 24, 4, {}), "BMP compression 4" + saveAdvice},
        {"16-bit masks", with(124, 16, bitFields, {0xF800, 0x07E0, 0x001F, 0}),
         "16 bits per pixel" + saveAdvice},
        {"24-bit masks", with(124, 24, bitFields, standardMasks),
         "BMP bit masks with 24 bits per pixel" + saveAdvice},
        {"red and blue swapped", with(124, 32, bitFields, {0xFF, 0xFF00, 0xFF0000, 0xFF000000}),
         "BMP bit masks R 000000FF G 0000FF00 B 00FF0000 A FF000000" + saveAdvice},
        {"alpha first", with(108, 32, bitFields, {0xFF000000, 0xFF0000, 0xFF00, 0xFF}),
         "BMP bit masks R FF000000 G 00FF0000 B 0000FF00 A 000000FF" + saveAdvice},
        {"alpha in a colour's byte", with(124, 32, bitFields, {0xFF0000, 0xFF00, 0xFF, 0xFF}),
         "BMP bit masks R 00FF0000 G 0000FF00 B 000000FF A 000000FF" + saveAdvice},
        {"classic header, narrow masks", with(40, 32, bitFields, {0xFF0000, 0xFF00, 0xF, 0}),
         "BMP bit masks R 00FF0000 G 0000FF00 B 0000000F A 00000000" + saveAdvice},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(checkImageHeader(c.bytes.data(), c.bytes.size()).problem, c.problem) << c.name;
    }
}

TEST(BmpFormRefusals, BoundTheNewerHeadersAndTheirMasksByTheFile) {
    BmpFields v5 = bmpFields(2, 2);
    v5.infoSize = 124;
    Bytes v5Cut = bmpFileBytes(v5, rgb2x2);
    v5Cut.resize(100);
    BmpFields classicMasks = bmpFields(2, 2, 32);
    classicMasks.compression = bitFields;
    classicMasks.masks = standardMasks;
    Bytes masksCut = bmpFileBytes(classicMasks, Bytes(16));
    masksCut.resize(60);
    const auto offsetAt = [](BmpFields f, std::uint32_t offset) {
        f.pixelOffset = offset;
        return bmpFileBytes(f, Bytes(16));
    };
    BmpFields v5Paletted = test::palettedFields(8, 0, Bytes(1024));
    v5Paletted.infoSize = 124;

    const struct {
        const char* name;
        Bytes bytes;
        std::string problem;
    } cases[] = {
        {"no room for the header size",
         {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
         "file is 12 bytes, header needs 18"},
        {"V5 header cut short", v5Cut, "file is 100 bytes, header needs 138"},
        {"masks after a 40-byte header cut short", masksCut, "file is 60 bytes, header needs 66"},
        {"pixels inside a V5 header", offsetAt(v5, 54),
         "pixel data at 54 overlaps the headers, which end at 138"},
        {"pixels inside the masks", offsetAt(classicMasks, 60),
         "pixel data at 60 overlaps the headers, which end at 66"},
        {"pixels inside a V5 palette", offsetAt(v5Paletted, 200),
         "pixel data at 200 overlaps the headers and palette, which end at 1162"},
        {"V5 pixels past the end", offsetAt(v5, 140), "file is 154 bytes, header needs 156"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(checkImageHeader(c.bytes.data(), c.bytes.size()).problem, c.problem) << c.name;
    }
}

// ---- Files from ImageMagick ----------------------------------------------------

Bytes readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

// 7x5 at 24 bits, 35 different colours: a palette needs 8 bits.
Bytes manyColourRows() {
    constexpr int width = 7, height = 5, stride = 24;
    Bytes rows(stride * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint8_t* bgr = &rows[y * stride + x * 3];
            bgr[0] = static_cast<std::uint8_t>(40 * y);
            bgr[1] = static_cast<std::uint8_t>(255 - 30 * x);
            bgr[2] = static_cast<std::uint8_t>(30 * x + 7 * y);
        }
    }
    return rows;
}

// 7x5 black and white at 24 bits.
Bytes blackAndWhiteRows() {
    Bytes rows = manyColourRows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i] = (i / 3 + i / 24) % 2 == 0 ? 0 : 255;
    }
    return rows;
}

class ImageMagickBmp : public BmpForms {
protected:
    void SetUp() override {
        directory =
            std::filesystem::temp_directory_path() / ("korvath-magick-" + std::to_string(getpid()));
        std::filesystem::create_directories(directory);
    }
    void TearDown() override { std::filesystem::remove_all(directory); }

    // `convert twin.bmp OPTIONS out.bmp`; the output's bytes, empty on failure.
    Bytes convert(const Bytes& twin, const std::string& options) {
        writeFile(directory / "twin.bmp", twin);
        const std::filesystem::path out = directory / "out.bmp";
        std::filesystem::remove(out);
        const std::string command = "convert '" + (directory / "twin.bmp").string() + "' " +
                                    options + " '" + out.string() + "'";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        return readFile(out);
    }

    std::filesystem::path directory;
};

TEST_F(ImageMagickBmp, DefaultOutputDecodesAsTheClassicTwin) {
    const Bytes colour = bmpFileBytes(bmpFields(7, 5), manyColourRows());
    const Bytes blackAndWhite = bmpFileBytes(bmpFields(7, 5), blackAndWhiteRows());
    const struct {
        const char* name;
        const Bytes& twin;
        const char* options;
        int bitsPerPixel;
        std::uint32_t compression;
    } cases[] = {
        {"24-bit", colour, "", 24, 0},
        {"32-bit with alpha", colour, "-alpha set -channel A -evaluate set 50% +channel", 32,
         bitFields},
        {"8-bit palette", colour, "-type Palette -compress none", 8, 0},
        {"1-bit", blackAndWhite, "-type Bilevel", 1, 0},
    };
    for (const auto& c : cases) {
        const Bytes written = convert(c.twin, c.options);
        ASSERT_GE(written.size(), 54u) << c.name;
        // The form this case stands for: a newer header than the classic one.
        EXPECT_GT(littleEndian32(&written[14]), 40u) << c.name;
        EXPECT_EQ(littleEndian16(&written[28]), c.bitsPerPixel) << c.name;
        EXPECT_EQ(littleEndian32(&written[30]), c.compression) << c.name;
        expectSamePixelsAsTwin(c.name, written, c.twin);
    }
}

// An 8-bit palette is run-length encoded unless told otherwise.
TEST_F(ImageMagickBmp, RunLengthOutputIsRefusedByName) {
    const Bytes written = convert(bmpFileBytes(bmpFields(7, 5), manyColourRows()), "-type Palette");
    EXPECT_EQ(decodeImage(written).problem, "run-length encoded BMP (RLE8)" + saveAdvice);
}

} // namespace
} // namespace korvath
