// Bitmap files turned into OpenGL textures.
#pragma once

#include <cstdint>

#include "image/rgbimage.h"

// The decoded picture of a file that exists and can be read, owned by the caller; null for a null
// name or a file that cannot be opened (silently), or when decoding fails (after the loader's
// message box).
RgbImage* OpenImageFile(const char* fileName);

// Makes a 2D texture from the named file and leaves it bound to GL_TEXTURE_2D, with linear filters
// and no mipmaps; its name is stored through texture. False when the file gave no picture: then
// nothing is written and no OpenGL call is made. Needs a current OpenGL context.
bool LoadTexture(const char* fileName, uint32_t* texture);
