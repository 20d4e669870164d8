#include "game/ball.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "game/paddle.h"
#include "game/world.h"
#include "math/vertex.h"
#include "shell/safedelete.h"

namespace {

class BallTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        gPaddle = new Paddle();
        gBall = new Ball(3);
    }
    void TearDown() override
    {
        SafeDelete(gBall);
        SafeDelete(gPaddle);
    }

    // Puts the ball at rest over a paddle whose left end is at paddleX.
    static void RestOnPaddleAt(float paddleX)
    {
        gPaddle->Move(paddleX - gPaddle->GetX());
        gBall->Advance();
    }
};

void ExpectAt(const Ball& ball, float x, float y)
{
    EXPECT_EQ(ball.GetPosition().GetX(), x);
    EXPECT_EQ(ball.GetPosition().GetY(), y);
    EXPECT_EQ(ball.GetPosition().GetZ(), 0.0f);
}

TEST_F(BallTest, StartsWhiteAtRestAndFollowsThePaddle)
{
    EXPECT_FALSE(gBall->IsLaunched());
    EXPECT_TRUE(gBall->IsMovingUp());
    EXPECT_FALSE(gBall->IsMovingRight());
    EXPECT_EQ(gBall->GetLives(), 3);
    EXPECT_EQ(gBall->GetSpeed(), 0.1f);
    EXPECT_EQ(gBall->GetColour().GetX(), 1.0f);
    EXPECT_EQ(gBall->GetColour().GetY(), 1.0f);
    EXPECT_EQ(gBall->GetColour().GetZ(), 1.0f);
    ExpectAt(*gBall, 0, -40);

    const float paddles[] = {10, -70, 60, 13.25f};
    for (float x : paddles) {
        RestOnPaddleAt(x);
        ExpectAt(*gBall, x + 10, -37);
        EXPECT_FALSE(gBall->IsLaunched());
    }
}

TEST_F(BallTest, FirstMoveAfterLaunchIsUpAndLeftBySpeed)
{
    const float speeds[] = {0.1f, 0.35f, 1.0f};
    for (float speed : speeds) {
        gBall->Reset();
        gBall->SetSpeed(speed);
        RestOnPaddleAt(10);
        gBall->Launch();
        gBall->Advance();
        ExpectAt(*gBall, 20.0f - speed, -37.0f + speed);
        EXPECT_TRUE(gBall->IsLaunched());
    }
}

TEST_F(BallTest, LaunchInPlayChangesNothing)
{
    RestOnPaddleAt(10);
    gBall->Launch();
    for (int i = 0; i < 3; ++i) gBall->Advance();
    const float x = gBall->GetPosition().GetX();
    const float y = gBall->GetPosition().GetY();
    gBall->Launch();
    EXPECT_TRUE(gBall->IsLaunched());
    EXPECT_TRUE(gBall->IsMovingUp());
    EXPECT_FALSE(gBall->IsMovingRight());
    ExpectAt(*gBall, x, y);
    gBall->Advance();
    ExpectAt(*gBall, x - 0.1f, y + 0.1f);
}

TEST_F(BallTest, TurnsOnTheFrameThatCrossesAWallNotAtEquality)
{
    // At speed 1 from (-60, -37) every position is a whole number, so the ball lands exactly on each
    // bound one frame before it crosses it.
    gBall->SetSpeed(1);
    RestOnPaddleAt(-70);
    gBall->Launch();

    struct Event {
        int frame;
        float x, y;
        bool right, up, launched;
        int lives;
    };
    const std::vector<Event> expected = {
        {11, -71, -26, true, true, true, 3},    // left wall: x < -70
        {93, 11, 56, true, false, true, 3},     // upper wall: y > 55
        {143, 61, 6, false, false, true, 3},    // right wall: x > 60
        {200, 4, -51, false, false, false, 2},  // lost below y = -50
    };
    std::vector<Event> seen;
    bool right = gBall->IsMovingRight(), up = gBall->IsMovingUp(), launched = gBall->IsLaunched();
    for (int frame = 1; frame <= 200; ++frame) {
        gBall->Advance();
        if (gBall->IsMovingRight() != right || gBall->IsMovingUp() != up || gBall->IsLaunched() != launched) {
            right = gBall->IsMovingRight();
            up = gBall->IsMovingUp();
            launched = gBall->IsLaunched();
            seen.push_back({frame, gBall->GetPosition().GetX(), gBall->GetPosition().GetY(), right, up,
                            launched, gBall->GetLives()});
        }
    }
    ASSERT_EQ(seen.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(seen[i].frame, expected[i].frame) << "event " << i;
        EXPECT_EQ(seen[i].x, expected[i].x) << "event " << i;
        EXPECT_EQ(seen[i].y, expected[i].y) << "event " << i;
        EXPECT_EQ(seen[i].right, expected[i].right) << "event " << i;
        EXPECT_EQ(seen[i].up, expected[i].up) << "event " << i;
        EXPECT_EQ(seen[i].launched, expected[i].launched) << "event " << i;
        EXPECT_EQ(seen[i].lives, expected[i].lives) << "event " << i;
    }

    // The lost ball goes back on the paddle at the next frame, still heading down.
    gBall->Advance();
    ExpectAt(*gBall, -60, -37);
    EXPECT_FALSE(gBall->IsMovingUp());
}

