// Processors without a wide path: the loader's plain loop does the work.
#include "image/rgbrows.h"

bool PackRgbRowsWide(const uint8_t*, size_t, uint8_t*, uint32_t, uint32_t)
{
    return false;
}
