// BMP header check: the info header's form, the declared size, the palette and
// the pixel rows, each bounded by the file; and where each part lies, for the
// rebuild in the classic layout.
#include "image/HeaderCheckParts.h"

#include "files/ByteOrder.h"

#include <cstdio>
#include <cstdlib>

namespace korvath {

namespace {

constexpr std::size_t fileHeaderSize = 14;
// Info headers that begin with the classic 40 bytes (BITMAPINFOHEADER): the
// classic one, which the image library reads, and V4 and V5, which everyday
// tools write (ImageMagick and GIMP write V5 by default).
constexpr std::uint32_t classicInfoSize = 40;
constexpr std::uint32_t v4InfoSize = 108;
constexpr std::uint32_t v5InfoSize = 124;
// OS/2's BITMAPCOREHEADER, with 16-bit sizes and 3-byte palette entries.
constexpr std::uint32_t os2InfoSize = 12;

constexpr std::uint32_t uncompressed = 0;
constexpr std::uint32_t runLength8 = 1;
constexpr std::uint32_t runLength4 = 2;
constexpr std::uint32_t bitFields = 3;

// 32-bit pixels as blue, green, red and alpha (or unused) bytes: the order of
// uncompressed 32-bit rows, so such a file is an uncompressed one renamed.
constexpr std::uint32_t redMask = 0x00FF0000;
constexpr std::uint32_t greenMask = 0x0000FF00;
constexpr std::uint32_t blueMask = 0x000000FF;
constexpr std::uint32_t alphaMask = 0xFF000000;
// A 40-byte header is followed by the red, green and blue masks; V4 and V5
// hold them, and the alpha mask, in their own bytes 40 to 55.
constexpr std::uint32_t classicMasksSize = 12;

// Added to every refusal of a BMP form, so the reader knows what loads.
constexpr const char* saveAdvice = "; save as an uncompressed 24-bit BMP";

ImageHeaderCheck formRefused(const std::string& form) {
    return headerFailure(form + " is not supported" + saveAdvice);
}

std::string infoHeaderProblem(std::uint32_t infoSize) {
    if (infoSize == classicInfoSize || infoSize == v4InfoSize || infoSize == v5InfoSize) {
        return {};
    }
    if (infoSize == os2InfoSize) {
        return "OS/2 BMP (12-byte info header)";
    }
    return "BMP info header of " + std::to_string(infoSize) + " bytes";
}

std::string compressionName(std::uint32_t compression) {
    if (compression == runLength8) {
        return "run-length encoded BMP (RLE8)";
    }
    if (compression == runLength4) {
        return "run-length encoded BMP (RLE4)";
    }
    return "BMP compression " + std::to_string(compression);
}

std::string maskText(std::uint32_t mask) {
    char text[9];
    std::snprintf(text, sizeof text, "%08X", mask);
    return text;
}

bool isPaletted(int bitsPerPixel) {
    return bitsPerPixel <= 8;
}

// Rows start on 4-byte boundaries.
std::uint64_t rowStride(std::int64_t width, int bitsPerPixel) {
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

// Empty when the masks describe the uncompressed 32-bit layout, else the
// masks as a refused form. A 40-byte header's three masks say nothing of alpha.
std::string nonStandardMasks(const std::uint8_t* masks, bool withAlpha) {
    const std::uint32_t red = littleEndian32(masks);
    const std::uint32_t green = littleEndian32(masks + 4);
    const std::uint32_t blue = littleEndian32(masks + 8);
    const std::uint32_t alpha = withAlpha ? littleEndian32(masks + 12) : 0;
    if (red == redMask && green == greenMask && blue == blueMask &&
        (alpha == alphaMask || alpha == 0)) {
        return {};
    }
    return "BMP bit masks R " + maskText(red) + " G " + maskText(green) + " B " + maskText(blue) +
           " A " + maskText(alpha);
}

// Empty for uncompressed rows and for standard 32-bit masks, else the refused
// form. A 40-byte header's masks follow it (the caller checked they are there).
std::string compressionProblem(const std::uint8_t* info, std::uint32_t infoSize, int bitsPerPixel,
                               std::uint32_t compression) {
    if (compression == uncompressed) {
        return {};
    }
    if (compression != bitFields) {
        return compressionName(compression);
    }
    if (bitsPerPixel != 32) {
        return "BMP bit masks with " + std::to_string(bitsPerPixel) + " bits per pixel";
    }
    return nonStandardMasks(info + classicInfoSize, infoSize != classicInfoSize);
}

} // namespace

ImageHeaderCheck checkBmpHeader(const std::uint8_t* bytes, std::size_t size) {
    constexpr std::size_t infoSizeEnd = fileHeaderSize + 4;
    if (size < infoSizeEnd) {
        return headerFailure(shortFile(size, infoSizeEnd));
    }
    const std::uint8_t* info = bytes + fileHeaderSize;
    const std::uint32_t infoSize = littleEndian32(info);
    if (std::string form = infoHeaderProblem(infoSize); !form.empty()) {
        return formRefused(form);
    }
    const std::uint64_t infoEnd = fileHeaderSize + infoSize;
    if (infoEnd > size) {
        return headerFailure(shortFile(size, infoEnd));
    }
    const std::uint32_t pixelOffset = littleEndian32(bytes + 10);
    const std::int64_t width = static_cast<std::int32_t>(littleEndian32(info + 4));
    const std::int64_t signedHeight = static_cast<std::int32_t>(littleEndian32(info + 8));
    // Negative heights are top-down images; INT_MIN has no positive twin in 32 bits.
    const std::int64_t height = std::llabs(signedHeight);
    if (!sideWithinBounds(width) || !sideWithinBounds(height)) {
        return headerFailure("header declares " + imageSizeText(width, signedHeight));
    }
    const std::uint16_t planes = littleEndian16(info + 12);
    if (planes != 1) {
        return headerFailure("header declares " + std::to_string(planes) + " planes");
    }
    const int bitsPerPixel = littleEndian16(info + 14);
    if (bitsPerPixel != 1 && bitsPerPixel != 4 && bitsPerPixel != 8 && bitsPerPixel != 24 &&
        bitsPerPixel != 32) {
        return formRefused(std::to_string(bitsPerPixel) + " bits per pixel");
    }
    const std::uint32_t compression = littleEndian32(info + 16);
    const std::uint64_t headersEnd =
        infoEnd + (compression == bitFields && infoSize == classicInfoSize ? classicMasksSize : 0);
    if (headersEnd > size) {
        return headerFailure(shortFile(size, headersEnd));
    }
    if (std::string form = compressionProblem(info, infoSize, bitsPerPixel, compression);
        !form.empty()) {
        return formRefused(form);
    }

    std::uint32_t colours = 0;
    if (isPaletted(bitsPerPixel)) {
        const std::uint32_t fullPalette = 1u << bitsPerPixel;
        const std::uint32_t coloursUsed = littleEndian32(info + 32);
        colours = coloursUsed == 0 ? fullPalette : coloursUsed;
        if (colours > fullPalette) {
            return headerFailure("palette of " + std::to_string(colours) + " colours for " +
                                 std::to_string(bitsPerPixel) + " bits per pixel");
        }
    }
    const std::uint64_t paletteEnd = headersEnd + std::uint64_t{colours} * 4;
    if (pixelOffset < paletteEnd) {
        return headerFailure("pixel data at " + std::to_string(pixelOffset) +
                             " overlaps the headers" +
                             (isPaletted(bitsPerPixel) ? " and palette" : "") + ", which end at " +
                             std::to_string(paletteEnd));
    }
    const std::uint64_t stride = rowStride(width, bitsPerPixel);
    const std::uint64_t pixelBytes = stride * static_cast<std::uint64_t>(height);
    if (pixelOffset + pixelBytes > size) {
        return headerFailure(shortFile(size, pixelOffset + pixelBytes));
    }
    if (isPaletted(bitsPerPixel)) {
        const std::int64_t index =
            indexBeyondPalette(bytes + pixelOffset, stride, width, height, bitsPerPixel, colours);
        if (index >= 0) {
            return headerFailure("pixel index " + std::to_string(index) +
                                 " beyond the palette of " + std::to_string(colours) + " colours");
        }
    }
    const BmpLayout layout{bitsPerPixel, static_cast<std::uint32_t>(headersEnd), colours,
                           pixelOffset, pixelBytes};
    return {{ImageFormat::Bmp, static_cast<int>(width), static_cast<int>(height), layout}, {}};
}

} // namespace korvath
