#include "game/skybox.h"

#include "game/world.h"
#include "image/texture.h"

namespace {

float Half(int size)
{
    return static_cast<float>(size / 2.0);
}

struct Corner {
    float s, t;   // texture coordinate; t = 0 is the picture's lowest row
    int x, y, z;  // signs of the half-extents
};

// Corners of each face in drawing order. The left picture covers +x and the right picture -x.
const Corner kFront[4] = {{0, 0, +1, -1, -1}, {1, 0, -1, -1, -1}, {1, 1, -1, +1, -1}, {0, 1, +1, +1, -1}};
const Corner kLeft[4] = {{0, 0, +1, -1, +1}, {1, 0, +1, -1, -1}, {1, 1, +1, +1, -1}, {0, 1, +1, +1, +1}};
const Corner kBack[4] = {{0, 0, -1, -1, +1}, {1, 0, +1, -1, +1}, {1, 1, +1, +1, +1}, {0, 1, -1, +1, +1}};
const Corner kRight[4] = {{0, 0, -1, -1, -1}, {1, 0, -1, -1, +1}, {1, 1, -1, +1, +1}, {0, 1, -1, +1, -1}};
const Corner kTop[4] = {{0, 1, +1, +1, +1}, {0, 0, +1, +1, -1}, {1, 0, -1, +1, -1}, {1, 1, -1, +1, +1}};
const Corner kFloor[4] = {{0, 0, -1, -1, -1}, {0, 1, -1, -1, +1}, {1, 1, +1, -1, +1}, {1, 0, +1, -1, -1}};

// glActiveTexture needs OpenGL 1.3; without it there is only one texture unit anyway.
void SelectTextureUnitZero()
{
    if (glActiveTexture) glActiveTexture(GL_TEXTURE0);
}

void DrawFace(GLuint texture, const Corner (&corners)[4], float w, float h, float d)
{
    SelectTextureUnitZero();
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    glBegin(GL_QUADS);
    for (const Corner& c : corners) {
        glTexCoord2f(c.s, c.t);
        glVertex3f(c.x * w, c.y * h, c.z * d);
    }
    glEnd();
}

}  // namespace

Skybox::Skybox(int width, int height, int depth)
{
    SetSize(width, height, depth);
}

void Skybox::SetSize(int width, int height, int depth)
{
    halfWidth = Half(width);
    halfHeight = Half(height);
    halfDepth = Half(depth);
}

void Skybox::MoveToCamera()
{
    x = gCamera.GetPosition().x;
    y = gCamera.GetPosition().y;
    z = gCamera.GetPosition().z;
}

void Skybox::LoadTextures()
{
    LoadTexture("skybox/ClearSky_front.bmp", &frontTexture);
    LoadTexture("skybox/ClearSky_left.bmp", &leftTexture);
    LoadTexture("skybox/ClearSky_back.bmp", &backTexture);
    LoadTexture("skybox/ClearSky_right.bmp", &rightTexture);
    LoadTexture("skybox/ClearSky_top.bmp", &topTexture);
    LoadTexture("skybox/marsdn.bmp", &floorTexture);
    // Acts on the texture bound last: the floor's, when its picture loaded.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
}

void Skybox::Draw()
{
    DrawFaces();
}

void Skybox::DrawAtPosition()
{
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glPushMatrix();
    glTranslatef(x, y, z);
    DrawFaces();
    glPopMatrix();
}

void Skybox::DrawFaces()
{
    const float w = halfWidth, h = halfHeight, d = halfDepth;
    DrawFace(frontTexture, kFront, w, h, d);
    DrawFace(leftTexture, kLeft, w, h, d);
    DrawFace(backTexture, kBack, w, h, d);
    DrawFace(rightTexture, kRight, w, h, d);
    DrawFace(topTexture, kTop, w, h, d);
    DrawFace(floorTexture, kFloor, w, h, d);
    SelectTextureUnitZero();
    glBindTexture(GL_TEXTURE_2D, 0);
    glDisable(GL_TEXTURE_2D);
}
