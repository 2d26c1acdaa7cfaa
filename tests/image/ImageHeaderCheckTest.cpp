// The bounded file read, the image header check on headers built in memory
// (the damaged ones include every size class that crashed the image library),
// and the decode behind it: row order, palettes and the library's own refusals.
#include "image/ImageHeaderCheck.h"
#include "TwoByTwoBmp.h"
#include "image/ImageDecode.h"
#include "image/ImageFile.h"

#include <IL/il.h>
#include <IL/ilu.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace korvath {
namespace {

using test::bmpFields;
using test::palettedFields;
using test::rgb2x2;
using ::testing::StartsWith;

Bytes fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Bytes bmp24With(void (*change)(BmpFields&)) {
    BmpFields f = bmpFields(2, 2);
    change(f);
    return bmpFileBytes(f, rgb2x2);
}

Bytes withFrame(std::uint8_t marker, const Bytes& payload) {
    return jpegFileBytes({jpegSegment(0xE0, Bytes(14)), jpegSegment(marker, payload)});
}

Bytes baselineFrame(int width, int height, int components) {
    return withFrame(0xC0, jpegFramePayload(width, height, components));
}

TEST(ImageHeaderCheck, AcceptsWhatTheLibraryDecodesSafely) {
    const struct {
        const char* name;
        Bytes bytes;
        ImageFormat format;
        int width, height;
    } cases[] = {
        {"shipped sprite", fileBytes("data/particle/ash.bmp"), ImageFormat::Bmp, 64, 64},
        {"shipped texture", fileBytes("data/model/flieger.jpg"), ImageFormat::Jpeg, 256, 256},
        {"24-bit", bmpFileBytes(bmpFields(2, 2), rgb2x2), ImageFormat::Bmp, 2, 2},
        {"top-down", bmpFileBytes(bmpFields(2, -2), rgb2x2), ImageFormat::Bmp, 2, 2},
        {"32-bit", bmpFileBytes(bmpFields(1, 3, 32), Bytes(12)), ImageFormat::Bmp, 1, 3},
        {"widest", bmpFileBytes(bmpFields(8192, 1), Bytes(8192 * 3)), ImageFormat::Bmp, 8192, 1},
        {"8-bit, padding beyond the palette",
         bmpFileBytes(palettedFields(8, 2, Bytes(8)), {1, 0, 9, 9, 0, 1, 9, 9}), ImageFormat::Bmp,
         2, 2},
        {"4-bit, full palette", bmpFileBytes(palettedFields(4, 0, Bytes(64)), Bytes(8, 0xFF)),
         ImageFormat::Bmp, 2, 2},
        {"JPEG baseline", baselineFrame(256, 128, 3), ImageFormat::Jpeg, 256, 128},
        {"JPEG progressive grey at the limit, after fill bytes and a restart marker",
         jpegFileBytes({{0xFF, 0xD0, 0xFF}, jpegSegment(0xC2, jpegFramePayload(8192, 8192, 1))}),
         ImageFormat::Jpeg, 8192, 8192},
        {"JPEG extended", withFrame(0xC1, jpegFramePayload(1, 1, 3)), ImageFormat::Jpeg, 1, 1},
        {"JPEG scan with stuffed bytes, restart markers and fill, then EOI and trailing bytes",
         jpegFileBytes({jpegSegment(0xC0, jpegFramePayload(4, 4, 1)),
                        jpegSegment(0xDA, Bytes(6)),
                        {0x12, 0xFF, 0x00, 0xFF, 0xD0, 0x34, 0xFF, 0xFF, 0xD9, 0xFF, 0xE0, 0x7F}}),
         ImageFormat::Jpeg, 4, 4},
        {"JPEG scan cut short",
         jpegFileBytes({jpegSegment(0xC0, jpegFramePayload(4, 4, 1)),
                        jpegSegment(0xDA, Bytes(6)),
                        {0x12, 0x34}}),
         ImageFormat::Jpeg, 4, 4},
    };
    for (const auto& c : cases) {
        const ImageHeaderCheck check = checkImageHeader(c.bytes.data(), c.bytes.size());
        EXPECT_EQ(check.problem, "") << c.name;
        EXPECT_EQ(check.header.format, c.format) << c.name;
        EXPECT_EQ(check.header.width, c.width) << c.name;
        EXPECT_EQ(check.header.height, c.height) << c.name;
    }
}

TEST(ImageHeaderCheck, RefusesDamagedHeadersWithTheReason) {
    Bytes shortBmp = bmpFileBytes(bmpFields(2, 2), rgb2x2);
    shortBmp.resize(64);
    Bytes headerOnly = bmpFileBytes(bmpFields(2, 2), rgb2x2);
    headerOnly.resize(30);
    Bytes twelveBitSamples = jpegFramePayload(8, 8, 3);
    twelveBitSamples[0] = 12;
    Bytes frameWithExtraByte = jpegFramePayload(8, 8, 3);
    frameWithExtraByte.push_back(0);

    const struct {
        const char* name;
        Bytes bytes;
        std::string problem;
    } cases[] = {
        {"huge", bmpFileBytes(bmpFields(65536, 65536), {}), "header declares 65536x65536"},
        {"INT_MIN height", bmpFileBytes(bmpFields(2, INT_MIN), rgb2x2),
         "header declares 2x-2147483648"},
        {"product wraps 32 bits", bmpFileBytes(bmpFields(65537, 65535, 32), {}),
         "header declares 65537x65535"},
        {"one beyond the limit", bmpFileBytes(bmpFields(8193, 1), Bytes(8193 * 3)),
         "header declares 8193x1"},
        {"zero width", bmpFileBytes(bmpFields(0, 2), rgb2x2), "header declares 0x2"},
        {"negative width", bmpFileBytes(bmpFields(-2, 2), rgb2x2), "header declares -2x2"},
        {"pixels cut short", shortBmp, "file is 64 bytes, header needs 70"},
        {"headers cut short", headerOnly, "file is 30 bytes, header needs 54"},
        {"offset past the end", bmp24With([](BmpFields& f) { f.pixelOffset = 1000; }),
         "file is 70 bytes, header needs 1016"},
        {"offset that wraps 32 bits", bmp24With([](BmpFields& f) { f.pixelOffset = 0xFFFFFFF0; }),
         "file is 70 bytes, header needs 4294967296"},
        {"offset inside the headers", bmp24With([](BmpFields& f) { f.pixelOffset = 20; }),
         "pixel data at 20 overlaps the headers, which end at 54"},
        {"two planes", bmp24With([](BmpFields& f) { f.planes = 2; }), "header declares 2 planes"},
        {"palette larger than the depth allows", bmpFileBytes(palettedFields(8, 300, {}), Bytes(8)),
         "palette of 300 colours for 8 bits per pixel"},
        {"8-bit index beyond the palette",
         bmpFileBytes(palettedFields(8, 2, Bytes(8)), {0, 1, 0, 0, 3, 0, 0, 0}),
         "pixel index 3 beyond the palette of 2 colours"},
        {"4-bit index in the low nibble",
         bmpFileBytes(palettedFields(4, 2, Bytes(8)), {0x12, 0, 0, 0, 0, 0, 0, 0}),
         "pixel index 2 beyond the palette of 2 colours"},
        {"1-bit index in the second byte",
         bmpFileBytes(
             [] {
                 BmpFields f = palettedFields(1, 1, Bytes(4));
                 f.width = 9;
                 return f;
             }(),
             {0, 0x80, 0, 0, 0, 0, 0, 0}),
         "pixel index 1 beyond the palette of 1 colours"},
        {"pixels inside the palette",
         bmpFileBytes(
             [] {
                 BmpFields f = palettedFields(8, 0, Bytes(16));
                 f.pixelOffset = 70;
                 return f;
             }(),
             Bytes(8)),
         "pixel data at 70 overlaps the headers and palette, which end at 1078"},
        {"JPEG huge frame", baselineFrame(16384, 16384, 3), "header declares 16384x16384"},
        {"JPEG height from a later marker", baselineFrame(256, 0, 3), "header declares 256x0"},
        {"JPEG CMYK", baselineFrame(8, 8, 4), "JPEG with 4 components"},
        {"JPEG 12-bit", withFrame(0xC0, twelveBitSamples), "12-bit JPEG samples are not supported"},
        {"JPEG lossless", withFrame(0xC3, jpegFramePayload(8, 8, 3)),
         "JPEG coding FFC3 is not supported"},
        {"JPEG frame length against components", withFrame(0xC0, frameWithExtraByte),
         "JPEG frame header of 18 bytes for 3 components"},
        {"JPEG frame too short for its fields", withFrame(0xC0, {8, 0, 1}),
         "JPEG frame header of 5 bytes"},
        {"JPEG segment runs past the end", jpegFileBytes({{0xFF, 0xE0, 0, 100}, Bytes(10)}),
         "file is 16 bytes, header needs 104"},
        {"JPEG length cut", jpegFileBytes({{0xFF, 0xE0, 0}}), "file is 5 bytes, header needs 6"},
        {"JPEG length below its own size", jpegFileBytes({{0xFF, 0xE0, 0, 1}}),
         "JPEG segment FFE0 of length 1"},
        // The image library's reader loops for ever skipping this segment.
        {"JPEG segment after the scan runs past the end",
         jpegFileBytes({jpegSegment(0xC0, jpegFramePayload(4, 4, 1)),
                        jpegSegment(0xDA, Bytes(6)),
                        {0x75, 0xFF, 0xE8, 0x10, 0xD9, 0x00}}),
         "file is 31 bytes, header needs 4341"},
        {"JPEG second frame",
         jpegFileBytes({jpegSegment(0xC0, jpegFramePayload(4, 4, 1)),
                        jpegSegment(0xC2, jpegFramePayload(4, 4, 1))}),
         "JPEG with a second frame header"},
        {"JPEG scan before the frame", jpegFileBytes({jpegSegment(0xDA, Bytes(10))}),
         "JPEG FFDA before the frame header"},
        {"JPEG garbage between segments", jpegFileBytes({{0x12, 0x34}}),
         "no JPEG marker at byte 2"},
        {"JPEG without a frame", jpegFileBytes({jpegSegment(0xE0, Bytes(14)), {0xFF}}),
         "JPEG without a frame header"},
        {"other format", {'G', 'I', 'F', '8', '9', 'a'}, "neither a BMP nor a JPEG file"},
        {"empty", {}, "neither a BMP nor a JPEG file"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(checkImageHeader(c.bytes.data(), c.bytes.size()).problem, c.problem) << c.name;
    }
}

TEST(ImageFile, ReadsOnlyRegularFilesWithinTheBound) {
    const std::filesystem::path directory =
        std::filesystem::temp_directory_path() / ("korvath-read-" + std::to_string(getpid()));
    std::filesystem::create_directories(directory);
    const std::string fifo = (directory / "fifo.bmp").string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    // Sparse: one byte beyond the bound without writing 64 MiB.
    const std::string large = (directory / "large.jpg").string();
    std::ofstream(large).close();
    std::filesystem::resize_file(large, maxImageFileBytes + 1);
    const std::string sprite = "data/particle/ash.bmp";

    const struct {
        std::string path;
        std::string problem;
        std::size_t size;
    } cases[] = {
        {sprite, "", 12342},
        {(directory / "missing.bmp").string(), "No such file or directory", 0},
        {directory.string(), "not a regular file", 0},
        {fifo, "not a regular file", 0}, // and no wait for a writer
        {large, "file is 67108865 bytes, more than the limit of 67108864", 0},
    };
    for (const auto& c : cases) {
        const BoundedFileRead read = readImageFile(c.path);
        EXPECT_EQ(read.problem, c.problem) << c.path;
        EXPECT_EQ(read.bytes.size(), c.size) << c.path;
    }
    EXPECT_EQ(readImageFile(sprite).bytes, fileBytes(sprite));
    std::filesystem::remove_all(directory);
}

class ImageDecode : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ilInit();
        iluInit();
    }
};

