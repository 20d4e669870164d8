#include "input/directinput.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <string>
#include <vector>

#include "shell/platform/winapi/testseam/testseam.h"
#include "tests/support/fieldobjects.h"

namespace {

using Calls = std::vector<std::string>;

// A ball and paddle in the program-wide slots and a keyboard the test scripts frame by frame.
class DirectInputTest : public ::testing::Test {
protected:
    FieldObjects field;

    void SetUp() override { Hold({}); }

    void TearDown() override
    {
        testseam::UseRealKeyboard();
        testseam::RecordInputCalls(false);
        testseam::TakeInputCalls();
        testseam::ClearInputFailures();
    }

    static void Hold(std::initializer_list<int> codes)
    {
        uint8_t keys[256] = {};
        for (int code : codes) keys[code] = 0x80;
        testseam::SetKeyboardSnapshot(keys);
    }

    static void Frame(DirectInput& input, std::initializer_list<int> codes)
    {
        Hold(codes);
        input.Update();
    }
};

TEST_F(DirectInputTest, RightAndLeftTogetherMoveRightThenLeftWithinTheLimits)
{
    // At a limit the order shows: right then left leaves the paddle one step inside the right
    // limit and exactly on the left one.
    const struct {
        const char* where;
        float start;
        float expected;
    } cases[] = {
        {"middle", 10.0f, 10.0f},
        {"right limit", 60.0f, 59.9f},
        {"left limit", -70.0f, -70.0f},
    };
    for (const auto& c : cases) {
        DirectInput input;
        gPaddle->Reset();
        gPaddle->Move(c.start - gPaddle->GetX());
        ASSERT_FLOAT_EQ(gPaddle->GetX(), c.start) << c.where;
        Frame(input, {DIK_RIGHT, DIK_LEFT});
        EXPECT_NEAR(gPaddle->GetX(), c.expected, 1e-4) << c.where;
    }
}

TEST_F(DirectInputTest, SpaceLaunchesButASpeedChangeInTheSameFramePutsTheBallBack)
{
    DirectInput input;
    Frame(input, {DIK_SPACE});
    EXPECT_TRUE(gBall->IsLaunched());

    gBall->Reset();
    Frame(input, {DIK_SPACE, DIK_EQUALS});
    EXPECT_FALSE(gBall->IsLaunched()) << "the reset after the speed change comes after the launch";
    EXPECT_NEAR(gBall->GetSpeed(), 0.2f, 1e-6);
}

TEST_F(DirectInputTest, HoldingEqualsClimbsATenthPerFrameToOneAndResetsEveryFrame)
{
    DirectInput input;
    for (int frame = 1; frame <= 12; ++frame) {
        gBall->Launch();
        gPaddle->Move(5.0f);
        Frame(input, {DIK_EQUALS});
        if (frame < 9) {
            EXPECT_NEAR(gBall->GetSpeed(), 0.1 * (frame + 1), 1e-6) << "frame " << frame;
            EXPECT_LT(gBall->GetSpeed(), 1.0f) << "frame " << frame;
        } else {
            EXPECT_EQ(gBall->GetSpeed(), 1.0f) << "frame " << frame << " should be held at exactly 1.0";
        }
        EXPECT_FALSE(gBall->IsLaunched()) << "frame " << frame;
        EXPECT_EQ(gPaddle->GetX(), 10.0f) << "frame " << frame;
    }
}

TEST_F(DirectInputTest, MinusAtTheFloorKeepsTheFloorAndStillResets)
{
    DirectInput input;
    Frame(input, {DIK_EQUALS});
    Frame(input, {DIK_MINUS});
    EXPECT_EQ(gBall->GetSpeed(), 0.1f) << "0.2 down by a tenth lands on the floor";
    for (int frame = 0; frame < 3; ++frame) {
        gBall->Launch();
        gPaddle->Move(-5.0f);
        Frame(input, {DIK_MINUS});
        EXPECT_EQ(gBall->GetSpeed(), 0.1f);
        EXPECT_FALSE(gBall->IsLaunched());
        EXPECT_EQ(gPaddle->GetX(), 10.0f);
    }
}

TEST_F(DirectInputTest, EqualsAndMinusTogetherGoUpThenDown)
{
    DirectInput input;
    Frame(input, {DIK_EQUALS, DIK_MINUS});
    EXPECT_EQ(gBall->GetSpeed(), 0.1f) << "from the floor: up to 0.2 and back to 0.1f";

    for (int frame = 0; frame < 10; ++frame) Frame(input, {DIK_EQUALS});
    ASSERT_EQ(gBall->GetSpeed(), 1.0f);
    Frame(input, {DIK_EQUALS, DIK_MINUS});
    EXPECT_NEAR(gBall->GetSpeed(), 0.9f, 1e-6) << "from the ceiling: held at 1.0, then down";
    EXPECT_LT(gBall->GetSpeed(), 1.0f);
}

TEST_F(DirectInputTest, LostKeyboardCountsAsNoKeysAndIsTakenBackForTheNextFrame)
{
    DirectInput input;
    testseam::RecordInputCalls(true);
    Hold({DIK_RIGHT});
    testseam::LoseKeyboard();
    input.Update();
    EXPECT_EQ(gPaddle->GetX(), 10.0f) << "a lost frame acts on no key";
    EXPECT_EQ(testseam::TakeInputCalls(), (Calls{"keyboard.GetDeviceState", "keyboard.Acquire"}));

    input.Update();
    EXPECT_NEAR(gPaddle->GetX(), 10.1f, 1e-6) << "the keyboard is back the frame after";

    Hold({DIK_SPACE});
    testseam::LoseKeyboard();
    input.Update();
    EXPECT_FALSE(gBall->IsLaunched()) << "a lost read holds no launch key either";
    input.Update();
    EXPECT_TRUE(gBall->IsLaunched());
}

TEST_F(DirectInputTest, SetUpAndDeletionCallTheDevicesInOrder)
{
    testseam::RecordInputCalls(true);
    {
        DirectInput input;
        EXPECT_EQ(testseam::TakeInputCalls(),
                  (Calls{"input.Create", "keyboard.Create", "keyboard.SetDataFormat",
                         "keyboard.SetCooperativeLevel", "keyboard.Acquire", "mouse.Create",
                         "mouse.SetDataFormat", "mouse.SetCooperativeLevel", "mouse.Acquire",
                         "input.EnumDevices"}))
            << "the keyboard and the mouse as before, then the controllers (none here)";
    }
    EXPECT_EQ(testseam::TakeInputCalls(), (Calls{"mouse.Unacquire", "mouse.Release", "input.Release",
                                                 "keyboard.Unacquire", "keyboard.Release"}))
        << "deleting the input object gives every DirectInput object back, the interface before the keyboard";
}

TEST_F(DirectInputTest, KeyboardSetUpStopsAtTheFirstFailedStep)
{
    const char* steps[] = {"keyboard.Create", "keyboard.SetDataFormat", "keyboard.SetCooperativeLevel",
                           "keyboard.Acquire"};
    for (size_t failing = 0; failing < 4; ++failing) {
        testseam::ClearInputFailures();
        DirectInput input;
        input.Release();
        ASSERT_TRUE(input.InitInput());
        testseam::FailInputCall(steps[failing]);
        testseam::RecordInputCalls(true);
        EXPECT_FALSE(input.InitDevices()) << steps[failing];
        testseam::RecordInputCalls(false);
        EXPECT_EQ(testseam::TakeInputCalls(), Calls(steps, steps + failing + 1))
            << "no step after " << steps[failing] << ", and no mouse";
    }
}

TEST_F(DirectInputTest, MouseThatCannotBeCreatedIsLeftAlone)
{
    testseam::FailInputCall("mouse.Create");
    testseam::RecordInputCalls(true);
    DirectInput input;
    const Calls calls = testseam::TakeInputCalls();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[calls.size() - 2], "mouse.Create") << "no call on a mouse that does not exist";
    Frame(input, {DIK_SPACE});
    EXPECT_TRUE(gBall->IsLaunched()) << "the keyboard works without a mouse";
}

