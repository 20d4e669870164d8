// The program-wide world objects. The game creates them once and reuses them on every reset; the
// keyboard bindings and the objects themselves reach them here (a brick steps the ball's colour, the
// resting ball follows the paddle).
#pragma once

#include "math/camera.h"

class Ball;
class Paddle;

extern Ball* gBall;      // the ball; null until the game creates the world
extern Paddle* gPaddle;  // the paddle; null until the game creates the world
extern Camera gCamera;   // the camera, constructed with its start preset before the program starts
