#include "image/texture.h"

#include <cstdio>
#include <cstdlib>

#include "image/dibimage.h"
#include "shell/platform/gl.h"

RgbImage* OpenImageFile(const char* fileName)
{
    if (!fileName) return nullptr;
    // A file that is missing or unreadable is no error worth a message box: there is no picture.
    std::FILE* file = std::fopen(fileName, "r");
    if (!file) return nullptr;
    std::fclose(file);
    return LoadDibImage(fileName);
}

bool LoadTexture(const char* fileName, uint32_t* texture)
{
    if (!texture) return false;
    RgbImage* Texture[1] = {nullptr};
    Texture[0] = OpenImageFile(fileName);
    if (!Texture[0]) return false;

    glGenTextures(1, texture);
    glBindTexture(GL_TEXTURE_2D, *texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    // Rows are packed three bytes a pixel, so any width is only read right with alignment 1; the
    // caller's alignment is put back afterwards.
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, Texture[0]->width, Texture[0]->height, 0, GL_RGB, GL_UNSIGNED_BYTE,
                 Texture[0]->data);
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);

    std::free(Texture[0]->data);
    std::free(Texture[0]);
    return true;
}
