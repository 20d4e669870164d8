// One brick: a 10 x 5 x 2 box with hit points, red at 3, orange at 2 and yellow below. A hit on a
// 3-point brick plays the hit sound, a hit on a 2-point brick steps the ball's colour.
#pragma once

#include "game/fieldbox.h"

class Brick : public FieldBox {
public:
    Brick(int startHitPoints, int x, int y);

    void Draw();
    void DrawBox();
    void Hit(bool struck);
    bool IsAlive() const;
    void Reset();

    int GetHitPoints() const { return hitPoints; }

private:
    int hitPoints;
    int initialHitPoints;
    bool alive;
};
