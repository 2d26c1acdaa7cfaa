// Byte-level BMP and JPEG writers.
#include "ImageFileBytes.h"

#include <utility>

namespace korvath {

namespace {

constexpr std::uint32_t bmpFileHeaderSize = 14;
constexpr std::uint32_t classicInfoSize = 40;
constexpr std::uint32_t srgbColourSpace = 0x73524742; // "sRGB"

bool isV4OrV5(std::uint32_t infoSize) {
    return infoSize == 108 || infoSize == 124;
}

void putLittle(Bytes& out, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

void putBig16(Bytes& out, int value) {
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value));
}

} // namespace

BmpFields bmpFields(std::int32_t width, std::int32_t height, std::uint16_t bitsPerPixel) {
    BmpFields f;
    f.width = width;
    f.height = height;
    f.bitsPerPixel = bitsPerPixel;
    return f;
}

BmpFields palettedFields(std::uint16_t bitsPerPixel, std::uint32_t coloursUsed, Bytes palette) {
    BmpFields f = bmpFields(2, 2, bitsPerPixel);
    f.coloursUsed = coloursUsed;
    f.palette = std::move(palette);
    return f;
}

Bytes bmpFileBytes(const BmpFields& fields, const Bytes& pixels) {
    const bool extended = isV4OrV5(fields.infoSize);
    const std::uint32_t infoEnd =
        bmpFileHeaderSize + (extended ? fields.infoSize : classicInfoSize);
    const std::uint32_t masksEnd = infoEnd + (fields.masks && !extended ? 12 : 0);
    const auto paletteEnd = static_cast<std::uint32_t>(masksEnd + fields.palette.size());
    const std::uint32_t pixelsAt = paletteEnd + fields.gap;
    Bytes out{'B', 'M'};
    putLittle(out, static_cast<std::uint32_t>(pixelsAt + pixels.size()), 4);
    putLittle(out, 0, 4); // reserved
    putLittle(out, fields.pixelOffset.value_or(pixelsAt), 4);
    putLittle(out, fields.infoSize, 4);
    putLittle(out, static_cast<std::uint32_t>(fields.width), 4);
    putLittle(out, static_cast<std::uint32_t>(fields.height), 4);
    putLittle(out, fields.planes, 2);
    putLittle(out, fields.bitsPerPixel, 2);
    putLittle(out, fields.compression, 4);
    putLittle(out, static_cast<std::uint32_t>(pixels.size()), 4);
    putLittle(out, 2835, 4); // 72 dpi, both ways
    putLittle(out, 2835, 4);
    putLittle(out, fields.coloursUsed, 4);
    putLittle(out, 0, 4); // important colours
    const std::array<std::uint32_t, 4> masks =
        fields.masks.value_or(std::array<std::uint32_t, 4>{});
    if (fields.masks || extended) {
        for (int i = 0; i < (extended ? 4 : 3); ++i) {
            putLittle(out, masks[i], 4);
        }
    }
    if (extended) {
        putLittle(out, srgbColourSpace, 4);
        out.resize(infoEnd, 0); // end points, gamma; V5's intent and profile
    }
    out.insert(out.end(), fields.palette.begin(), fields.palette.end());
    out.resize(pixelsAt, 0);
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

Bytes jpegSegment(std::uint8_t marker, const Bytes& payload) {
    Bytes out{0xFF, marker};
    putBig16(out, static_cast<int>(payload.size()) + 2);
    out.insert(out.end(), payload.begin(), payload.end());
    return out;
}

Bytes jpegFramePayload(int width, int height, int components) {
    Bytes out{8};
    putBig16(out, height);
    putBig16(out, width);
    out.push_back(static_cast<std::uint8_t>(components));
    for (int id = 1; id <= components; ++id) {
        out.insert(out.end(), {static_cast<std::uint8_t>(id), 0x11, 0});
    }
    return out;
}

Bytes jpegFileBytes(std::initializer_list<Bytes> pieces) {
    Bytes out{0xFF, 0xD8};
    for (const Bytes& piece : pieces) {
        out.insert(out.end(), piece.begin(), piece.end());
    }
    return out;
}

} // namespace korvath
