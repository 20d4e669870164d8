#include "game/paddle.h"

#include <gtest/gtest.h>

namespace {

void ExpectAt(const Paddle& paddle, float x)
{
    EXPECT_EQ(paddle.GetX(), x);
    EXPECT_EQ(paddle.GetY(), -40.0f);
    EXPECT_EQ(paddle.GetZ(), 0.0f);
}

TEST(Paddle, StartsAtItsPlaceWithItsSize)
{
    Paddle paddle;
    ExpectAt(paddle, 10);
    EXPECT_EQ(paddle.GetWidth(), 20.0f);
    EXPECT_EQ(paddle.GetHeight(), 2.0f);
}

TEST(Paddle, MovesAlongXAndClampsItsLeftEndToTheField)
{
    struct Case {
        float start;  // reached from 10 by one move inside the limits
        float dx;
        float expected;
    } cases[] = {
        {58, 5, 60},       {-68, -5, -70},    {60, 0, 60},          {-70, 0, -70},   {60, 0.1f, 60},
        {-70, -0.1f, -70}, {59.5f, 0.5f, 60}, {-69.5f, -0.5f, -70}, {60, -1, 59},    {-70, 1, -69},
        {10, 1000, 60},    {10, -1000, -70},  {0, 0.25f, 0.25f},    {-10, -60, -70},
    };
    for (const Case& c : cases) {
        Paddle paddle;
        paddle.Move(c.start - 10);
        ASSERT_EQ(paddle.GetX(), c.start);
        paddle.Move(c.dx);
        ExpectAt(paddle, c.expected);
    }
}

TEST(Paddle, HeldKeyMovesAFixedStepEachFrame)
{
    // Ten frames at 0.5 to the right, then a long hold to the left that ends on the limit.
    Paddle paddle;
    for (int frame = 0; frame < 10; ++frame) paddle.Move(0.5f);
    ExpectAt(paddle, 15);
    for (int frame = 0; frame < 1000; ++frame) paddle.Move(-1.0f);
    ExpectAt(paddle, -70);
    paddle.Reset();
    ExpectAt(paddle, 10);
}

}  // namespace
