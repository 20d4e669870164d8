// The one ball: its position, direction flags, speed, lives and a drawing colour that steps through a
// cycle of six colours. It moves a fixed step per frame along both axes, so it always travels on a
// 45-degree diagonal, and rests on the paddle until launched.
#pragma once

class Vertex;

class Ball {
public:
    explicit Ball(int startLives);
    ~Ball();
    Ball(const Ball&) = delete;
    Ball& operator=(const Ball&) = delete;

    void Draw();
    void Advance();
    void CheckWalls();
    void Launch();
    // The rectangles are given by their lower-left corner and their extent.
    bool CollideBrick(float x, float y, float width, float height);
    void CollidePaddle(float x, float y, float width, float height);
    void CycleColour();
    void Reset();
    bool IsDead();
    void SetSpeed(float newSpeed);

    bool IsLaunched() const { return launched; }
    bool IsMovingUp() const { return movingUp; }
    bool IsMovingRight() const { return movingRight; }
    const Vertex& GetPosition() const { return *position; }
    const Vertex& GetColour() const { return *colour; }
    int GetLives() const { return lives; }
    float GetSpeed() const { return speed; }

private:
    bool Overlaps(float x, float y, float width, float height) const;

    bool launched;
    bool movingUp;
    bool movingRight;
    bool redOn;
    bool greenOn;
    bool blueOn;
    Vertex* position;  // owned; the centre of the ball
    Vertex* colour;    // owned; red, green and blue in x, y and z, each 0 or 1
    int colourStep;
    int lives;
    int initialLives;
    float speed;
};
