#include "ImageHeaderCases.h"

#include <array>
#include <climits>

namespace korvath {

namespace {

constexpr std::uint32_t bitFields = 3;
constexpr std::array<std::uint32_t, 4> standardMasks = {0x00FF0000, 0x0000FF00, 0x000000FF,
                                                        0xFF000000};
const std::string saveAdvice = " is not supported; save as an uncompressed 24-bit BMP";
// 24-bit rows of a 2x2 picture, padded to 8 bytes.
const Bytes rgb2x2 = {0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 255, 255, 255, 0, 0};

BmpFields with(BmpFields f, void (*change)(BmpFields&)) {
    change(f);
    return f;
}

// A 2x2 BMP of the given depth with an info header of infoSize bytes, the
// compression and masks given.
Bytes form(std::uint32_t infoSize, std::uint16_t bits, std::uint32_t compression,
           std::optional<std::array<std::uint32_t, 4>> masks = {}) {
    BmpFields f = bmpFields(2, 2, bits);
    f.infoSize = infoSize;
    f.compression = compression;
    f.masks = masks;
    return bmpFileBytes(f, Bytes(16));
}

Bytes cut(Bytes bytes, std::size_t size) {
    bytes.resize(size);
    return bytes;
}

Bytes jpegWithFrame(std::uint8_t marker, const Bytes& payload) {
    return jpegFileBytes({jpegSegment(0xE0, Bytes(14)), jpegSegment(marker, payload)});
}

Bytes baselineJpeg(int width, int height, int components) {
    return jpegWithFrame(0xC0, jpegFramePayload(width, height, components));
}

Bytes jpegScanThen(const Bytes& afterScan) {
    return jpegFileBytes(
        {jpegSegment(0xC0, jpegFramePayload(4, 4, 1)), jpegSegment(0xDA, Bytes(6)), afterScan});
}

std::vector<ImageHeaderCase> accepted() {
    return {
        {"24-bit", bmpFileBytes(bmpFields(2, 2), rgb2x2), "", 2, 2},
        {"top-down", bmpFileBytes(bmpFields(2, -2), rgb2x2), "", 2, 2},
        {"32-bit", bmpFileBytes(bmpFields(1, 3, 32), Bytes(12)), "", 1, 3},
        {"widest", bmpFileBytes(bmpFields(8192, 1), Bytes(8192 * 3)), "", 8192, 1},
        {"8-bit, padding beyond the palette",
         bmpFileBytes(palettedFields(8, 2, Bytes(8)), {1, 0, 9, 9, 0, 1, 9, 9}), "", 2, 2},
        {"4-bit, full palette", bmpFileBytes(palettedFields(4, 0, Bytes(64)), Bytes(8, 0xFF)), "",
         2, 2},
        {"V5, 32-bit standard masks", form(124, 32, bitFields, standardMasks), "", 2, 2},
        {"V4, 24-bit top-down",
         bmpFileBytes(with(bmpFields(2, -2), [](BmpFields& f) { f.infoSize = 108; }), rgb2x2), "",
         2, 2},
        {"V5, 8-bit, a profile's gap before the pixels",
         bmpFileBytes(with(palettedFields(8, 2, Bytes(8)),
                           [](BmpFields& f) {
                               f.infoSize = 124;
                               f.gap = 100;
                           }),
                      {1, 0, 9, 9, 0, 1, 9, 9}),
         "", 2, 2},
        {"JPEG baseline", baselineJpeg(256, 128, 3), "", 256, 128},
        {"JPEG progressive grey at the limit, after fill bytes and a restart marker",
         jpegFileBytes({{0xFF, 0xD0, 0xFF}, jpegSegment(0xC2, jpegFramePayload(8192, 8192, 1))}),
         "", 8192, 8192},
        {"JPEG extended", jpegWithFrame(0xC1, jpegFramePayload(1, 1, 3)), "", 1, 1},
        {"JPEG scan with stuffed bytes, restart markers and fill, then EOI and trailing bytes",
         jpegScanThen({0x12, 0xFF, 0x00, 0xFF, 0xD0, 0x34, 0xFF, 0xFF, 0xD9, 0xFF, 0xE0, 0x7F}), "",
         4, 4},
        {"JPEG scan cut short", jpegScanThen({0x12, 0x34}), "", 4, 4},
    };
}

std::vector<ImageHeaderCase> refusedSizesAndBounds() {
    const BmpFields bmp = bmpFields(2, 2);
    const auto offsetAt = [](BmpFields f, std::uint32_t offset) {
        f.pixelOffset = offset;
        return bmpFileBytes(f, Bytes(16));
    };
    BmpFields v5 = bmp;
    v5.infoSize = 124;
    BmpFields classicMasks = bmpFields(2, 2, 32);
    classicMasks.compression = bitFields;
    classicMasks.masks = standardMasks;
    BmpFields v5Paletted = palettedFields(8, 0, Bytes(1024));
    v5Paletted.infoSize = 124;
    return {
        {"huge", bmpFileBytes(bmpFields(65536, 65536), {}), "header declares 65536x65536"},
        {"INT_MIN height", bmpFileBytes(bmpFields(2, INT_MIN), rgb2x2),
         "header declares 2x-2147483648"},
        {"product wraps 32 bits", bmpFileBytes(bmpFields(65537, 65535, 32), {}),
         "header declares 65537x65535"},
        {"one beyond the limit", bmpFileBytes(bmpFields(8193, 1), Bytes(8193 * 3)),
         "header declares 8193x1"},
        {"zero width", bmpFileBytes(bmpFields(0, 2), rgb2x2), "header declares 0x2"},
        {"negative width", bmpFileBytes(bmpFields(-2, 2), rgb2x2), "header declares -2x2"},
        {"no room for the header size",
         {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
         "file is 12 bytes, header needs 18"},
        {"pixels cut short", cut(bmpFileBytes(bmp, rgb2x2), 64),
         "file is 64 bytes, header needs 70"},
        {"headers cut short", cut(bmpFileBytes(bmp, rgb2x2), 30),
         "file is 30 bytes, header needs 54"},
        {"V5 header cut short", cut(bmpFileBytes(v5, rgb2x2), 100),
         "file is 100 bytes, header needs 138"},
        {"masks after a 40-byte header cut short", cut(bmpFileBytes(classicMasks, Bytes(16)), 60),
         "file is 60 bytes, header needs 66"},
        {"offset past the end", offsetAt(bmp, 1000), "file is 70 bytes, header needs 1016"},
        {"offset that wraps 32 bits", offsetAt(bmp, 0xFFFFFFF0),
         "file is 70 bytes, header needs 4294967296"},
        {"V5 pixels past the end", offsetAt(v5, 140), "file is 154 bytes, header needs 156"},
        {"offset inside the headers", offsetAt(bmp, 20),
         "pixel data at 20 overlaps the headers, which end at 54"},
        {"pixels inside a V5 header", offsetAt(v5, 54),
         "pixel data at 54 overlaps the headers, which end at 138"},
        {"pixels inside the masks", offsetAt(classicMasks, 60),
         "pixel data at 60 overlaps the headers, which end at 66"},
        {"pixels inside a V5 palette", offsetAt(v5Paletted, 200),
         "pixel data at 200 overlaps the headers and palette, which end at 1162"},
        {"pixels inside the palette", offsetAt(palettedFields(8, 0, Bytes(16)), 70),
         "pixel data at 70 overlaps the headers and palette, which end at 1078"},
    };
}

std::vector<ImageHeaderCase> refusedFields() {
    const auto paletted = [](std::uint16_t bits, std::uint32_t colours, Bytes rows) {
        return bmpFileBytes(palettedFields(bits, colours, Bytes(4 * colours)), rows);
    };
    BmpFields oneBit = palettedFields(1, 1, Bytes(4));
    oneBit.width = 9;
    return {
        {"two planes",
         bmpFileBytes(with(bmpFields(2, 2), [](BmpFields& f) { f.planes = 2; }), rgb2x2),
         "header declares 2 planes"},
        {"2 bits per pixel", form(40, 2, 0), "2 bits per pixel" + saveAdvice},
        {"48 bits per pixel", form(40, 48, 0), "48 bits per pixel" + saveAdvice},
        {"palette larger than the depth allows", bmpFileBytes(palettedFields(8, 300, {}), Bytes(8)),
         "palette of 300 colours for 8 bits per pixel"},
        {"8-bit index beyond the palette", paletted(8, 2, {0, 1, 0, 0, 3, 0, 0, 0}),
         "pixel index 3 beyond the palette of 2 colours"},
        {"4-bit index in the low nibble", paletted(4, 2, {0x12, 0, 0, 0, 0, 0, 0, 0}),
         "pixel index 2 beyond the palette of 2 colours"},
        {"1-bit index in the second byte", bmpFileBytes(oneBit, {0, 0x80, 0, 0, 0, 0, 0, 0}),
         "pixel index 1 beyond the palette of 1 colours"},
        {"OS/2", form(12, 24, 0), "OS/2 BMP (12-byte info header)" + saveAdvice},
        {"OS/2 2.x", form(64, 24, 0), "BMP info header of 64 bytes" + saveAdvice},
        {"V3", form(56, 32, bitFields, standardMasks), "BMP info header of 56 bytes" + saveAdvice},
        {"RLE8", form(124, 8, 1), "run-length encoded BMP (RLE8)" + saveAdvice},
        {"RLE4", form(40, 4, 2), "run-length encoded BMP (RLE4)" + saveAdvice},
        {"JPEG inside", form(124, 24, 4), "BMP compression 4" + saveAdvice},
        {"compression FFFFFFFF", form(40, 24, 0xFFFFFFFF),
         "BMP compression 4294967295" + saveAdvice},
        {"16-bit masks", form(124, 16, bitFields, {{0xF800, 0x07E0, 0x001F, 0}}),
         "16 bits per pixel" + saveAdvice},
        {"24-bit masks", form(124, 24, bitFields, standardMasks),
         "BMP bit masks with 24 bits per pixel" + saveAdvice},
        {"red and blue swapped", form(124, 32, bitFields, {{0xFF, 0xFF00, 0xFF0000, 0xFF000000}}),
         "BMP bit masks R 000000FF G 0000FF00 B 00FF0000 A FF000000" + saveAdvice},
        {"alpha first", form(108, 32, bitFields, {{0xFF000000, 0xFF0000, 0xFF00, 0xFF}}),
         "BMP bit masks R FF000000 G 00FF0000 B 0000FF00 A 000000FF" + saveAdvice},
        {"alpha in a colour's byte", form(124, 32, bitFields, {{0xFF0000, 0xFF00, 0xFF, 0xFF}}),
         "BMP bit masks R 00FF0000 G 0000FF00 B 000000FF A 000000FF" + saveAdvice},
        {"classic header, narrow masks", form(40, 32, bitFields, {{0xFF0000, 0xFF00, 0xF, 0}}),
         "BMP bit masks R 00FF0000 G 0000FF00 B 0000000F A 00000000" + saveAdvice},
    };
}

std::vector<ImageHeaderCase> refusedJpegs() {
    Bytes twelveBitSamples = jpegFramePayload(8, 8, 3);
    twelveBitSamples[0] = 12;
    Bytes frameWithExtraByte = jpegFramePayload(8, 8, 3);
    frameWithExtraByte.push_back(0);
    return {
        {"JPEG huge frame", baselineJpeg(16384, 16384, 3), "header declares 16384x16384"},
        {"JPEG height from a later marker", baselineJpeg(256, 0, 3), "header declares 256x0"},
        {"JPEG CMYK", baselineJpeg(8, 8, 4), "JPEG with 4 components"},
        {"JPEG 12-bit", jpegWithFrame(0xC0, twelveBitSamples),
         "12-bit JPEG samples are not supported"},
        {"JPEG lossless", jpegWithFrame(0xC3, jpegFramePayload(8, 8, 3)),
         "JPEG coding FFC3 is not supported"},
        {"JPEG frame length against components", jpegWithFrame(0xC0, frameWithExtraByte),
         "JPEG frame header of 18 bytes for 3 components"},
        {"JPEG frame too short for its fields", jpegWithFrame(0xC0, {8, 0, 1}),
         "JPEG frame header of 5 bytes"},
        {"JPEG segment runs past the end", jpegFileBytes({{0xFF, 0xE0, 0, 100}, Bytes(10)}),
         "file is 16 bytes, header needs 104"},
        {"JPEG length cut", jpegFileBytes({{0xFF, 0xE0, 0}}), "file is 5 bytes, header needs 6"},
        {"JPEG length below its own size", jpegFileBytes({{0xFF, 0xE0, 0, 1}}),
         "JPEG segment FFE0 of length 1"},
        // The image library's reader loops for ever skipping this segment.
        {"JPEG segment after the scan runs past the end",
         jpegScanThen({0x75, 0xFF, 0xE8, 0x10, 0xD9, 0x00}), "file is 31 bytes, header needs 4341"},
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
}

} // namespace

std::vector<ImageHeaderCase> imageHeaderCases() {
    std::vector<ImageHeaderCase> cases = accepted();
    for (auto* part : {refusedSizesAndBounds, refusedFields, refusedJpegs}) {
        for (ImageHeaderCase& c : part()) {
            cases.push_back(std::move(c));
        }
    }
    return cases;
}

} // namespace korvath
