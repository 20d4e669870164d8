#include "game/brick.h"

#include "game/ball.h"
#include "game/box.h"
#include "game/world.h"
#include "math/vertex.h"
#include "shell/gameassert.h"
#include "shell/platform/gl.h"

Brick::Brick(int startHitPoints, int x, int y)
    : FieldBox(static_cast<float>(x), static_cast<float>(y), 10.0f, 5.0f),
      hitPoints(startHitPoints),
      initialHitPoints(startHitPoints),
      alive(true)
{
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

void Brick::Reset()
{
    hitPoints = initialHitPoints;
    alive = true;
}
