// The sky and the hit sound for the browser page, which paints them in its own workers and writes them
// into the page's file system before the game starts, instead of downloading 4.7 MB of bitmaps. The
// same pictures and sound the generator writes on the build machine, byte for byte.
#pragma once

#include <cstdint>

extern "C" {

// The number of files: the six faces in the game's loading order, then the sound.
int AssetCount();
// A file's path as the game opens it from its folder ("skybox/marsdn.bmp"); null past the end.
const char* AssetName(int index);
// Paints one file and returns its bytes, kept until the next call; null past the end.
const uint8_t* PaintAsset(int index);
// The length of what PaintAsset returned last.
uint32_t PaintedSize();
}
