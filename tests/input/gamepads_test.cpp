// A controller through the whole desktop path: SDL's virtual game controller, our DirectInput's
// joystick interface, the input object's bindings.
#include "input/gamepads.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <functional>

#include "input/directinput.h"
#include "shell/platform/winapi/testseam/testseam.h"
#include "shell/shellglobals.h"
#include "tests/support/fieldobjects.h"

namespace {

// A controller with every button and axis of SDL's standard layout, plugged in for its lifetime.
class VirtualPad {
public:
    VirtualPad()
    {
        SDL_InitSubSystem(SDL_INIT_JOYSTICK);
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
        desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
        desc.name = "virtual pad";
        const int index = SDL_JoystickAttachVirtualEx(&desc);
        EXPECT_GE(index, 0) << SDL_GetError();
        joystick = SDL_JoystickOpen(index);
        EXPECT_NE(joystick, nullptr) << SDL_GetError();
    }
    ~VirtualPad()
    {
        PullOut();
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    }

    void Press(SDL_GameControllerButton button, bool down)
    {
        SDL_JoystickSetVirtualButton(joystick, button, down);
    }
    void Stick(Sint16 x) { SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTX, x); }
    void PullOut()
    {
        if (!joystick) return;
        const SDL_JoystickID id = SDL_JoystickInstanceID(joystick);
        SDL_JoystickClose(joystick);
        joystick = nullptr;
        for (int index = 0; index < SDL_NumJoysticks(); ++index) {
            if (SDL_JoystickGetDeviceInstanceID(index) == id) SDL_JoystickDetachVirtual(index);
        }
    }

private:
    SDL_Joystick* joystick = nullptr;
};

class GamePadsTest : public ::testing::Test {
protected:
    FieldObjects field;

    void SetUp() override
    {
        uint8_t none[256] = {};
        testseam::SetKeyboardSnapshot(none);
        gDevicesChanged = false;
    }

    void TearDown() override { testseam::ResetLayer(); }

    // The paddle's move in one frame.
    static float Step(DirectInput& input)
    {
        const float before = gPaddle->GetX();
        input.Update();
        return gPaddle->GetX() - before;
    }
};

TEST_F(GamePadsTest, AControllerPluggedInMidGameActsUntilItIsPulledOut)
{
    DirectInput input;
    VirtualPad pad;
    pad.Press(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
    EXPECT_FLOAT_EQ(Step(input), 0.0f) << "not taken up before the window hears of it";
    gDevicesChanged = true;  // as the window does on WM_DEVICECHANGE
    EXPECT_NEAR(Step(input), 0.1f, 1e-5) << "the D-pad acts from the next frame";

    const struct {
        const char* what;
        std::function<void()> hold;
        float step;
    } frames[] = {
        {"D-pad let go", [&] { pad.Press(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, false); }, 0.0f},
        {"D-pad left", [&] { pad.Press(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true); }, -0.1f},
        {"D-pad let go again", [&] { pad.Press(SDL_CONTROLLER_BUTTON_DPAD_LEFT, false); }, 0.0f},
        {"stick a third right", [&] { pad.Stick(11000); }, 0.0f},
        {"stick two thirds right", [&] { pad.Stick(22000); }, 0.1f},
        {"stick two thirds left", [&] { pad.Stick(-22000); }, -0.1f},
        {"stick back", [&] { pad.Stick(0); }, 0.0f},
    };
    for (const auto& frame : frames) {
        frame.hold();
        EXPECT_NEAR(Step(input), frame.step, 1e-5) << frame.what;
    }

    pad.Press(SDL_CONTROLLER_BUTTON_A, true);
    input.Update();
    EXPECT_TRUE(gBall->IsLaunched()) << "the south button launches";
    pad.Press(SDL_CONTROLLER_BUTTON_A, false);
    pad.Press(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, true);
    input.Update();
    EXPECT_FALSE(gBall->IsLaunched()) << "a speed change puts the ball back";
    EXPECT_NEAR(gBall->GetSpeed(), 0.2f, 1e-5) << "the right shoulder is faster";
    pad.Press(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, false);
    pad.Press(SDL_CONTROLLER_BUTTON_LEFTSHOULDER, true);
    input.Update();
    EXPECT_NEAR(gBall->GetSpeed(), 0.1f, 1e-5) << "the left shoulder is slower";
    pad.Press(SDL_CONTROLLER_BUTTON_LEFTSHOULDER, false);

    pad.Stick(-30000);
    EXPECT_NEAR(Step(input), -0.1f, 1e-5);
    pad.PullOut();
    EXPECT_FLOAT_EQ(Step(input), 0.0f) << "a controller pulled out lets go at once";
    gDevicesChanged = true;
    EXPECT_FLOAT_EQ(Step(input), 0.0f);
}

TEST_F(GamePadsTest, AControllerThatCannotBeSetUpOrReadIsLeftOutAndTheKeyboardPlaysOn)
{
    const struct {
        const char* failing;
        float stickStep;  // the paddle's step with the stick pushed right
    } cases[] = {
        {"nothing", 0.1f},
        {"input.EnumDevices", 0.0f},
        {"pad.Create", 0.0f},
        {"pad.SetDataFormat", 0.0f},
        {"pad.SetCooperativeLevel", 0.0f},
        {"pad.SetProperty", 0.0f},  // without its range the stick's centre is unknown
        {"pad.Acquire", 0.0f},
        {"pad.Poll", 0.0f},
        {"pad.GetDeviceState", 0.0f},
    };
    for (const auto& c : cases) {
        testseam::ClearInputFailures();
        testseam::FailInputCall(c.failing);
        VirtualPad pad;
        pad.Stick(30000);
        DirectInput input;
        gPaddle->Reset();
        EXPECT_NEAR(Step(input), c.stickStep, 1e-5) << c.failing;
        uint8_t left[256] = {};
        left[DIK_LEFT] = 0x80;
        testseam::SetKeyboardSnapshot(left);
        EXPECT_NEAR(Step(input), c.stickStep - 0.1f, 1e-5) << c.failing << ", with Left held on the keyboard";
        uint8_t none[256] = {};
        testseam::SetKeyboardSnapshot(none);
    }
}

TEST_F(GamePadsTest, WindowsHearWhenAControllerComesOrGoes)
{
    DirectInput input;  // starts the controller support
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "PadTestWindow";
    ASSERT_NE(RegisterClassA(&windowClass), 0);
    HWND window = CreateWindowExA(0, "PadTestWindow", "", 0, 0, 0, 10, 10, nullptr, nullptr,
                                  windowClass.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    auto heard = [&] {
        MSG msg;
        bool any = false;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) any |= msg.message == WM_DEVICECHANGE;
        return any;
    };
    heard();
    VirtualPad pad;
    EXPECT_TRUE(heard()) << "plugged in";
    pad.PullOut();
    EXPECT_TRUE(heard()) << "pulled out";
    EXPECT_FALSE(heard());
}

TEST_F(GamePadsTest, PluggingInAndOutEveryFrameNeitherLeaksNorCrashes)
{
    DirectInput input;
    for (int frame = 0; frame < 200; ++frame) {
        VirtualPad pad;
        pad.Press(SDL_CONTROLLER_BUTTON_A, true);
        gDevicesChanged = true;
        input.Update();
        if (frame % 2) pad.PullOut();
        input.Update();
    }
    EXPECT_TRUE(gBall->IsLaunched());
}

}  // namespace
