#include "game/ball.h"

#include "game/paddle.h"
#include "game/world.h"
#include "math/vertex.h"
#include "shell/gameassert.h"
#include "shell/platform/gl.h"
#include "shell/safedelete.h"

// GLUT's header includes GL's, so it comes after GLEW (gl.h).
#include <GL/freeglut.h>

Ball::Ball(int startLives) : launched(false), movingUp(true), movingRight(false)
{
    position = new Vertex();
    colour = new Vertex();
    position->SetPoint(0.0f, -40.0f, 0.0f);
    colour->SetPoint(1.0f, 1.0f, 1.0f);
    colourStep = 0;
    redOn = true;
    greenOn = true;
    blueOn = true;
    lives = startLives;
    initialLives = startLives;
    speed = 0.1f;
}

Ball::~Ball()
{
    SafeDelete(position);
    SafeDelete(colour);
}

void Ball::Draw()
{
    glPushMatrix();
    glTranslatef(position->GetX(), position->GetY(), position->GetZ());
    glColor3f(colour->GetX(), colour->GetY(), colour->GetZ());
    glutSolidSphere(2.0, 10, 10);
    glPopMatrix();
}

void Ball::Advance()
{
    if (launched) {
        position->AddPoint(movingRight ? speed : -speed, 0.0f, 0.0f);
        position->AddPoint(0.0f, movingUp ? speed : -speed, 0.0f);
        CheckWalls();
    } else {
        // At rest the ball sits over the middle of the 20-wide paddle, its collision square just
        // touching the paddle's upper face.
        GAME_ASSERT(gPaddle);
        position->SetPoint(gPaddle->GetX() + 10.0f, -37.0f, 0.0f);
    }
}

void Ball::CheckWalls()
{
    // Strict tests and no clamping: a ball that crossed a bound turns and comes back a step a frame.
    if (position->GetX() > 60.0f) movingRight = false;
    if (position->GetX() < -70.0f) movingRight = true;
    if (position->GetY() > 55.0f) movingUp = false;
    if (position->GetY() < -50.0f) {
        launched = false;
        lives = lives - 1;
    }
}

void Ball::Launch()
{
    // A lost ball lies below the field until the next Advance puts it back on the paddle; launched
    // from there it would fall on and cost a life in every frame the launch key is held.
    if (position->GetY() < -50.0f) return;
    if (!launched) launched = true;
}

bool Ball::Overlaps(float x, float y, float width, float height) const
{
    // The ball collides as a square of half-size 1, smaller than the drawn sphere.
    const double cx = position->GetX();
    const double cy = position->GetY();
    const float left = static_cast<float>(cx - 1.0);
    const float right = static_cast<float>(cx + 1.0);
    const float lower = static_cast<float>(cy - 1.0);
    const float upper = static_cast<float>(cy + 1.0);
    const float top = y + height;
    const float rightEdge = x + width;
    // Touching edges count as overlap.
    if (top < lower) return false;
    if (y > upper) return false;
    if (x > right) return false;
    if (rightEdge < left) return false;
    return true;
}

bool Ball::CollideBrick(float x, float y, float width, float height)
{
    if (!Overlaps(x, y, width, height)) return false;
    movingUp = !movingUp;
    return true;
}

void Ball::CollidePaddle(float x, float y, float width, float height)
{
    if (!launched) return;
    // The paddle only turns a falling ball; a rising one that overlaps it keeps rising.
    if (Overlaps(x, y, width, height) && !movingUp) movingUp = true;
}

void Ball::CycleColour()
{
    colourStep = colourStep + 1;
    if (colourStep == 1) {
        colour->AddPoint(redOn ? -1.0f : 1.0f, 0.0f, 0.0f);
        redOn = !redOn;
    } else if (colourStep == 2) {
        colour->AddPoint(0.0f, greenOn ? -1.0f : 1.0f, 0.0f);
        greenOn = !greenOn;
    } else {
        colour->AddPoint(0.0f, 0.0f, blueOn ? -1.0f : 1.0f);
        blueOn = !blueOn;
        colourStep = 0;
    }
}

void Ball::Reset()
{
    launched = false;
    colourStep = 0;
    redOn = true;
    greenOn = true;
    blueOn = true;
    colour->SetPoint(1.0f, 1.0f, 1.0f);
    movingUp = true;
    movingRight = false;
    lives = initialLives;
}

bool Ball::IsDead()
{
    return lives < 1;
}

void Ball::SetSpeed(float newSpeed)
{
    speed = newSpeed;
}
