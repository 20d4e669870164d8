// x86: SSSE3 byte shuffles, used only when the processor reports SSSE3 at run time.
#include <tmmintrin.h>

#include "image/rgbrows.h"

namespace {

__attribute__((target("ssse3"))) void PackSsse3(const uint8_t* bgr, size_t stride, uint8_t* rgb,
                                                uint32_t width, uint32_t height)
{
    // Five pixels a step: reverse each 3-byte group of a 16-byte load; the 16th byte written is
    // overwritten by the next step.
    const __m128i swap = _mm_setr_epi8(2, 1, 0, 5, 4, 3, 8, 7, 6, 11, 10, 9, 14, 13, 12, 15);
    const size_t rowOut = static_cast<size_t>(width) * 3;
    if (height == 0) return;
    uint8_t* const end = rgb + rowOut * height;
    const uint8_t* const inEnd = bgr + (height - 1) * stride + rowOut;
    for (uint32_t y = 0; y < height; ++y) {
        const uint8_t* in = bgr + y * stride;
        uint8_t* out = rgb + y * rowOut;
        uint8_t* const rowEnd = out + rowOut;
        // Loads and stores may run one byte into the next row, which is read or written later, but
        // never past the last pixel.
        while (rowEnd - out >= 15 && end - out >= 16 && inEnd - in >= 16) {
            __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_shuffle_epi8(v, swap));
            in += 15;
            out += 15;
        }
        for (; out < rowEnd; out += 3, in += 3) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
        }
    }
}

bool HasSsse3()
{
    static const bool has = __builtin_cpu_supports("ssse3");
    return has;
}

}  // namespace

bool PackRgbRowsWide(const uint8_t* bgr, size_t stride, uint8_t* rgb, uint32_t width, uint32_t height)
{
    if (!HasSsse3()) return false;
    PackSsse3(bgr, stride, rgb, width, height);
    return true;
}
