#include "input/directinput.h"

#include <cstring>

#include "game/ball.h"
#include "game/paddle.h"
#include "game/world.h"
#include "shell/gameassert.h"
#include "shell/shellglobals.h"

namespace {

const BYTE keyDown = 0x80;
const DWORD sharedBackground = DISCL_NONEXCLUSIVE | DISCL_BACKGROUND;

}  // namespace

DirectInput::DirectInput()
    : DIObject(nullptr), DIKeyboard(nullptr), KeyState(), DIMouse(nullptr), MouseState(), Speed(0.1f)
{
    const bool InputInitialised = InitInput();
    GAME_ASSERT(InputInitialised);
    const bool DevicesInitialised = InitDevices();
    GAME_ASSERT(DevicesInitialised);
}

DirectInput::~DirectInput()
{
    Pads.Release();
    if (DIMouse) {
        DIMouse->Unacquire();
        DIMouse->Release();
        DIMouse = nullptr;
    }
    Release();
}

bool DirectInput::InitInput()
{
    const HRESULT result =
        DirectInput8Create(GetModuleHandleA(nullptr), DIRECTINPUT_VERSION, IID_IDirectInput8A,
                           reinterpret_cast<void**>(&DIObject), nullptr);
    if (FAILED(result)) {
        GAME_ASSERT(DIObject);
        return false;
    }
    return true;
}

bool DirectInput::InitDevices()
{
    if (FAILED(DIObject->CreateDevice(GUID_SysKeyboard, &DIKeyboard, nullptr))) return false;
    if (FAILED(DIKeyboard->SetDataFormat(&c_dfDIKeyboard))) return false;
    if (FAILED(DIKeyboard->SetCooperativeLevel(nullptr, sharedBackground))) return false;
    if (FAILED(DIKeyboard->Acquire())) return false;

    // Nothing reads the mouse, so a machine without one still plays; but a mouse that could not be
    // created must not be called.
    std::memset(&MouseState, 0, sizeof(MouseState));
    if (SUCCEEDED(DIObject->CreateDevice(GUID_SysMouse, &DIMouse, nullptr)) && DIMouse) {
        DIMouse->SetDataFormat(&c_dfDIMouse2);
        DIMouse->SetCooperativeLevel(nullptr, sharedBackground);
        DIMouse->Acquire();
    } else {
        DIMouse = nullptr;
    }
    // Controllers are extra: none, or none that can be set up, changes nothing.
    Pads.Enumerate(DIObject);
    return true;
}

void DirectInput::Update()
{
    const bool DeviceState = DIKeyboard && SUCCEEDED(DIKeyboard->GetDeviceState(sizeof(KeyState), KeyState));
    if (!DeviceState) {
        // The keyboard was lost (another program or the session took it): ask for it back and
        // count this frame as no keys held, so the game goes on.
        std::memset(KeyState, 0, sizeof(KeyState));
        if (DIKeyboard) DIKeyboard->Acquire();
        return;
    }
    // Enumerating is slow on Windows: only when the window has heard that devices came or went.
    if (gDevicesChanged) {
        gDevicesChanged = false;
        Pads.Enumerate(DIObject);
    }
    Pads.Hold(KeyState);

    if (KeyState[DIK_RIGHT] & keyDown) gPaddle->Move(Speed);
    if (KeyState[DIK_LEFT] & keyDown) gPaddle->Move(-Speed);
    if (KeyState[DIK_SPACE] & keyDown) gBall->Launch();
    if (KeyState[DIK_EQUALS] & keyDown) {
        SpeedUp();
        ApplySpeed();
    }
    if (KeyState[DIK_MINUS] & keyDown) {
        SpeedDown();
        ApplySpeed();
    }
}

void DirectInput::SpeedUp()
{
    Speed = static_cast<float>(static_cast<double>(Speed) + 0.1);
    if (Speed > 1.0) Speed = 1.0f;
}

void DirectInput::SpeedDown()
{
    Speed = static_cast<float>(static_cast<double>(Speed) - 0.1);
    // Compared with the double 0.1: the float floor 0.1f is a little larger, so it passes unchanged.
    if (Speed < 0.1) Speed = 0.1f;
}

void DirectInput::ApplySpeed()
{
    gBall->SetSpeed(Speed);
    gBall->Reset();
    gPaddle->Reset();
}

void DirectInput::Release()
{
    Pads.Release();
    if (DIObject) {
        DIObject->Release();
        DIObject = nullptr;
    }
    if (DIKeyboard) {
        DIKeyboard->Unacquire();
        DIKeyboard->Release();
        DIKeyboard = nullptr;
    }
}

bool DirectInput::IsMouseButtonDown(int button)
{
    if (button < 0 || button >= static_cast<int>(sizeof(MouseState.rgbButtons))) return false;
    return (MouseState.rgbButtons[button] & keyDown) != 0;
}

float DirectInput::GetMouseX()
{
    return static_cast<float>(MouseState.lX);
}

float DirectInput::GetMouseY()
{
    return static_cast<float>(MouseState.lY);
}

float DirectInput::GetMouseWheel()
{
    return static_cast<float>(MouseState.lZ);
}
