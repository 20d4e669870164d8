#include "tools/assetgen/picture.h"

#include "tools/assetgen/filebytes.h"

Picture::Picture(int width, int height)
    : width(width), height(height), pixels(static_cast<size_t>(width) * height * 3, 0)
{
}

void Picture::Set(int x, int y, Colour colour)
{
    uint8_t* pixel = &pixels[(static_cast<size_t>(y) * width + x) * 3];
    pixel[0] = ChannelByte(colour.r);
    pixel[1] = ChannelByte(colour.g);
    pixel[2] = ChannelByte(colour.b);
}

std::vector<uint8_t> Picture::Bmp() const
{
    const uint32_t rowBytes = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
    const uint32_t imageBytes = rowBytes * static_cast<uint32_t>(height);
    const uint32_t headerBytes = 14 + 40;

    std::vector<uint8_t> file;
    file.reserve(headerBytes + imageBytes);
    file.push_back('B');
    file.push_back('M');
    PutLittleEndian(file, headerBytes + imageBytes, 4);
    PutLittleEndian(file, 0, 4);  // reserved
    PutLittleEndian(file, headerBytes, 4);
    PutLittleEndian(file, 40, 4);
    PutLittleEndian(file, static_cast<uint32_t>(width), 4);
    PutLittleEndian(file, static_cast<uint32_t>(height), 4);  // positive: lowest row first
    PutLittleEndian(file, 1, 2);                              // planes
    PutLittleEndian(file, 24, 2);
    PutLittleEndian(file, 0, 4);  // no compression
    PutLittleEndian(file, imageBytes, 4);
    PutLittleEndian(file, 2835, 4);  // 72 dots per inch, in dots per metre
    PutLittleEndian(file, 2835, 4);
    PutLittleEndian(file, 0, 4);  // no colour table
    PutLittleEndian(file, 0, 4);

    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint8_t* pixel = At(x, y);
            file.push_back(pixel[2]);
            file.push_back(pixel[1]);
            file.push_back(pixel[0]);
        }
        for (uint32_t pad = static_cast<uint32_t>(width) * 3; pad < rowBytes; ++pad) file.push_back(0);
    }

    return file;
}

bool Picture::WriteBmp(const std::string& path) const
{
    return WriteFileBytes(path, Bmp());
}
