// A picture with transparency, top row first, as PNG and icon files store it; written as a PNG.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class RgbaImage {
public:
    RgbaImage(int width, int height);

    int Width() const { return width; }
    int Height() const { return height; }
    // Red, green, blue and alpha of one pixel; row 0 is the top row.
    uint8_t* At(int x, int y) { return &pixels[(static_cast<size_t>(y) * width + x) * 4]; }
    const uint8_t* At(int x, int y) const { return &pixels[(static_cast<size_t>(y) * width + x) * 4]; }

    // A complete PNG file: 8-bit RGBA, no interlace, no filter, compressed by ZlibCompress.
    std::vector<uint8_t> PngBytes() const;
    bool WritePng(const std::string& path) const;

private:
    int width;
    int height;
    std::vector<uint8_t> pixels;
};
