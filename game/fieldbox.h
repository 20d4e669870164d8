// What a brick and the paddle share: a box standing on the field, known by its lower-left corner
// nearest the back and its size.
#pragma once

class Vertex;

class FieldBox {
public:
    FieldBox(const FieldBox&) = delete;
    FieldBox& operator=(const FieldBox&) = delete;

    float GetX() const;
    float GetY() const;
    float GetZ() const;
    float GetWidth() const;
    float GetHeight() const;

protected:
    FieldBox(float x, float y, float width, float height);
    ~FieldBox();

    Vertex* position;  // owned; the box's lower-left corner nearest the back
    float height;
    float width;
};
