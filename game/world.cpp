#include "game/world.h"

Ball* gBall = nullptr;
Paddle* gPaddle = nullptr;
Camera gCamera;
