// A Windows icon file (.ico) holding one picture per size, for the program's icon resource. Pictures
// up to 48 pixels are stored as 32-bit bitmaps with their transparency mask, which every Windows
// version reads; larger ones as PNG, as Windows expects at 256 pixels.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/assetgen/rgbaimage.h"

class WindowsIcon {
public:
    // Pictures must be square, at most 256 pixels a side.
    void Add(const RgbaImage& image) { images.push_back(image); }
    std::vector<uint8_t> Bytes() const;
    bool Write(const std::string& path) const;

private:
    std::vector<RgbaImage> images;
};
