#include "game/ball.h"

#include <gtest/gtest.h>

#include <array>
#include <tuple>
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
    // Rests the ball over a paddle whose left end is at paddleX, and launches it if asked.
    static void StartFrom(float paddleX, float speed, bool launch = true)
    {
        gPaddle->Move(paddleX - gPaddle->GetX());
        gBall->SetSpeed(speed);
        gBall->Advance();
        if (launch) gBall->Launch();
    }
    static float X() { return gBall->GetPosition().GetX(); }
    static float Y() { return gBall->GetPosition().GetY(); }
    static std::array<float, 3> Colour()
    {
        const Vertex& c = gBall->GetColour();
        return {c.GetX(), c.GetY(), c.GetZ()};
    }
    static void HitPaddle()
    {
        gBall->CollidePaddle(gPaddle->GetX(), gPaddle->GetY(), gPaddle->GetWidth(), gPaddle->GetHeight());
    }
};

TEST_F(BallTest, RestsOnThePaddleAndFirstMovesUpAndLeftBySpeed)
{
    EXPECT_EQ(Y(), -40.0f);
    EXPECT_EQ(gBall->GetSpeed(), 0.1f);
    const float cases[][2] = {{10, 0.1f}, {-70, 0.35f}, {60, 1.0f}, {13.25f, 0.1f}};
    for (const auto& c : cases) {
        gBall->Reset();
        StartFrom(c[0], c[1], false);
        EXPECT_EQ(X(), c[0] + 10);
        EXPECT_EQ(Y(), -37.0f);
        gBall->Launch();
        gBall->Advance();
        gBall->Launch();  // a ball in play ignores a second launch
        gBall->Advance();
        EXPECT_EQ(X(), c[0] + 10 - c[1] - c[1]);
        EXPECT_EQ(Y(), -37.0f + c[1] + c[1]);
        EXPECT_TRUE(gBall->IsLaunched());
        EXPECT_TRUE(gBall->IsMovingUp());
        EXPECT_FALSE(gBall->IsMovingRight());
    }
}

TEST_F(BallTest, TurnsOnTheFrameThatCrossesAWallAndIsLostBelowTheField)
{
    // At speed 1 from (-60, -37) every position is whole: the ball lands exactly on each bound one
    // frame before it crosses it, and nothing pulls it back onto the bound.
    StartFrom(-70, 1);
    struct Event {
        int frame;
        float x, y;
        bool right, up, launched;
        int lives;
    };
    const Event expected[] = {
        {11, -71, -26, true, true, true, 3},    // x < -70
        {93, 11, 56, true, false, true, 3},     // y > 55
        {143, 61, 6, false, false, true, 3},    // x > 60
        {200, 4, -51, false, false, false, 2},  // y < -50: lost
    };
    std::vector<Event> seen;
    for (int frame = 1; frame <= 200; ++frame) {
        const bool right = gBall->IsMovingRight(), up = gBall->IsMovingUp(), launched = gBall->IsLaunched();
        gBall->Advance();
        if (gBall->IsMovingRight() != right || gBall->IsMovingUp() != up || gBall->IsLaunched() != launched)
            seen.push_back({frame, X(), Y(), gBall->IsMovingRight(), gBall->IsMovingUp(), gBall->IsLaunched(),
                            gBall->GetLives()});
    }
    ASSERT_EQ(seen.size(), 4u);
    const auto fields = [](const Event& e) {
        return std::make_tuple(e.frame, e.x, e.y, e.right, e.up, e.launched, e.lives);
    };
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(fields(seen[i]), fields(expected[i]))
            << "event " << i << ": frame, x, y, right, up, launched, lives";
    }

    // Back on the paddle next frame, still falling: relaunched, it meets the paddle at once and turns.
    gBall->Advance();
    EXPECT_EQ(X(), -60.0f);
    EXPECT_EQ(Y(), -37.0f);
    gBall->Launch();
    gBall->Advance();
    EXPECT_FALSE(gBall->IsMovingUp());
    HitPaddle();
    EXPECT_TRUE(gBall->IsMovingUp());
}

TEST_F(BallTest, KeptInPlayByAFollowingPaddleItStaysInsideTheField)
{
    for (float speed : {0.1f, 0.3f, 0.7f, 1.0f}) {
        gBall->Reset();
        StartFrom(10, speed);
        for (int frame = 0; frame < 20000; ++frame) {
            gBall->Advance();
            ASSERT_TRUE(gBall->IsLaunched()) << "speed " << speed << " frame " << frame;
            ASSERT_GE(X(), -70 - speed - 1e-3f) << "speed " << speed << " frame " << frame;
            ASSERT_LE(X(), 60 + speed + 1e-3f) << "speed " << speed << " frame " << frame;
            ASSERT_LE(Y(), 55 + speed + 1e-3f) << "speed " << speed << " frame " << frame;
            gPaddle->Move(X() - 10 - gPaddle->GetX());
            HitPaddle();
        }
    }
}

