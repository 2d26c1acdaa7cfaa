// The rebuild copies only the fields, palette entries and rows the header
// check bounded; everything else in the file is left behind.
#include "image/ClassicBmp.h"

namespace korvath {

namespace {

constexpr std::uint32_t fileHeaderSize = 14;
constexpr std::uint32_t classicInfoSize = 40;
constexpr std::uint32_t uncompressed = 0;

void appendLittleEndian32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

void appendCopy(std::vector<std::uint8_t>& out, const std::uint8_t* from, std::size_t count) {
    out.insert(out.end(), from, from + count);
}

} // namespace

std::vector<std::uint8_t> classicBmpBytes(const std::uint8_t* fileBytes, const BmpLayout& layout) {
    const std::uint32_t paletteEntries = layout.colours == 0 ? 0 : 1u << layout.bitsPerPixel;
    const std::uint32_t pixelsAt = fileHeaderSize + classicInfoSize + paletteEntries * 4;
    const std::uint64_t fileSize = pixelsAt + layout.pixelBytes;
    const std::uint8_t* info = fileBytes + fileHeaderSize;

    std::vector<std::uint8_t> out{'B', 'M'};
    out.reserve(fileSize);
    appendLittleEndian32(out, static_cast<std::uint32_t>(fileSize));
    appendLittleEndian32(out, 0); // reserved
    appendLittleEndian32(out, pixelsAt);
    appendLittleEndian32(out, classicInfoSize);
    appendCopy(out, info + 4, 12); // width, height, planes, bits per pixel
    appendLittleEndian32(out, uncompressed);
    appendLittleEndian32(out, static_cast<std::uint32_t>(layout.pixelBytes));
    appendCopy(out, info + 24, 8); // resolution
    appendLittleEndian32(out, paletteEntries);
    appendLittleEndian32(out, 0); // important colours: all
    appendCopy(out, fileBytes + layout.paletteAt, std::size_t{layout.colours} * 4);
    out.resize(pixelsAt, 0);
    appendCopy(out, fileBytes + layout.pixelsAt, layout.pixelBytes);
    return out;
}

} // namespace korvath
