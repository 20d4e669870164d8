#include "game/brick.h"

#include "game/ball.h"
#include "game/box.h"
#include "game/world.h"
#include "math/vertex.h"
#include "shell/gameassert.h"
#include "shell/platform/gl.h"
#include "shell/safedelete.h"

Brick::Brick(int startHitPoints, int x, int y)
    : position(new Vertex()),
      hitPoints(startHitPoints),
      initialHitPoints(startHitPoints),
      height(5.0f),
      width(10.0f),
      alive(true)
{
    position->SetPoint(static_cast<float>(x), static_cast<float>(y), 0.0f);
}

Brick::~Brick()
{
    SafeDelete(position);
}

void Brick::Draw()
{
    if (!alive) return;
    glPushMatrix();
    glTranslatef(position->GetX(), position->GetY(), position->GetZ());
    if (hitPoints == 3) {
        glColor3f(1.0f, 0.0f, 0.0f);
    } else if (hitPoints == 2) {
        glColor3f(1.0f, 0.5f, 0.0f);
    } else {
        glColor3f(1.0f, 1.0f, 0.0f);
    }
    DrawBox();
    glPopMatrix();
}

void Brick::DrawBox()
{
    DrawBoxFaces(10.0f, 5.0f, 2.0f);
}

void Brick::Hit(bool struck)
{
    if (!struck) return;
    // Both tests look at the hit points before this hit takes one off.
    if (hitPoints == 3) PlaySoundA("PRES4YA", nullptr, SND_ASYNC);
    if (hitPoints == 2) {
        GAME_ASSERT(gBall);
        gBall->CycleColour();
    }
    hitPoints = hitPoints - 1;
    if (hitPoints < 1) alive = false;
}

bool Brick::IsAlive() const
{
    return alive;
}

float Brick::GetX() const
{
    return position->GetX();
}

float Brick::GetY() const
{
    return position->GetY();
}

float Brick::GetZ() const
{
    return position->GetZ();
}

float Brick::GetWidth() const
{
    return width;
}

float Brick::GetHeight() const
{
    return height;
}

void Brick::Reset()
{
    hitPoints = initialHitPoints;
    alive = true;
}