TEST_F(BallTest, NothingClampsABallThatCrossedABound)
{
    // At 0.3 a step overshoots: the ball turns past the bound and stays there for the frame.
    gBall->SetSpeed(0.3f);
    RestOnPaddleAt(-70);
    gBall->Launch();
    float leftmost = 0;
    for (int frame = 0; frame < 60; ++frame) {
        gBall->Advance();
        leftmost = std::min(leftmost, gBall->GetPosition().GetX());
    }
    EXPECT_LT(leftmost, -70.0f);
    EXPECT_GT(leftmost, -70.3f - 1e-4f);
    EXPECT_TRUE(gBall->IsMovingRight());
}

TEST_F(BallTest, KeptInPlayByThePaddleItStaysInsideTheField)
{
    // A paddle that follows the ball returns it every time; over many frames the ball never gets
    // more than one step beyond a wall and is never lost.
    const float speeds[] = {0.1f, 0.3f, 0.7f, 1.0f};
    for (float speed : speeds) {
        gBall->Reset();
        gBall->SetSpeed(speed);
        RestOnPaddleAt(10);
        gBall->Launch();
        int bounces = 0;
        for (int frame = 0; frame < 20000; ++frame) {
            gBall->Advance();
            const float x = gBall->GetPosition().GetX();
            const float y = gBall->GetPosition().GetY();
            ASSERT_TRUE(gBall->IsLaunched()) << "speed " << speed << " frame " << frame;
            ASSERT_GE(x, -70.0f - speed - 1e-3f);
            ASSERT_LE(x, 60.0f + speed + 1e-3f);
            ASSERT_LE(y, 55.0f + speed + 1e-3f);
            gPaddle->Move(x - 10 - gPaddle->GetX());
            const bool wasUp = gBall->IsMovingUp();
            gBall->CollidePaddle(gPaddle->GetX(), gPaddle->GetY(), gPaddle->GetWidth(), gPaddle->GetHeight());
            if (!wasUp && gBall->IsMovingUp()) ++bounces;
        }
        EXPECT_GE(bounces, 5) << "speed " << speed;
        EXPECT_EQ(gBall->GetLives(), 3);
    }
}

TEST_F(BallTest, EachLostBallCostsALifeUntilDead)
{
    gBall->SetSpeed(1);
    for (int lives = 3; lives >= 1; --lives) {
        EXPECT_FALSE(gBall->IsDead());
        RestOnPaddleAt(10);
        gBall->Launch();
        // Send the ball down past the bottom: a lost ball is already falling, a new one is turned.
        if (gBall->IsMovingUp()) gBall->CollideBrick(-100, -100, 300, 300);
        int frames = 0;
        while (gBall->IsLaunched() && frames < 1000) {
            gBall->Advance();
            ++frames;
        }
        EXPECT_EQ(frames, 14);  // from y = -37 down to -51
        EXPECT_EQ(gBall->GetLives(), lives - 1);
    }
    EXPECT_TRUE(gBall->IsDead());

    Ball lastLife(1);
    EXPECT_FALSE(lastLife.IsDead());
    lastLife.SetSpeed(1);
    lastLife.Advance();
    lastLife.Launch();
    lastLife.CollideBrick(-100, -100, 300, 300);
    for (int i = 0; i < 14; ++i) lastLife.Advance();
    EXPECT_EQ(lastLife.GetLives(), 0);
    EXPECT_TRUE(lastLife.IsDead());
}

TEST_F(BallTest, LostBallRelaunchesDownAndThePaddleTurnsItUp)
{
    gBall->SetSpeed(1);
    RestOnPaddleAt(10);
    gBall->Launch();
    gBall->CollideBrick(-100, -100, 300, 300);
    while (gBall->IsLaunched()) gBall->Advance();
    EXPECT_FALSE(gBall->IsMovingUp());
    EXPECT_FALSE(gBall->IsMovingRight());

    RestOnPaddleAt(10);
    gBall->Launch();
    gBall->Advance();
    ExpectAt(*gBall, 19, -38);
    gBall->CollidePaddle(gPaddle->GetX(), gPaddle->GetY(), gPaddle->GetWidth(), gPaddle->GetHeight());
    EXPECT_TRUE(gBall->IsMovingUp());
}

