// The ball and paddle the input and game code reach through gBall and gPaddle, made for one test and
// deleted after it, so no test sees another's.
#pragma once

#include "game/ball.h"
#include "game/paddle.h"
#include "game/world.h"

struct FieldObjects {
    FieldObjects()
    {
        gBall = new Ball(3);
        gPaddle = new Paddle();
    }
    ~FieldObjects()
    {
        delete gBall;
        delete gPaddle;
        gBall = nullptr;
        gPaddle = nullptr;
    }
    FieldObjects(const FieldObjects&) = delete;
    FieldObjects& operator=(const FieldObjects&) = delete;
};
