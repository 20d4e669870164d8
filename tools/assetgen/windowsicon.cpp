#include "tools/assetgen/windowsicon.h"

#include "tools/assetgen/filebytes.h"

namespace {

// An icon's bitmap: an info header whose height counts the colour rows and the mask rows together,
// the colours bottom-up in blue-green-red-alpha, then a 1-bit mask (set where transparent) whose rows
// are padded to four bytes.
std::vector<uint8_t> IconBitmap(const RgbaImage& image)
{
    const int size = image.Width();
    const uint32_t maskRowBytes = (static_cast<uint32_t>(size) + 31) / 32 * 4;
    std::vector<uint8_t> out;
    PutLittleEndian(out, 40, 4);
    PutLittleEndian(out, static_cast<uint32_t>(size), 4);
    PutLittleEndian(out, static_cast<uint32_t>(size) * 2, 4);
    PutLittleEndian(out, 1, 2);   // planes
    PutLittleEndian(out, 32, 2);  // bits per pixel
    PutLittleEndian(out, 0, 4);   // no compression
    PutLittleEndian(out, static_cast<uint32_t>(size) * size * 4 + maskRowBytes * size, 4);
    for (int i = 0; i < 4; ++i) PutLittleEndian(out, 0, 4);  // resolution and colour counts
    for (int y = size - 1; y >= 0; --y) {
        for (int x = 0; x < size; ++x) {
            const uint8_t* p = image.At(x, y);
            out.insert(out.end(), {p[2], p[1], p[0], p[3]});
        }
    }
    for (int y = size - 1; y >= 0; --y) {
        std::vector<uint8_t> row(maskRowBytes, 0);
        for (int x = 0; x < size; ++x) {
            if (image.At(x, y)[3] == 0) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

}  // namespace

std::vector<uint8_t> WindowsIcon::Bytes() const
{
    std::vector<std::vector<uint8_t>> entries;
    for (const RgbaImage& image : images) {
        entries.push_back(image.Width() > 48 ? image.PngBytes() : IconBitmap(image));
    }
    std::vector<uint8_t> out;
    PutLittleEndian(out, 0, 2);  // reserved
    PutLittleEndian(out, 1, 2);  // an icon, not a cursor
    PutLittleEndian(out, static_cast<uint32_t>(images.size()), 2);
    uint32_t offset = 6 + 16 * static_cast<uint32_t>(images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        const int size = images[i].Width();
        out.push_back(static_cast<uint8_t>(size >= 256 ? 0 : size));  // 0 means 256
        out.push_back(static_cast<uint8_t>(size >= 256 ? 0 : size));
        out.push_back(0);            // no palette
        out.push_back(0);            // reserved
        PutLittleEndian(out, 1, 2);  // planes
        PutLittleEndian(out, 32, 2);
        PutLittleEndian(out, static_cast<uint32_t>(entries[i].size()), 4);
        PutLittleEndian(out, offset, 4);
        offset += static_cast<uint32_t>(entries[i].size());
    }
    for (const std::vector<uint8_t>& entry : entries) out.insert(out.end(), entry.begin(), entry.end());
    return out;
}

bool WindowsIcon::Write(const std::string& path) const
{
    return WriteFileBytes(path, Bytes());
}
