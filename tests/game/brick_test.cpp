#include "game/brick.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "game/ball.h"
#include "game/world.h"
#include "math/vertex.h"
#include "shell/platform/winapi/testseam/testseam.h"
#include "shell/safedelete.h"

namespace {

class BrickTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        gBall = new Ball(3);
        testseam::RecordSounds(true);
    }
    void TearDown() override
    {
        testseam::RecordSounds(false);
        SafeDelete(gBall);
    }
    // Steps the ball has taken from white: cyan (0, 1, 1) is one, blue (0, 0, 1) two.
    static int ColourSteps()
    {
        const Vertex& c = gBall->GetColour();
        return c.GetX() == 1 ? (c.GetY() == 1 && c.GetZ() == 1 ? 0 : -1) : (c.GetY() == 1 ? 1 : 2);
    }
};

TEST_F(BrickTest, EachHitActsOnTheHitPointsItFinds)
{
    // After each hit: hit points, alive, sounds played so far, colour steps of the ball so far.
    struct Step {
        int hitPoints;
        bool alive;
        size_t sounds;
        int colourSteps;
    };
    struct {
        int start;
        std::vector<Step> hits;
    } cases[] = {
        {3, {{2, true, 1, 0}, {1, true, 1, 1}, {0, false, 1, 1}}},
        {2, {{1, true, 0, 1}, {0, false, 0, 1}}},
        {1, {{0, false, 0, 0}}},
    };
    for (const auto& c : cases) {
        gBall->Reset();
        Brick brick(c.start, -35, 30);
        for (int i = 0; i < 3; ++i) brick.Hit(false);
        EXPECT_TRUE(brick.IsAlive()) << "unscored hits leave a " << c.start << "-point brick alone";
        EXPECT_EQ(brick.GetHitPoints(), c.start);
        EXPECT_TRUE(testseam::TakeSounds().empty());
        std::vector<std::string> sounds;
        for (size_t i = 0; i < c.hits.size(); ++i) {
            brick.Hit(true);
            for (std::string& name : testseam::TakeSounds()) sounds.push_back(name);
            const Step& s = c.hits[i];
            EXPECT_EQ(brick.GetHitPoints(), s.hitPoints) << c.start << "-point brick, hit " << i + 1;
            EXPECT_EQ(brick.IsAlive(), s.alive) << c.start << "-point brick, hit " << i + 1;
            EXPECT_EQ(sounds.size(), s.sounds) << c.start << "-point brick, hit " << i + 1;
            EXPECT_EQ(ColourSteps(), s.colourSteps) << c.start << "-point brick, hit " << i + 1;
        }
        for (const std::string& name : sounds) EXPECT_EQ(name, "PRES4YA");
        brick.Reset();
        EXPECT_TRUE(brick.IsAlive()) << "reset " << c.start << "-point brick";
        EXPECT_EQ(brick.GetHitPoints(), c.start);
        EXPECT_EQ((std::array<float, 4>{brick.GetX(), brick.GetY(), brick.GetWidth(), brick.GetHeight()}),
                  (std::array<float, 4>{-35, 30, 10, 5}))
            << "x, y, width and height";
    }
}

}  // namespace
