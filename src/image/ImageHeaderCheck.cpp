// BMP and JPEG header checks. Every size is computed in 64 bits from the
// file's own fields, so no declared value can wrap on its way to a comparison.
#include "image/ImageHeaderCheck.h"

#include "files/ByteOrder.h"

#include <cstdlib>
#include <optional>

namespace korvath {

namespace {

bool sideWithinBounds(std::int64_t side) {
    return side >= 1 && side <= maxImageSide;
}

ImageHeaderCheck failure(std::string problem) {
    return {{}, std::move(problem)};
}

std::string shortFile(std::size_t size, std::uint64_t needed) {
    return "file is " + std::to_string(size) + " bytes, header needs " + std::to_string(needed);
}

// ---- BMP -------------------------------------------------------------------

constexpr std::size_t bmpFileHeaderSize = 14;
// BITMAPINFOHEADER, the only info header the image library accepts.
constexpr std::uint32_t bmpInfoHeaderSize = 40;
constexpr std::size_t bmpHeadersSize = bmpFileHeaderSize + bmpInfoHeaderSize;
constexpr std::uint32_t bmpUncompressed = 0;

bool isPaletted(int bitsPerPixel) {
    return bitsPerPixel <= 8;
}

// Rows start on 4-byte boundaries.
std::uint64_t bmpRowStride(std::int64_t width, int bitsPerPixel) {
    return (static_cast<std::uint64_t>(width) * bitsPerPixel + 31) / 32 * 4;
}

// The first pixel index in a paletted image's rows that the palette lacks, or
// -1. The image library looks indices up without a bound.
std::int64_t indexBeyondPalette(const std::uint8_t* rows, std::uint64_t stride, std::int64_t width,
                                std::int64_t height, int bitsPerPixel, std::uint32_t colours) {
    const unsigned mask = (1u << bitsPerPixel) - 1;
    for (std::int64_t y = 0; y < height; ++y) {
        const std::uint8_t* row = rows + static_cast<std::uint64_t>(y) * stride;
        for (std::int64_t x = 0; x < width; ++x) {
            const std::uint64_t bit = static_cast<std::uint64_t>(x) * bitsPerPixel;
            const unsigned shift = 8 - bitsPerPixel - static_cast<unsigned>(bit % 8);
            const unsigned index = (row[bit / 8] >> shift) & mask;
            if (index >= colours) {
                return index;
            }
        }
    }
    return -1;
}

ImageHeaderCheck checkBmp(const std::uint8_t* bytes, std::size_t size) {
    if (size < bmpHeadersSize) {
        return failure(shortFile(size, bmpHeadersSize));
    }
    const std::uint32_t pixelOffset = littleEndian32(bytes + 10);
    const std::uint8_t* info = bytes + bmpFileHeaderSize;
    const std::uint32_t infoSize = littleEndian32(info);
    if (infoSize != bmpInfoHeaderSize) {
        return failure("BMP info header of " + std::to_string(infoSize) +
                       " bytes is not supported");
    }
    const std::int64_t width = static_cast<std::int32_t>(littleEndian32(info + 4));
    const std::int64_t signedHeight = static_cast<std::int32_t>(littleEndian32(info + 8));
    // Negative heights are top-down images; INT_MIN has no positive twin in 32 bits.
    const std::int64_t height = std::llabs(signedHeight);
    if (!sideWithinBounds(width) || !sideWithinBounds(height)) {
        return failure("header declares " + imageSizeText(width, signedHeight));
    }
    const std::uint16_t planes = littleEndian16(info + 12);
    if (planes != 1) {
        return failure("header declares " + std::to_string(planes) + " planes");
    }
    const int bitsPerPixel = littleEndian16(info + 14);
    if (bitsPerPixel != 1 && bitsPerPixel != 4 && bitsPerPixel != 8 && bitsPerPixel != 24 &&
        bitsPerPixel != 32) {
        return failure(std::to_string(bitsPerPixel) + " bits per pixel is not supported");
    }
    const std::uint32_t compression = littleEndian32(info + 16);
    if (compression != bmpUncompressed) {
        return failure("BMP compression " + std::to_string(compression) + " is not supported");
    }

    std::uint64_t paletteEnd = bmpHeadersSize;
    std::uint32_t colours = 0;
    if (isPaletted(bitsPerPixel)) {
        const std::uint32_t fullPalette = 1u << bitsPerPixel;
        const std::uint32_t coloursUsed = littleEndian32(info + 32);
        colours = coloursUsed == 0 ? fullPalette : coloursUsed;
        if (colours > fullPalette) {
            return failure("palette of " + std::to_string(colours) + " colours for " +
                           std::to_string(bitsPerPixel) + " bits per pixel");
        }
        paletteEnd += std::uint64_t{colours} * 4;
    }
    if (pixelOffset < paletteEnd) {
        return failure("pixel data at " + std::to_string(pixelOffset) + " overlaps the headers" +
                       (isPaletted(bitsPerPixel) ? " and palette" : "") + ", which end at " +
                       std::to_string(paletteEnd));
    }
    const std::uint64_t stride = bmpRowStride(width, bitsPerPixel);
    const std::uint64_t pixelEnd = pixelOffset + stride * static_cast<std::uint64_t>(height);
    if (pixelEnd > size) {
        return failure(shortFile(size, pixelEnd));
    }
    if (isPaletted(bitsPerPixel)) {
        const std::int64_t index =
            indexBeyondPalette(bytes + pixelOffset, stride, width, height, bitsPerPixel, colours);
        if (index >= 0) {
            return failure("pixel index " + std::to_string(index) + " beyond the palette of " +
                           std::to_string(colours) + " colours");
        }
    }
    return {{ImageFormat::Bmp, static_cast<int>(width), static_cast<int>(height)}, {}};
}

// ---- JPEG ------------------------------------------------------------------

constexpr std::uint8_t markerPrefix = 0xFF;
constexpr std::uint8_t startOfImage = 0xD8;
constexpr std::uint8_t endOfImage = 0xD9;
constexpr std::uint8_t startOfScan = 0xDA;
// Frame headers the decoder reads: baseline, extended and progressive Huffman.
constexpr std::uint8_t baselineFrame = 0xC0;
constexpr std::uint8_t progressiveFrame = 0xC2;

std::string markerText(std::uint8_t marker) {
    static const char digits[] = "0123456789ABCDEF";
    return std::string("FF") + digits[marker >> 4] + digits[marker & 15];
}

// Markers without a length: TEM and the restart markers.
bool isStandalone(std::uint8_t marker) {
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}

// SOF0..SOF15 except DHT (C4), JPG (C8) and DAC (CC), which share the range.
bool isFrameHeader(std::uint8_t marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

ImageHeaderCheck checkJpegFrame(std::uint8_t marker, const std::uint8_t* segment,
                                std::uint16_t length) {
    if (marker < baselineFrame || marker > progressiveFrame) {
        return failure("JPEG coding " + markerText(marker) + " is not supported");
    }
    constexpr std::uint16_t fixedLength = 8; // length, precision, height, width, count
    if (length < fixedLength) {
        return failure("JPEG frame header of " + std::to_string(length) + " bytes");
    }
    const int precision = segment[2];
    const std::int64_t height = bigEndian16(segment + 3);
    const std::int64_t width = bigEndian16(segment + 5);
    const int components = segment[7];
    if (precision != 8) {
        return failure(std::to_string(precision) + "-bit JPEG samples are not supported");
    }
    if (!sideWithinBounds(width) || !sideWithinBounds(height)) {
        return failure("header declares " + imageSizeText(width, height));
    }
    if (components != 1 && components != 3) {
        return failure("JPEG with " + std::to_string(components) + " components");
    }
    if (length != fixedLength + 3 * components) {
        return failure("JPEG frame header of " + std::to_string(length) + " bytes for " +
                       std::to_string(components) + " components");
    }
    return {{ImageFormat::Jpeg, static_cast<int>(width), static_cast<int>(height)}, {}};
}

// Where the entropy-coded data that starts at `at` ends: the first byte of the
// next marker, or the end of the file. FF 00 is a stuffed data byte, restart
// markers belong to the scan, FF FF is fill before a marker.
std::size_t endOfEntropyData(const std::uint8_t* bytes, std::size_t size, std::size_t at) {
    for (; at + 1 < size; ++at) {
        const std::uint8_t next = bytes[at + 1];
        if (bytes[at] == markerPrefix && next != 0x00 && next != markerPrefix &&
            !isStandalone(next)) {
            return at;
        }
    }
    return size;
}

// Walks every marker segment from SOI to EOI (or the end of the file), each
// length bounded by the file, and checks the one frame header. The segments
// after the frame matter as much as those before: the image library's reader
// loops for ever when libjpeg skips a segment that runs past the end.
ImageHeaderCheck checkJpeg(const std::uint8_t* bytes, std::size_t size) {
    std::optional<ImageHeaderCheck> frame;
    std::size_t at = 2;
    while (at < size) {
        if (bytes[at] != markerPrefix) {
            return failure("no JPEG marker at byte " + std::to_string(at));
        }
        while (at < size && bytes[at] == markerPrefix) {
            ++at; // fill bytes
        }
        if (at == size) {
            break;
        }
        const std::uint8_t marker = bytes[at++];
        if (isStandalone(marker)) {
            continue;
        }
        if (marker == endOfImage && frame) {
            break;
        }
        if (marker == startOfImage || (!frame && (marker == endOfImage || marker == startOfScan))) {
            return failure("JPEG " + markerText(marker) + (frame ? " after" : " before") +
                           " the frame header");
        }
        if (size - at < 2) {
            return failure(shortFile(size, std::uint64_t{at} + 2));
        }
        const std::uint16_t length = bigEndian16(bytes + at);
        if (length < 2) {
            return failure("JPEG segment " + markerText(marker) + " of length " +
                           std::to_string(length));
        }
        if (length > size - at) {
            return failure(shortFile(size, std::uint64_t{at} + length));
        }
        if (isFrameHeader(marker)) {
            if (frame) {
                return failure("JPEG with a second frame header");
            }
            frame = checkJpegFrame(marker, bytes + at, length);
            if (!frame->problem.empty()) {
                return *frame;
            }
        }
        at += length;
        if (marker == startOfScan) {
            at = endOfEntropyData(bytes, size, at);
        }
    }
    if (!frame) {
        return failure("JPEG without a frame header");
    }
    return *frame;
}

} // namespace

std::string imageSizeText(std::int64_t width, std::int64_t height) {
    return std::to_string(width) + "x" + std::to_string(height);
}

ImageHeaderCheck checkImageHeader(const std::uint8_t* bytes, std::size_t size) {
    if (size >= 2 && bytes[0] == 'B' && bytes[1] == 'M') {
        return checkBmp(bytes, size);
    }
    if (size >= 2 && bytes[0] == markerPrefix && bytes[1] == startOfImage) {
        return checkJpeg(bytes, size);
    }
    return failure("neither a BMP nor a JPEG file");
}

} // namespace korvath