TEST_F(ImageDecode, GivesRgbRowsFromTheBottomUpWhateverTheFileLayout) {
    for (const test::BmpLayoutCase& c : test::twoByTwoLayouts()) {
        const ImageDecodeResult result = decodeImage(bmpFileBytes(c.fields, c.pixels));
        EXPECT_EQ(result.problem, "") << c.name;
        EXPECT_EQ(result.image.width, 2) << c.name;
        EXPECT_EQ(result.image.height, 2) << c.name;
        EXPECT_EQ(result.image.pixels, test::rgb2x2Expected) << c.name;
    }
}

TEST_F(ImageDecode, ReportsTheHeaderProblemOrTheLibrarysRefusal) {
    EXPECT_EQ(decodeImage(bmpFileBytes(bmpFields(2, INT_MIN), rgb2x2)).problem,
              "header declares 2x-2147483648");
    // A frame header and nothing to decode: the check passes, libjpeg refuses.
    const ImageDecodeResult refused =
        decodeImage(jpegFileBytes({jpegSegment(0xC0, jpegFramePayload(8, 8, 3)), {0xFF, 0xD9}}));
    EXPECT_THAT(refused.problem, StartsWith("the image library cannot decode it: "));
    EXPECT_THAT(refused.image.pixels, ::testing::IsEmpty());
}

} // namespace
} // namespace korvath