TEST_F(DirectInputTest, MouseReadsAsStillAndButtonsOutOfRangeAreUp)
{
    DirectInput input;
    Frame(input, {DIK_SPACE});
    for (int button : {-1, 0, 3, 7, 8, 1000}) EXPECT_FALSE(input.IsMouseButtonDown(button)) << button;
    EXPECT_EQ(input.GetMouseX(), 0.0f);
    EXPECT_EQ(input.GetMouseY(), 0.0f);
    EXPECT_EQ(input.GetMouseWheel(), 0.0f);
}

TEST_F(DirectInputTest, ReleasedInputReadsNoKeys)
{
    DirectInput input;
    input.Release();
    Frame(input, {DIK_SPACE, DIK_RIGHT});
    EXPECT_FALSE(gBall->IsLaunched());
    EXPECT_EQ(gPaddle->GetX(), 10.0f);
}

// The failed assertion's report is a message box too: recorded, so nothing waits for a click.
class DirectInputDeathTest : public DirectInputTest {
protected:
    void SetUp() override
    {
        DirectInputTest::SetUp();
        testseam::RecordMessageBoxes(true);
    }
};

TEST_F(DirectInputDeathTest, FailedSetUpEndsTheGameNamingTheCondition)
{
    const struct {
        const char* failing;
        const char* message;
    } cases[] = {
        {"input.Create", "DIObject, file directinput\\.cpp"},
        {"keyboard.Create", "DevicesInitialised, file directinput\\.cpp"},
        {"keyboard.SetDataFormat", "DevicesInitialised, file directinput\\.cpp"},
        {"keyboard.SetCooperativeLevel", "DevicesInitialised, file directinput\\.cpp"},
        {"keyboard.Acquire", "DevicesInitialised, file directinput\\.cpp"},
    };
    for (const auto& c : cases) {
        EXPECT_DEATH(
            {
                testseam::FailInputCall(c.failing);
                DirectInput input;
            },
            c.message)
            << c.failing;
    }
}

}  // namespace
