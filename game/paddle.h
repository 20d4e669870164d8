// The player's paddle: a black 20 x 2 x 2 box that moves along x with its left end kept within
// -70 ... 60 at y = -40.
#pragma once

class Vertex;

class Paddle {
public:
    Paddle();
    ~Paddle();
    Paddle(const Paddle&) = delete;
    Paddle& operator=(const Paddle&) = delete;

    void Move(float dx);
    void Draw();
    void DrawBox();
    float GetX() const;
    float GetY() const;
    float GetZ() const;
    float GetWidth() const;
    float GetHeight() const;
    void Reset();

private:
    Vertex* position;  // owned; the box's lower-left corner nearest the back
    float height;
    float width;
};
