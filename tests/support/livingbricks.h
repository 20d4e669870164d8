// The world's bricks, counted as the tests that play the game look at them.
#pragma once

#include "game/brick.h"
#include "game/world.h"

// Calls f on every brick, row by row from the lowest.
template <typename F>
void ForEachBrick(F f)
{
    for (Brick* b : gLowRow) f(*b);
    for (Brick* b : gMidRow) f(*b);
    for (Brick* b : gHighRow) f(*b);
}

inline int LivingBricks()
{
    int living = 0;
    ForEachBrick([&](const Brick& b) { living += b.IsAlive(); });
    return living;
}
