// The keyboard, the mouse and the game controllers through DirectInput 8. The keyboard is read once
// per frame, in the background and without taking it from other programs, then every controller adds
// the keys it holds, and the held keys act directly on the ball and the paddle: the arrows move the
// paddle, space launches the ball, = and - change the speed.
#pragma once

#include "input/gamepads.h"
#include "shell/iinput.h"
#include "shell/platform/platform.h"

class DirectInput : public IInput {
public:
    DirectInput();
    ~DirectInput() override;
    DirectInput(const DirectInput&) = delete;
    DirectInput& operator=(const DirectInput&) = delete;

    void Update() override;
    bool InitInput() override;
    bool InitDevices() override;
    void Release() override;
    bool IsMouseButtonDown(int button) override;
    float GetMouseX() override;
    float GetMouseY() override;
    float GetMouseWheel() override;

private:
    void SpeedUp();
    void SpeedDown();
    void ApplySpeed();

    IDirectInput8A* DIObject;
    IDirectInputDevice8A* DIKeyboard;
    BYTE KeyState[256];  // one byte per key code, bit 7 set while the key is down
    IDirectInputDevice8A* DIMouse;
    DIMOUSESTATE2 MouseState;
    float Speed;  // the ball's step and the paddle's step per frame, 0.1 ... 1.0
    GamePads Pads;
};
