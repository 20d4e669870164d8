// Windows bitmap (DIB) files decoded into RgbImage records.
#pragma once

#include <cstdint>

#include "image/rgbimage.h"

// Pictures with more pixels than this are refused as too large to hold (8192 x 8192).
constexpr uint64_t kMaxDibPixels = uint64_t(1) << 26;

// Colour-table entries that follow a bitmap header of either size (12 or 40 bytes).
uint16_t ColorTableSize(const void* bitmapHeader);

// Decodes the named bitmap file. On failure it shows an error message box and returns null.
RgbImage* LoadDibImage(const char* fileName);
