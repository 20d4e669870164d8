// SetDIBits and DIB sections as Windows has them; the layer's own refusals of what Windows accepts
// (a subset) and its checks against the size of each block are in tests/platform/gdi_dib_test.cpp.
#include <gtest/gtest.h>

#include "tests/support/dibsection.h"
#include "tests/support/underwine.h"

namespace {

using dibsection::Bits;
using dibsection::Description;
using dibsection::Header;
using dibsection::Target;

TEST(GdiDib, RefusesWhatNoDibCanHold)
{
    struct Case {
        const char* what;
        BITMAPINFOHEADER header;
        std::vector<uint8_t> extra;
    } cases[] = {
        {"bit count 3", Header(2, 2, 3), {}},
        {"24-bit run lengths", Header(2, 2, 24, BI_RLE8, 2), {}},
        {"PNG", Header(2, 2, 24, BI_PNG), {}},
        {"top-down run lengths", Header(2, -2, 8, BI_RLE8, 2, 1), {1, 2, 3, 4}},
    };
    for (const Case& c : cases) {
        Target target(2, 2);
        Description description(c.header, c.extra);
        Bits bits(std::vector<uint8_t>(64, 1));
        EXPECT_EQ(SetDIBits(target.dc, target.section, 0, 2, bits.block, description.info, DIB_RGB_COLORS), 0)
            << c.what;
    }
}

TEST(GdiDib, PartialScanLinesWriteOnlyTheirRows)
{
    Target target(1, 3);
    std::memset(target.pixels, 0xee, target.Stride() * 3);
    Description description(Header(1, 3, 24), {});
    Bits one({7, 8, 9, 0});
    EXPECT_EQ(SetDIBits(target.dc, target.section, 1, 1, one.block, description.info, DIB_RGB_COLORS), 1);
    EXPECT_EQ(target.Pixel(0, 0), (std::vector<uint8_t>{0xee, 0xee, 0xee}));
    EXPECT_EQ(target.Pixel(0, 1), (std::vector<uint8_t>{7, 8, 9}));
    EXPECT_EQ(target.Pixel(0, 2), (std::vector<uint8_t>{0xee, 0xee, 0xee}));
    EXPECT_EQ(SetDIBits(target.dc, target.section, 3, 1, one.block, description.info, DIB_RGB_COLORS), 0)
        << "past the top";
}

TEST(GdiDib, SectionsFollowSelectionRules)
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
    // Windows' documentation: DeleteObject fails for an object selected into a context. Wine says yes
    // and deletes it once it is deselected.
    const bool deletedWhileSelected = DeleteObject(section);
    EXPECT_EQ(deletedWhileSelected, UnderWine()) << "a selected bitmap stays";
    EXPECT_EQ(SelectObject(first, original), section);
    EXPECT_NE(DeleteObject(section), deletedWhileSelected);
    EXPECT_FALSE(DeleteObject(section));
    EXPECT_TRUE(DeleteDC(first));
    EXPECT_TRUE(DeleteDC(second));
    EXPECT_FALSE(DeleteDC(second));

    struct Case {
        const char* what;
        BITMAPINFOHEADER header;
    } refused[] = {
        {"zero width", Header(0, 4, 24)},
        {"zero height", Header(4, 0, 24)},
        {"beyond the size limit", Header(40000, 40000, 24)},
    };
    for (const Case& c : refused) {
        info.bmiHeader = c.header;
        bits = reinterpret_cast<void*>(1);
        EXPECT_EQ(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr) << c.what;
        EXPECT_EQ(bits, nullptr) << c.what;
    }
}

}  // namespace
