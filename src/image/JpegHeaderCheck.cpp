// JPEG header check: every marker segment from SOI to EOI bounded by the file,
// and the one frame header the decoder reads.
#include "image/HeaderCheckParts.h"

#include "files/ByteOrder.h"

#include <optional>

namespace korvath {

namespace {

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
        return headerFailure("JPEG coding " + markerText(marker) + " is not supported");
    }
    constexpr std::uint16_t fixedLength = 8; // length, precision, height, width, count
    if (length < fixedLength) {
        return headerFailure("JPEG frame header of " + std::to_string(length) + " bytes");
    }
    const int precision = segment[2];
    const std::int64_t height = bigEndian16(segment + 3);
    const std::int64_t width = bigEndian16(segment + 5);
    const int components = segment[7];
    if (precision != 8) {
        return headerFailure(std::to_string(precision) + "-bit JPEG samples are not supported");
    }
    if (!sideWithinBounds(width) || !sideWithinBounds(height)) {
        return headerFailure("header declares " + imageSizeText(width, height));
    }
    if (components != 1 && components != 3) {
        return headerFailure("JPEG with " + std::to_string(components) + " components");
    }
    if (length != fixedLength + 3 * components) {
        return headerFailure("JPEG frame header of " + std::to_string(length) + " bytes for " +
                             std::to_string(components) + " components");
    }
    return {{ImageFormat::Jpeg, static_cast<int>(width), static_cast<int>(height), {}}, {}};
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
} // namespace

ImageHeaderCheck checkJpegHeader(const std::uint8_t* bytes, std::size_t size) {
    std::optional<ImageHeaderCheck> frame;
    std::size_t at = 2;
    while (at < size) {
        if (bytes[at] != markerPrefix) {
            return headerFailure("no JPEG marker at byte " + std::to_string(at));
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
            return headerFailure("JPEG " + markerText(marker) + (frame ? " after" : " before") +
                                 " the frame header");
        }
        if (size - at < 2) {
            return headerFailure(shortFile(size, std::uint64_t{at} + 2));
        }
        const std::uint16_t length = bigEndian16(bytes + at);
        if (length < 2) {
            return headerFailure("JPEG segment " + markerText(marker) + " of length " +
                                 std::to_string(length));
        }
        if (length > size - at) {
            return headerFailure(shortFile(size, std::uint64_t{at} + length));
        }
        if (isFrameHeader(marker)) {
            if (frame) {
                return headerFailure("JPEG with a second frame header");
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
        return headerFailure("JPEG without a frame header");
    }
    return *frame;
}

} // namespace korvath
