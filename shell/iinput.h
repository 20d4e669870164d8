// An input device polled once per frame.
#pragma once

class IInput {
public:
    virtual ~IInput() {}
    virtual void Update() = 0;
    virtual bool InitInput() = 0;
    virtual bool InitDevices() = 0;
    virtual void Release() = 0;
    virtual bool IsMouseButtonDown(int button) = 0;
    virtual float GetMouseX() = 0;
    virtual float GetMouseY() = 0;
    virtual float GetMouseWheel() = 0;
};
