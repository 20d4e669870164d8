#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "shell/platform/platform.h"

namespace {

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

// A description in layer memory of exactly the given size: header, then extra bytes (table or masks).
BITMAPINFO* Description(const BITMAPINFOHEADER& header, const std::vector<uint8_t>& extra)
{
    auto* info = static_cast<BITMAPINFO*>(LocalAlloc(LMEM_FIXED, sizeof header + extra.size()));
    std::memcpy(info, &header, sizeof header);
    if (!extra.empty())
        std::memcpy(reinterpret_cast<uint8_t*>(info) + sizeof header, extra.data(), extra.size());
    return info;
}

BITMAPINFOHEADER Header(int w, int h, WORD bitCount, DWORD compression = BI_RGB, DWORD sizeImage = 0,
                        DWORD coloursUsed = 0)
{
    return {sizeof(BITMAPINFOHEADER), w, h, 1, bitCount, compression, sizeImage, 0, 0, coloursUsed, 0};
}

// Pixels in layer memory of exactly the given size.
struct Bits {
    void* block;
    explicit Bits(const std::vector<uint8_t>& bytes) : block(LocalAlloc(LMEM_FIXED, bytes.size()))
    {
        std::memcpy(block, bytes.data(), bytes.size());
    }
    ~Bits() { LocalFree(block); }
};

}  // namespace

TEST(GdiDibTest, RefusesWhatItCannotConvertOrWhatRunsPastItsBlock)
{
    const std::vector<uint8_t> palette(16 * 4, 9);
    struct Case {
        const char* what;
        BITMAPINFOHEADER header;
        std::vector<uint8_t> extra;
        size_t bitsSize;
        UINT usage;
    } cases[] = {
        {"bit count 3", Header(2, 2, 3), {}, 16, DIB_RGB_COLORS},
        {"24-bit run lengths", Header(2, 2, 24, BI_RLE8, 2), {}, 16, DIB_RGB_COLORS},
        {"PNG", Header(2, 2, 24, BI_PNG), {}, 16, DIB_RGB_COLORS},
        {"palette indices", Header(2, 2, 24), {}, 16, DIB_PAL_COLORS},
        {"width not the section's", Header(3, 2, 24), {}, 32, DIB_RGB_COLORS},
        {"height not the section's", Header(2, 3, 24), {}, 32, DIB_RGB_COLORS},
        {"rows past the pixel block", Header(2, 2, 24), {}, 15, DIB_RGB_COLORS},
        {"colour table past the description", Header(2, 2, 8), palette, 8, DIB_RGB_COLORS},
        {"masks past the description",
         Header(2, 2, 16, BI_BITFIELDS),
         {0, 0, 0, 0, 0, 0, 0, 0},
         8,
         DIB_RGB_COLORS},
        {"top-down run lengths", Header(2, -2, 8, BI_RLE8, 2, 1), {1, 2, 3, 4}, 2, DIB_RGB_COLORS},
        {"other header size",
         [] {
             auto h = Header(2, 2, 24);
             h.biSize = 108;
             return h;
         }(),
         {},
         16,
         DIB_RGB_COLORS},
    };
    for (const Case& c : cases) {
        Target target(2, 2);
        BITMAPINFO* info = Description(c.header, c.extra);
        Bits sized(std::vector<uint8_t>(c.bitsSize, 1));
        EXPECT_EQ(SetDIBits(target.dc, target.section, 0, 2, sized.block, info, c.usage), 0) << c.what;
        LocalFree(info);
    }
}

