#include "image/texture.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "shell/platform/winapi/testseam/testseam.h"
#include "tests/support/bmpfile.h"
#include "tests/support/glcontext.h"

using namespace bmpfile;

namespace {

// A 24-bit file whose pixel (x, y) is (x * 40, y * 60, 7), lowest row stored first.
Bytes TrueColourFile(int width, int height)
{
    std::vector<Bytes> rows;
    for (int y = 0; y < height; ++y) {
        Bytes row;
        for (int x = 0; x < width; ++x) row.insert(row.end(), {7, uint8_t(y * 60), uint8_t(x * 40)});
        rows.push_back(row);
    }
    return File(InfoHeader({width, height, 24}), PaddedRows(rows));
}

GLuint NextTextureName()
{
    GLuint name = 0;
    glGenTextures(1, &name);
    glDeleteTextures(1, &name);
    return name;
}

}  // namespace

TEST(TextureTest, NoPictureMeansFalseNothingWrittenNoGlCallAndNoMessage)
{
    GlContext context;
    ScratchDir dir;
    glBindTexture(GL_TEXTURE_2D, 0);
    testseam::RecordMessageBoxes(true);
    for (const char* name : {static_cast<const char*>(nullptr), "no/such/picture.bmp"}) {
        GLuint before = NextTextureName();
        uint32_t texture = 12345;
        EXPECT_FALSE(LoadTexture(name, &texture));
        EXPECT_EQ(texture, 12345u);
        GLint bound = -1;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        EXPECT_EQ(bound, 0);
        // No name was taken in between: texture names are handed out in order, never reused.
        EXPECT_EQ(NextTextureName(), before + 1);
    }
    EXPECT_TRUE(testseam::TakeMessageBoxes().empty());

    // A file that exists but is not a bitmap: the loader's message, and still nothing written.
    uint32_t texture = 12345;
    EXPECT_FALSE(LoadTexture(dir.Write("bad.bmp", Bytes(60, 'x')).c_str(), &texture));
    EXPECT_EQ(texture, 12345u);
    auto boxes = testseam::TakeMessageBoxes();
    testseam::RecordMessageBoxes(false);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Unknown DIB file format.");
}

TEST(TextureTest, EachLoadMakesANewBoundLinearTextureOfOneLevel)
{
    GlContext context;
    ScratchDir dir;
    std::string path = dir.Write("sky.bmp", TrueColourFile(8, 4));
    uint32_t first = 0, second = 0;
    ASSERT_TRUE(LoadTexture(path.c_str(), &first));
    ASSERT_TRUE(LoadTexture(path.c_str(), &second));
    EXPECT_NE(first, 0u);
    EXPECT_NE(first, second);

    GLint bound = 0, minFilter = 0, magFilter = 0, level1Width = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<uint32_t>(bound), second);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &level1Width);
    EXPECT_EQ(minFilter, GL_LINEAR);
    EXPECT_EQ(magFilter, GL_LINEAR);
    EXPECT_EQ(level1Width, 0) << "no mipmaps";
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(TextureTest, PicturesOfAnyWidthUploadPixelForPixel)
{
    GlContext context;
    ScratchDir dir;
    for (int width : {1, 3, 5, 6, 7}) {
        const int height = 3;
        uint32_t texture = 0;
        ASSERT_TRUE(LoadTexture(dir.Write("odd.bmp", TrueColourFile(width, height)).c_str(), &texture))
            << width;
        GLint alignment = 0;
        glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
        EXPECT_EQ(alignment, 4) << "the caller's unpack alignment is kept";

        std::vector<uint8_t> texels(static_cast<size_t>(width) * height * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const uint8_t* t = &texels[(static_cast<size_t>(y) * width + x) * 3];
                ASSERT_EQ(t[0], x * 40) << "width " << width << " at " << x << "," << y;
                ASSERT_EQ(t[1], y * 60) << "width " << width << " at " << x << "," << y;
                ASSERT_EQ(t[2], 7) << "width " << width << " at " << x << "," << y;
            }
        }
    }
}
