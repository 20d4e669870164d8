#include "image/rgbrows.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

// Every width across the wide path's 5-pixel steps, with source and output allocated to the exact
// byte, so a load or store past either end shows up under the address sanitizer.
TEST(RgbRowsTest, RowsRepackRedFirstWithoutGapsForEveryWidth)
{
    for (uint32_t width = 1; width <= 41; ++width) {
        for (uint32_t height : {1u, 2u, 5u}) {
            const size_t stride = (width * 3 + 3) / 4 * 4;
            std::vector<uint8_t> bgr(stride * (height - 1) + width * 3);
            for (size_t i = 0; i < bgr.size(); ++i) bgr[i] = static_cast<uint8_t>(i * 7 + 1);
            std::vector<uint8_t> rgb(width * 3 * height);
            PackRgbRows(bgr.data(), stride, rgb.data(), width, height);
            for (uint32_t y = 0; y < height; ++y) {
                for (uint32_t x = 0; x < width; ++x) {
                    const uint8_t* in = &bgr[y * stride + x * 3];
                    const uint8_t* out = &rgb[(y * width + x) * 3];
                    ASSERT_EQ((std::array<int, 3>{out[0], out[1], out[2]}),
                              (std::array<int, 3>{in[2], in[1], in[0]}))
                        << "width " << width << ", height " << height << ", pixel " << x << "," << y;
                }
            }
        }
    }
}