TEST(GdiDibTest, RunLengthStreamsStopAtTheEndOfTheirBlock)
{
    // Every prefix of a stream without an end marker: nothing is read past the block (ASan watches).
    const std::vector<uint8_t> stream = {2, 1, 0, 3, 1, 0, 1, 0, 0, 2, 1, 1, 0, 0, 3, 0};
    for (DWORD compression : {DWORD(BI_RLE8), DWORD(BI_RLE4)}) {
        for (size_t size = 1; size <= stream.size(); ++size) {
            Target target(4, 3);
            WORD bitCount = compression == BI_RLE8 ? 8 : 4;
            BITMAPINFO* info =
                Description(Header(4, 3, bitCount, compression, 1000, 2), {0, 0, 0, 0, 255, 255, 255, 0});
            Bits bits(std::vector<uint8_t>(stream.begin(), stream.begin() + size));
            EXPECT_EQ(SetDIBits(target.dc, target.section, 0, 3, bits.block, info, DIB_RGB_COLORS), 3);
            // The first run is index 1 (white): both RLE8 pixels, the second RLE4 pixel.
            if (size >= 2) {
                EXPECT_EQ(target.Pixel(bitCount == 8 ? 0 : 1, 0), (std::vector<uint8_t>{255, 255, 255}));
            }
            LocalFree(info);
        }
    }
}

TEST(GdiDibTest, PartialScanLinesWriteOnlyTheirRows)
{
    Target target(1, 3);
    std::memset(target.pixels, 0xee, target.Stride() * 3);
    BITMAPINFO* info = Description(Header(1, 3, 24), {});
    Bits one({7, 8, 9, 0});
    EXPECT_EQ(SetDIBits(target.dc, target.section, 1, 5, one.block, info, DIB_RGB_COLORS), 0)
        << "two lines asked for, one given";
    EXPECT_EQ(SetDIBits(target.dc, target.section, 1, 1, one.block, info, DIB_RGB_COLORS), 1);
    EXPECT_EQ(target.Pixel(0, 0), (std::vector<uint8_t>{0xee, 0xee, 0xee}));
    EXPECT_EQ(target.Pixel(0, 1), (std::vector<uint8_t>{7, 8, 9}));
    EXPECT_EQ(target.Pixel(0, 2), (std::vector<uint8_t>{0xee, 0xee, 0xee}));
    EXPECT_EQ(SetDIBits(target.dc, target.section, 3, 1, one.block, info, DIB_RGB_COLORS), 0)
        << "past the top";
    LocalFree(info);
}

TEST(GdiDibTest, SectionsFollowSelectionRules)
{
    HDC first = CreateCompatibleDC(nullptr);
    HDC second = CreateCompatibleDC(nullptr);
    BITMAPINFO info{};
    info.bmiHeader = Header(4, 4, 24);
    void* bits = reinterpret_cast<void*>(1);
    HBITMAP section = CreateDIBSection(first, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(section, nullptr);
    ASSERT_NE(bits, nullptr);

    HGDIOBJ original = SelectObject(first, section);
    EXPECT_NE(original, nullptr) << "a fresh context holds a stock bitmap";
    EXPECT_EQ(SelectObject(second, section), nullptr) << "a bitmap is in one context at a time";
    EXPECT_FALSE(DeleteObject(section)) << "a selected bitmap stays";
    EXPECT_EQ(SelectObject(first, original), section);
    EXPECT_TRUE(DeleteObject(section));
    EXPECT_FALSE(DeleteObject(section));
    EXPECT_TRUE(DeleteDC(first));
    EXPECT_TRUE(DeleteDC(second));
    EXPECT_FALSE(DeleteDC(second));

    struct Case {
        const char* what;
        BITMAPINFOHEADER header;
    } refused[] = {
        {"8-bit section", Header(4, 4, 8)},
        {"zero width", Header(0, 4, 24)},
        {"zero height", Header(4, 0, 24)},
        {"top-down", Header(4, -4, 24)},
        {"beyond the size limit", Header(40000, 40000, 24)},
    };
    for (const Case& c : refused) {
        info.bmiHeader = c.header;
        bits = reinterpret_cast<void*>(1);
        EXPECT_EQ(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr) << c.what;
        EXPECT_EQ(bits, nullptr) << c.what;
    }
}
