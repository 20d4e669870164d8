// An RGB picture kept lowest row first, as bitmap files store it, written as a 24-bit bitmap.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Colour {
    float r;
    float g;
    float b;
};

class Picture {
public:
    Picture(int width, int height);

    int Width() const { return width; }
    int Height() const { return height; }
    // Row 0 is the lowest row. Channels are clamped to 0..1 and rounded to bytes.
    void Set(int x, int y, Colour colour);
    // Red, green, blue of one pixel.
    const uint8_t* At(int x, int y) const { return &pixels[(static_cast<size_t>(y) * width + x) * 3]; }

    // An uncompressed 24-bit bitmap: 14-byte file header, 40-byte info header, rows bottom-up,
    // blue-green-red, each row padded to four bytes.
    std::vector<uint8_t> Bmp() const;
    // The bitmap as a file; false when it cannot be written.
    bool WriteBmp(const std::string& path) const;

private:
    int width;
    int height;
    std::vector<uint8_t> pixels;
};
