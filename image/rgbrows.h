// Repacking 24-bit rows for the loader.
#pragma once

#include <cstddef>
#include <cstdint>

// Copies height rows of width pixels from a picture of blue, green, red rows stride bytes apart
// into rows of red, green, blue packed without gaps.
void PackRgbRows(const uint8_t* bgr, size_t stride, uint8_t* rgb, uint32_t width, uint32_t height);

// The same using wide vector instructions, where the processor has them. False when it has not,
// and nothing was written.
bool PackRgbRowsWide(const uint8_t* bgr, size_t stride, uint8_t* rgb, uint32_t width, uint32_t height);
