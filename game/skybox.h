// The backdrop: an axis-aligned box of six textured faces about the world origin.
#pragma once

#include "shell/platform/gl.h"

class Skybox {
public:
    Skybox(int width, int height, int depth);
    ~Skybox() {}  // the textures live as long as the OpenGL context

    void SetSize(int width, int height, int depth);
    void MoveToCamera();
    void LoadTextures();
    void Draw();
    void DrawAtPosition();

    float HalfWidth() const { return halfWidth; }
    float HalfHeight() const { return halfHeight; }
    float HalfDepth() const { return halfDepth; }
    float X() const { return x; }
    float Y() const { return y; }
    float Z() const { return z; }
    GLuint FrontTexture() const { return frontTexture; }
    GLuint LeftTexture() const { return leftTexture; }
    GLuint BackTexture() const { return backTexture; }
    GLuint RightTexture() const { return rightTexture; }
    GLuint TopTexture() const { return topTexture; }
    GLuint FloorTexture() const { return floorTexture; }

private:
    void DrawFaces();

    // Position and texture names start at 0: texture 0 draws a face untextured if its picture failed.
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float halfWidth;
    float halfHeight;
    float halfDepth;
    GLuint frontTexture = 0;  // z = -halfDepth
    GLuint leftTexture = 0;   // x = +halfWidth
    GLuint backTexture = 0;   // z = +halfDepth
    GLuint rightTexture = 0;  // x = -halfWidth
    GLuint topTexture = 0;    // y = +halfHeight
    GLuint floorTexture = 0;  // y = -halfHeight
};
