#include "game/paddle.h"

#include <gtest/gtest.h>

#include <array>

namespace {

TEST(Paddle, MovesAlongXAndClampsItsLeftEndToTheField)
{
    struct {
        float start, dx, expected;  // start is reached from 10 by one move inside the limits
    } cases[] = {
        {58, 5, 60},  {-68, -5, -70}, {60, 0, 60},    {-70, 0, -70},     {60, 0.1f, 60},  {-70, -0.1f, -70},
        {60, -1, 59}, {-70, 1, -69},  {10, 1000, 60}, {0, 0.25f, 0.25f}, {-10, -60, -70},
    };
    for (const auto& c : cases) {
        Paddle paddle;
        paddle.Move(c.start - 10);
        ASSERT_EQ(paddle.GetX(), c.start);
        paddle.Move(c.dx);
        EXPECT_EQ(paddle.GetX(), c.expected) << c.start << " + " << c.dx;
        EXPECT_EQ((std::array<float, 4>{paddle.GetY(), paddle.GetZ(), paddle.GetWidth(), paddle.GetHeight()}),
                  (std::array<float, 4>{-40, 0, 20, 2}))
            << "y, z, width and height";
        paddle.Reset();
        EXPECT_EQ(paddle.GetX(), 10.0f);
    }
}

}  // namespace
