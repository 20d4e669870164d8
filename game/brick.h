// One brick: a 10 x 5 x 2 box with hit points, red at 3, orange at 2 and yellow below. A hit on a
// 3-point brick plays the hit sound, a hit on a 2-point brick steps the ball's colour.
#pragma once

class Vertex;

class Brick {
public:
    Brick(int startHitPoints, int x, int y);
    ~Brick();
    Brick(const Brick&) = delete;
    Brick& operator=(const Brick&) = delete;

    void Draw();
    void DrawBox();
    void Hit(bool struck);
    bool IsAlive() const;
    float GetX() const;
    float GetY() const;
    float GetZ() const;
    float GetWidth() const;
    float GetHeight() const;
    void Reset();

    int GetHitPoints() const { return hitPoints; }

private:
    Vertex* position;  // owned; the box's lower-left corner nearest the back
    int hitPoints;
    int initialHitPoints;
    float height;
    float width;
    bool alive;
};
