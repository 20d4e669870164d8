// Pixel decoding of device-independent bitmaps into a 24-bit picture, for SetDIBits. Internal to the
// layer. Every read is bounded by the source's size and every write by the target picture.
#pragma once

#include <cstddef>
#include <cstdint>

namespace layer {

// A bitmap's pixels as its description defines them.
struct DibSource {
    int32_t width = 0;
    int32_t height = 0;  // negative: rows stored highest first
    uint16_t bitCount = 0;
    uint32_t compression = 0;
    const uint8_t* colours = nullptr;  // colourCount entries of blue, green, red, reserved
    uint32_t colourCount = 0;
    uint32_t masks[3] = {};  // red, green, blue, for bit-field pixels
    const uint8_t* bits = nullptr;
    size_t bitsSize = 0;  // bytes of bits that may be read
};

// A 24-bit picture: rows of blue, green, red, lowest first, each padded to a multiple of 4 bytes.
struct Bgr24Picture {
    uint8_t* pixels = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    size_t stride = 0;
};

// Bytes in one stored row of a bitmap, padded to 4 bytes; 64-bit so no width overflows it.
uint64_t DibRowBytes(uint64_t width, uint64_t bitCount);

// Converts scan lines [startScan, startScan + scanLines), counted from the lowest, of a source as
// wide and as high as the target. Returns the number of lines converted, or 0 when the source is not
// one it can convert: an unknown bit count or compression, mismatched sizes, too few bytes, or a
// compressed bitmap stored highest row first.
int ConvertDib(const DibSource& source, uint32_t startScan, uint32_t scanLines, const Bgr24Picture& target);

}  // namespace layer