TEST_F(BallTest, EachLostBallCostsALifeUntilDead)
{
    for (int lives = 3; lives >= 1; --lives) {
        EXPECT_FALSE(gBall->IsDead());
        StartFrom(10, 1);
        if (gBall->IsMovingUp()) gBall->CollideBrick(-100, -100, 300, 300);  // send it down
        int frames = 0;
        while (gBall->IsLaunched() && frames < 1000) {
            gBall->Advance();
            ++frames;
        }
        EXPECT_EQ(frames, 14);  // from y = -37 to -51
        EXPECT_EQ(gBall->GetLives(), lives - 1);
    }
    EXPECT_TRUE(gBall->IsDead());
    gBall->Reset();
    EXPECT_EQ(gBall->GetLives(), 3);
    EXPECT_EQ(gBall->GetSpeed(), 1.0f);
    EXPECT_EQ(Y(), -51.0f);  // Reset leaves the position to the next Advance
}

TEST_F(BallTest, CollideBrickCountsTouchingEdgesAndFlipsOnlyTheVerticalDirection)
{
    // At rest at (20, -37) the collision square spans x 19 ... 21 and y -38 ... -36.
    struct {
        float x, y, width, height;
        bool struck;
    } cases[] = {
        {21, -40, 10, 5, true},     {21.01f, -40, 10, 5, false}, {9, -40, 10, 5, true},
        {8.99f, -40, 10, 5, false}, {15, -36, 10, 5, true},      {15, -35.99f, 10, 5, false},
        {15, -43, 10, 5, true},     {15, -43.01f, 10, 5, false}, {21, -36, 0, 0, true},
        {0, -50, 100, 100, true},   {19.5f, -37.5f, 1, 1, true}, {21.5f, -37, 10, 5, false},
    };
    StartFrom(10, 0.1f, false);
    for (const auto& c : cases) {
        const bool up = gBall->IsMovingUp();
        EXPECT_EQ(gBall->CollideBrick(c.x, c.y, c.width, c.height), c.struck) << c.x << ", " << c.y;
        EXPECT_EQ(gBall->IsMovingUp(), c.struck ? !up : up) << c.x << ", " << c.y;
        EXPECT_FALSE(gBall->IsMovingRight());
        EXPECT_FALSE(gBall->IsLaunched());
        EXPECT_EQ((std::array<float, 2>{X(), Y()}), (std::array<float, 2>{20, -37}))
            << "a collision moves no ball";
    }
}

TEST_F(BallTest, CollidePaddleOnlyTurnsALaunchedFallingBallUp)
{
    struct {
        bool launched, up, overlapping, upAfter;
    } cases[] = {
        {true, false, true, true},   {true, true, true, true},  {true, false, false, false},
        {false, false, true, false}, {false, true, true, true},
    };
    for (const auto& c : cases) {
        gBall->Reset();
        StartFrom(10, 0.1f, c.launched);
        if (!c.up) gBall->CollideBrick(0, -50, 100, 100);
        gBall->CollidePaddle(10, c.overlapping ? -40 : -60, 20, 2);
        EXPECT_EQ(gBall->IsMovingUp(), c.upAfter) << c.launched << c.up << c.overlapping;
    }
}

TEST_F(BallTest, ColourCyclesThroughSixColoursAndResetStartsAgain)
{
    const float cycle[][3] = {{0, 1, 1}, {0, 0, 1}, {0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {1, 1, 1}};
    for (int step = 0; step < 12; ++step) {
        gBall->CycleColour();
        const float* want = cycle[step % 6];
        EXPECT_EQ(Colour(), (std::array<float, 3>{want[0], want[1], want[2]})) << step;
    }
    for (int i = 0; i < 4; ++i) gBall->CycleColour();  // red, every flag off
    gBall->Reset();
    EXPECT_EQ(Colour(), (std::array<float, 3>{1, 1, 1}));
    gBall->CycleColour();
    EXPECT_EQ(Colour(), (std::array<float, 3>{0, 1, 1}));
}

TEST_F(BallTest, ALostBallHeldOnTheLaunchKeyGoesBackOnThePaddleBeforeItFlies)
{
    // A player holding the launch key through a lost ball: each frame the key launches, then the
    // ball advances. Launched from below the field it would fall on and lose every life at once.
    for (float speed : {0.1f, 0.35f, 1.0f}) {
        gBall->Reset();
        StartFrom(10, speed);
        gBall->CollideBrick(-100, -100, 300, 300);  // send it down
        int frames = 0;
        while (gBall->IsLaunched() && frames++ < 1000) gBall->Advance();
        ASSERT_EQ(gBall->GetLives(), 2) << speed;

        gBall->Launch();
        gBall->Advance();
        EXPECT_FALSE(gBall->IsLaunched()) << speed;
        EXPECT_EQ(Y(), -37.0f) << "back on the paddle, speed " << speed;
        gBall->Launch();
        gBall->Advance();
        HitPaddle();
        EXPECT_TRUE(gBall->IsLaunched()) << speed;
        EXPECT_TRUE(gBall->IsMovingUp()) << speed;
        EXPECT_EQ(gBall->GetLives(), 2) << speed;
    }
    // The field's reset after the last ball leaves the ball below the field too.
    gBall->Reset();
    StartFrom(10, 1.0f);
    gBall->CollideBrick(-100, -100, 300, 300);
    for (int lost = 0; lost < 3; ++lost) {
        while (gBall->IsLaunched()) gBall->Advance();
        if (lost < 2) StartFrom(10, 1.0f);
    }
    ASSERT_TRUE(gBall->IsDead());
    gBall->Reset();
    gBall->Launch();
    EXPECT_FALSE(gBall->IsLaunched());
    gBall->Advance();
    EXPECT_EQ(Y(), -37.0f);
}

}  // namespace
