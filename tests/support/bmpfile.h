// Building bitmap files byte by byte for tests, reading files back, and a scratch folder to write
// them into.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace bmpfile {

using Bytes = std::vector<uint8_t>;

inline void Put16(Bytes& out, uint32_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

inline void Put32(Bytes& out, uint32_t v)
{
    Put16(out, v & 0xffff);
    Put16(out, v >> 16);
}

// A little-endian number of count bytes at offset at.
inline uint32_t Little(const Bytes& bytes, size_t at, int count)
{
    uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) value = (value << 8) | bytes.at(at + i);
    return value;
}

// The whole file; empty where it cannot be read.
inline Bytes ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

inline Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct Info {
    int32_t width = 1;
    int32_t height = 1;
    uint16_t bitCount = 24;
    uint32_t compression = 0;
    uint32_t sizeImage = 0;
    uint32_t coloursUsed = 0;
    uint16_t planes = 1;
};

inline Bytes InfoHeader(const Info& info)
{
    Bytes out;
    Put32(out, 40);
    Put32(out, static_cast<uint32_t>(info.width));
    Put32(out, static_cast<uint32_t>(info.height));
    Put16(out, info.planes);
    Put16(out, info.bitCount);
    Put32(out, info.compression);
    Put32(out, info.sizeImage);
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, info.coloursUsed);
    Put32(out, 0);
    return out;
}

inline Bytes CoreHeader(uint16_t width, uint16_t height, uint16_t bitCount)
{
    Bytes out;
    Put32(out, 12);
    Put16(out, width);
    Put16(out, height);
    Put16(out, 1);
    Put16(out, bitCount);
    return out;
}

struct Rgb {
    uint8_t r, g, b;
};

// Colour-table entries in file order (blue, green, red), 4 bytes each or 3 after a core header.
inline Bytes Table(const std::vector<Rgb>& colours, bool core = false)
{
    Bytes out;
    for (const Rgb& c : colours) {
        out.push_back(c.b);
        out.push_back(c.g);
        out.push_back(c.r);
        if (!core) out.push_back(0);
    }
    return out;
}

// Rows as given, each padded with zeros to a multiple of 4 bytes.
inline Bytes PaddedRows(const std::vector<Bytes>& rows)
{
    Bytes out;
    for (const Bytes& row : rows) {
        out.insert(out.end(), row.begin(), row.end());
        out.resize((out.size() + 3) / 4 * 4, 0);
    }
    return out;
}

// A complete file: the 14-byte file header, then the bitmap header, masks and colour table
// (headerAndTable), then the pixels at the offset the file header states.
inline Bytes File(const Bytes& headerAndTable, const Bytes& pixels)
{
    Bytes out{'B', 'M'};
    uint32_t offset = static_cast<uint32_t>(14 + headerAndTable.size());
    Put32(out, static_cast<uint32_t>(offset + pixels.size()));
    Put32(out, 0);
    Put32(out, offset);
    return out + headerAndTable + pixels;
}

// A temporary folder, removed with everything in it when the object goes.
class ScratchDir {
public:
    // In the system's temporary folder (on Windows too), named for the moment it was made.
    ScratchDir()
        : path_(
              (std::filesystem::temp_directory_path() /
               ("bricks-test-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count())))
                  .string())
    {
        std::filesystem::create_directories(path_);
    }
    ~ScratchDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    std::string Path(const std::string& name) const { return path_ + "/" + name; }

    std::string Write(const std::string& name, const Bytes& bytes) const
    {
        std::string path = Path(name);
        std::FILE* file = std::fopen(path.c_str(), "wb");
        if (file) {
            if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), file);
            std::fclose(file);
        }
        return path;
    }

private:
    std::string path_;
};

}  // namespace bmpfile
