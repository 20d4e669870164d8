// A decoded picture: width x height pixels of red, green, blue bytes, rows packed without gaps,
// lowest row first (the layout glTexImage2D takes). The record and data are malloc'ed by the
// loader; whoever receives the record frees data and then the record with free.
#pragma once

#include <cstdint>

struct RgbImage {
    int32_t width;
    int32_t height;
    unsigned char* data;
};
