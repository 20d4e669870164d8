// Where our SetDIBits is stricter than Windows: the formats it leaves out, and every read checked
// against the block it was handed. What it shares with Windows is in tests/winapi/gdi32_dib_test.cpp.
#include <gtest/gtest.h>

#include "tests/support/dibsection.h"

using dibsection::Bits;
using dibsection::Description;
using dibsection::Header;
using dibsection::Target;

TEST(GdiDibTest, RefusesWhatItLeavesOutOrWhatRunsPastItsBlock)
{
    const std::vector<uint8_t> palette(16 * 4, 9);
    struct Case {
        const char* what;
        BITMAPINFOHEADER header;
        std::vector<uint8_t> extra;
        size_t bitsSize;
        UINT usage;
    } cases[] = {
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
        Description description(c.header, c.extra);
        Bits sized(std::vector<uint8_t>(c.bitsSize, 1));
        EXPECT_EQ(SetDIBits(target.dc, target.section, 0, 2, sized.block, description.info, c.usage), 0)
            << c.what;
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
            Description description(Header(4, 3, bitCount, compression, 1000, 2),
                                    {0, 0, 0, 0, 255, 255, 255, 0});
            Bits bits(std::vector<uint8_t>(stream.begin(), stream.begin() + size));
            EXPECT_EQ(
                SetDIBits(target.dc, target.section, 0, 3, bits.block, description.info, DIB_RGB_COLORS), 3);
            // The first run is index 1 (white): both RLE8 pixels, the second RLE4 pixel.
            if (size >= 2) {
                EXPECT_EQ(target.Pixel(bitCount == 8 ? 0 : 1, 0), (std::vector<uint8_t>{255, 255, 255}));
            }
        }
    }
}

TEST(GdiDibTest, ScanLinesPastThePixelBlockAreRefused)
{
    Target target(1, 3);
    Description description(Header(1, 3, 24), {});
    Bits one({7, 8, 9, 0});
    EXPECT_EQ(SetDIBits(target.dc, target.section, 1, 5, one.block, description.info, DIB_RGB_COLORS), 0)
        << "two lines asked for, one given";
}

TEST(GdiDibTest, SectionsAreOnly24BitAndBottomUp)
{
    struct Case {
        const char* what;
        BITMAPINFOHEADER header;
    } refused[] = {
        {"8-bit section", Header(4, 4, 8)},
        {"top-down", Header(4, -4, 24)},
    };
    for (const Case& c : refused) {
        BITMAPINFO info{};
        info.bmiHeader = c.header;
        void* bits = reinterpret_cast<void*>(1);
        EXPECT_EQ(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr) << c.what;
        EXPECT_EQ(bits, nullptr) << c.what;
    }
}