TEST_F(BallTest, CollideBrickCountsTouchingEdgesAndFlipsOnlyTheVerticalDirection)
{
    // The ball rests at (20, -37): its collision square spans x 19 ... 21 and y -38 ... -36.
    struct Case {
        float x, y, width, height;
        bool struck;
        const char* what;
    } cases[] = {
        {21, -40, 10, 5, true, "left edge on the square's right side"},
        {21.01f, -40, 10, 5, false, "just right of the square"},
        {9, -40, 10, 5, true, "right edge on the square's left side"},
        {8.99f, -40, 10, 5, false, "just left of the square"},
        {15, -36, 10, 5, true, "lower edge on the square's top"},
        {15, -35.99f, 10, 5, false, "just above the square"},
        {15, -43, 10, 5, true, "upper edge on the square's bottom"},
        {15, -43.01f, 10, 5, false, "just below the square"},
        {21, -36, 10, 5, true, "corner on corner"},
        {0, -50, 100, 100, true, "rectangle around the square"},
        {19.5f, -37.5f, 1, 1, true, "rectangle inside the square"},
        {21, -36, 0, 0, true, "a point on the square's corner"},
        {21.5f, -37, 10, 5, false, "inside the drawn sphere but outside the square"},
    };
    RestOnPaddleAt(10);
    for (const Case& c : cases) {
        const bool up = gBall->IsMovingUp();
        EXPECT_EQ(gBall->CollideBrick(c.x, c.y, c.width, c.height), c.struck) << c.what;
        EXPECT_EQ(gBall->IsMovingUp(), c.struck ? !up : up) << c.what;
        EXPECT_FALSE(gBall->IsMovingRight()) << c.what;
        EXPECT_FALSE(gBall->IsLaunched()) << "a resting ball is tested too: " << c.what;
        ExpectAt(*gBall, 20, -37);
    }
}

TEST_F(BallTest, CollidePaddleOnlyTurnsALaunchedFallingBallUp)
{
    // Overlap rectangle around the resting ball at (20, -37), and one clear of it.
    struct Case {
        bool launched, up, overlapping;
        bool upAfter;
    } cases[] = {
        {true, false, true, true}, {true, true, true, true},    {true, false, false, false},
        {true, true, false, true}, {false, false, true, false}, {false, true, true, true},
    };
    for (const Case& c : cases) {
        gBall->Reset();
        RestOnPaddleAt(10);
        if (!c.up) gBall->CollideBrick(0, -50, 100, 100);
        if (c.launched) gBall->Launch();
        ASSERT_EQ(gBall->IsMovingUp(), c.up);
        if (c.overlapping) {
            gBall->CollidePaddle(10, -40, 20, 2);
        } else {
            gBall->CollidePaddle(10, -60, 20, 2);
        }
        EXPECT_EQ(gBall->IsMovingUp(), c.upAfter)
            << "launched " << c.launched << " up " << c.up << " overlapping " << c.overlapping;
        EXPECT_EQ(gBall->IsLaunched(), c.launched);
        ExpectAt(*gBall, 20, -37);
    }
}

TEST_F(BallTest, ColourCyclesThroughSixColoursAndResetStartsAgain)
{
    const float cycle[][3] = {{0, 1, 1}, {0, 0, 1}, {0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {1, 1, 1}};
    for (int round = 0; round < 2; ++round) {
        for (const auto& colour : cycle) {
            gBall->CycleColour();
            EXPECT_EQ(gBall->GetColour().GetX(), colour[0]);
            EXPECT_EQ(gBall->GetColour().GetY(), colour[1]);
            EXPECT_EQ(gBall->GetColour().GetZ(), colour[2]);
        }
    }

    // Stopped at red, where every flag is off, Reset turns the ball white and the cycle starts over.
    for (int i = 0; i < 4; ++i) gBall->CycleColour();
    gBall->Reset();
    EXPECT_EQ(gBall->GetColour().GetX(), 1.0f);
    EXPECT_EQ(gBall->GetColour().GetY(), 1.0f);
    EXPECT_EQ(gBall->GetColour().GetZ(), 1.0f);
    gBall->CycleColour();
    EXPECT_EQ(gBall->GetColour().GetX(), 0.0f);
    EXPECT_EQ(gBall->GetColour().GetY(), 1.0f);
    EXPECT_EQ(gBall->GetColour().GetZ(), 1.0f);
}

TEST_F(BallTest, ResetRestoresPlayButKeepsPositionAndSpeed)
{
    gBall->SetSpeed(1);
    RestOnPaddleAt(-70);
    gBall->Launch();
    for (int frame = 0; frame < 95; ++frame) gBall->Advance();
    ASSERT_TRUE(gBall->IsMovingRight());
    ASSERT_FALSE(gBall->IsMovingUp());
    gBall->CycleColour();
    const float x = gBall->GetPosition().GetX();
    const float y = gBall->GetPosition().GetY();

    gBall->Reset();
    EXPECT_FALSE(gBall->IsLaunched());
    EXPECT_TRUE(gBall->IsMovingUp());
    EXPECT_FALSE(gBall->IsMovingRight());
    EXPECT_EQ(gBall->GetLives(), 3);
    EXPECT_EQ(gBall->GetSpeed(), 1.0f);
    ExpectAt(*gBall, x, y);
    gBall->Advance();
    ExpectAt(*gBall, -60, -37);
}

}  // namespace
