// The program-wide world objects. The game creates them once and reuses them on every reset; the
// keyboard bindings and the objects themselves reach them here (a brick steps the ball's colour, the
// resting ball follows the paddle).
#pragma once

#include "math/camera.h"

class Ball;
class Brick;
class Paddle;
class Skybox;

const int kLowRowBricks = 10;
const int kMidRowBricks = 9;
const int kHighRowBricks = 8;

extern Ball* gBall;                      // the ball; null until the game creates the world
extern Paddle* gPaddle;                  // the paddle; null until the game creates the world
extern Brick* gLowRow[kLowRowBricks];    // lowest row, one hit point each; brick 0 is the rightmost
extern Brick* gMidRow[kMidRowBricks];    // middle row, two hit points each
extern Brick* gHighRow[kHighRowBricks];  // highest row, three hit points each
extern Skybox* gSkybox;                  // the backdrop
extern Camera gCamera;  // the camera, constructed with its start preset before the program starts
