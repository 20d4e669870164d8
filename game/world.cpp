#include "game/world.h"

Ball* gBall = nullptr;
Paddle* gPaddle = nullptr;
Brick* gLowRow[kLowRowBricks] = {};
Brick* gMidRow[kMidRowBricks] = {};
Brick* gHighRow[kHighRowBricks] = {};
Skybox* gSkybox = nullptr;
Camera gCamera;
