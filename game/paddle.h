// The player's paddle: a black 20 x 2 x 2 box that moves along x with its left end kept within
// -70 ... 60 at y = -40.
#pragma once

#include "game/fieldbox.h"

class Paddle : public FieldBox {
public:
    Paddle();

    void Move(float dx);
    void Draw();
    void DrawBox();
    void Reset();
};
