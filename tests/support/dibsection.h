// Bitmap descriptions, pixel blocks and a target section for SetDIBits, with the Windows API alone.
#pragma once

#include <cstring>
#include <vector>

#include "shell/platform/platform.h"

namespace dibsection {

// A 24-bit section selected into a memory context, released in the loader's order.
struct Target {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP section = nullptr;
    uint8_t* pixels = nullptr;
    int width, height;

    Target(int w, int h) : width(w), height(h)
    {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        section = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        pixels = static_cast<uint8_t*>(bits);
        SelectObject(dc, section);
    }
    ~Target()
    {
        DeleteDC(dc);
        DeleteObject(section);
    }
    size_t Stride() const { return (static_cast<size_t>(width) * 3 + 3) / 4 * 4; }
    // Blue, green, red of a pixel, rows counted from the bottom.
    std::vector<uint8_t> Pixel(int x, int y) const
    {
        const uint8_t* p = pixels + static_cast<size_t>(y) * Stride() + 3 * x;
        return {p[0], p[1], p[2]};
    }
};

inline BITMAPINFOHEADER Header(int w, int h, WORD bitCount, DWORD compression = BI_RGB, DWORD sizeImage = 0,
                               DWORD coloursUsed = 0)
{
    return {sizeof(BITMAPINFOHEADER), w, h, 1, bitCount, compression, sizeImage, 0, 0, coloursUsed, 0};
}

// A description in local memory of exactly the given size: header, then extra bytes (table or masks).
struct Description {
    BITMAPINFO* info;
    Description(const BITMAPINFOHEADER& header, const std::vector<uint8_t>& extra)
        : info(static_cast<BITMAPINFO*>(LocalAlloc(LMEM_FIXED, sizeof header + extra.size())))
    {
        std::memcpy(info, &header, sizeof header);
        if (!extra.empty())
            std::memcpy(reinterpret_cast<uint8_t*>(info) + sizeof header, extra.data(), extra.size());
    }
    ~Description() { LocalFree(info); }
};

// Pixels in local memory of exactly the given size.
struct Bits {
    void* block;
    explicit Bits(const std::vector<uint8_t>& bytes) : block(LocalAlloc(LMEM_FIXED, bytes.size()))
    {
        std::memcpy(block, bytes.data(), bytes.size());
    }
    ~Bits() { LocalFree(block); }
};

}  // namespace dibsection
