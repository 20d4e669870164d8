#include "image/rgbrows.h"

#include <cstring>

namespace {

void PackRgbRowsPlain(const uint8_t* bgr, size_t stride, uint8_t* rgb, uint32_t width, uint32_t height)
{
    for (uint32_t y = 0; y < height; ++y) {
        const uint8_t* in = bgr + y * stride;
        for (uint32_t x = 0; x < width; ++x, in += 3, rgb += 3) {
            rgb[0] = in[2];
            rgb[1] = in[1];
            rgb[2] = in[0];
        }
    }
}

}  // namespace

void PackRgbRows(const uint8_t* bgr, size_t stride, uint8_t* rgb, uint32_t width, uint32_t height)
{
    if (PackRgbRowsWide(bgr, stride, rgb, width, height)) return;
    PackRgbRowsPlain(bgr, stride, rgb, width, height);
}
