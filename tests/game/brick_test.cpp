#include "game/brick.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/ball.h"
#include "game/world.h"
#include "math/vertex.h"
#include "shell/platform/sdl2/testing.h"
#include "shell/safedelete.h"

namespace {

class BrickTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        gBall = new Ball(3);
        testseam::RecordSounds(true);
        testseam::TakeSounds();
    }
    void TearDown() override
    {
        testseam::RecordSounds(false);
        SafeDelete(gBall);
    }

    // How many colour steps the ball has taken from white, read from its colour.
    static int ColourSteps()
    {
        const Vertex& c = gBall->GetColour();
        const float cycle[][3] = {{1, 1, 1}, {0, 1, 1}, {0, 0, 1}, {0, 0, 0}, {1, 0, 0}, {1, 1, 0}};
        for (int i = 0; i < 6; ++i) {
            if (c.GetX() == cycle[i][0] && c.GetY() == cycle[i][1] && c.GetZ() == cycle[i][2]) return i;
        }
        return -1;
    }
};

TEST_F(BrickTest, TakesItsPlaceAndSize)
{
    Brick brick(2, -35, 30);
    EXPECT_EQ(brick.GetX(), -35.0f);
    EXPECT_EQ(brick.GetY(), 30.0f);
    EXPECT_EQ(brick.GetZ(), 0.0f);
    EXPECT_EQ(brick.GetWidth(), 10.0f);
    EXPECT_EQ(brick.GetHeight(), 5.0f);
    EXPECT_EQ(brick.GetHitPoints(), 2);
    EXPECT_TRUE(brick.IsAlive());
}

TEST_F(BrickTest, EachHitActsOnTheHitPointsItFinds)
{
    // Per hit: the hit points left, alive, sounds played so far, colour steps of the ball so far.
    struct Step {
        int hitPoints;
        bool alive;
        size_t sounds;
        int colourSteps;
    };
    struct Case {
        int start;
        std::vector<Step> hits;
    } cases[] = {
        {3, {{2, true, 1, 0}, {1, true, 1, 1}, {0, false, 1, 1}}},
        {2, {{1, true, 0, 1}, {0, false, 0, 1}}},
        {1, {{0, false, 0, 0}}},
    };
    for (const Case& c : cases) {
        gBall->Reset();
        std::vector<std::string> sounds;
        Brick brick(c.start, 0, 20);
        for (size_t i = 0; i < c.hits.size(); ++i) {
            brick.Hit(true);
            for (std::string& name : testseam::TakeSounds()) sounds.push_back(name);
            const Step& step = c.hits[i];
            EXPECT_EQ(brick.GetHitPoints(), step.hitPoints) << c.start << "-point brick, hit " << i + 1;
            EXPECT_EQ(brick.IsAlive(), step.alive) << c.start << "-point brick, hit " << i + 1;
            EXPECT_EQ(sounds.size(), step.sounds) << c.start << "-point brick, hit " << i + 1;
            EXPECT_EQ(ColourSteps(), step.colourSteps) << c.start << "-point brick, hit " << i + 1;
        }
        for (const std::string& name : sounds) EXPECT_EQ(name, "PRES4YA");
    }
}

TEST_F(BrickTest, AMissChangesNothing)
{
    const int starts[] = {3, 2, 1};
    for (int start : starts) {
        Brick brick(start, 10, 40);
        for (int i = 0; i < 5; ++i) brick.Hit(false);
        EXPECT_EQ(brick.GetHitPoints(), start);
        EXPECT_TRUE(brick.IsAlive());
    }
    EXPECT_TRUE(testseam::TakeSounds().empty());
    EXPECT_EQ(ColourSteps(), 0);
}

TEST_F(BrickTest, ResetRevivesWithFullHitPoints)
{
    const int starts[] = {3, 2, 1};
    for (int start : starts) {
        Brick brick(start, -60, 20);
        for (int i = 0; i < start; ++i) brick.Hit(true);
        ASSERT_FALSE(brick.IsAlive());
        brick.Reset();
        EXPECT_TRUE(brick.IsAlive());
        EXPECT_EQ(brick.GetHitPoints(), start);

        // A partly worn brick comes back whole too.
        brick.Hit(true);
        brick.Reset();
        EXPECT_EQ(brick.GetHitPoints(), start);
        EXPECT_EQ(brick.GetX(), -60.0f);
        EXPECT_EQ(brick.GetY(), 20.0f);
    }
}

}  // namespace
