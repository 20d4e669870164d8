#include "input/gamepads.h"

#include <cstring>

#include "input/padkeys.h"

namespace {

const DWORD sharedBackground = DISCL_NONEXCLUSIVE | DISCL_BACKGROUND;

bool SameGuid(const GUID& a, const GUID& b)
{
    return std::memcmp(&a, &b, sizeof(GUID)) == 0;
}

}  // namespace

GamePads::~GamePads()
{
    Release();
}

void GamePads::Enumerate(IDirectInput8A* input)
{
    if (!input) return;
    found.clear();
    if (FAILED(input->EnumDevices(DI8DEVCLASS_GAMECTRL, Found, this, DIEDFL_ATTACHEDONLY))) return;
    for (const GUID& instance : found) {
        if (!IsHeld(instance)) Add(input, instance);
    }
    found.clear();
}

BOOL CALLBACK GamePads::Found(LPCDIDEVICEINSTANCEA instance, LPVOID self)
{
    static_cast<GamePads*>(self)->found.push_back(instance->guidInstance);
    return DIENUM_CONTINUE;
}

bool GamePads::IsHeld(const GUID& instance) const
{
    for (const Pad& pad : pads) {
        if (SameGuid(pad.instance, instance)) return true;
    }
    return false;
}

void GamePads::Add(IDirectInput8A* input, const GUID& instance)
{
    Pad pad{instance, nullptr, false};
    if (FAILED(input->CreateDevice(instance, &pad.device, nullptr)) || !pad.device) return;
    DIPROPRANGE range{};
    range.diph.dwSize = sizeof(DIPROPRANGE);
    range.diph.dwHeaderSize = sizeof(DIPROPHEADER);
    range.diph.dwHow = DIPH_DEVICE;
    range.lMin = kPadAxisMin;
    range.lMax = kPadAxisMax;
    if (FAILED(pad.device->SetDataFormat(&c_dfDIJoystick2)) ||
        FAILED(pad.device->SetCooperativeLevel(nullptr, sharedBackground))) {
        ReleaseDevice(pad.device);
        return;
    }
    pad.stickRange = SUCCEEDED(pad.device->SetProperty(DIPROP_RANGE, &range.diph));
    if (FAILED(pad.device->Acquire())) {
        ReleaseDevice(pad.device);
        return;
    }
    pads.push_back(pad);
}

void GamePads::Hold(BYTE (&keys)[256])
{
    for (auto pad = pads.begin(); pad != pads.end();) {
        DIJOYSTATE2 state;
        if (Read(*pad, state)) {
            HoldPadKeys(state, keys);
            ++pad;
        } else {
            ReleaseDevice(pad->device);
            pad = pads.erase(pad);
        }
    }
}

// A read that fails once is tried again after acquiring; a controller pulled out cannot be acquired.
bool GamePads::Read(Pad& pad, DIJOYSTATE2& state)
{
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (SUCCEEDED(pad.device->Poll()) &&
            SUCCEEDED(pad.device->GetDeviceState(sizeof(DIJOYSTATE2), &state))) {
            // Without a range of our own the axes' centre is unknown: the stick counts as centred.
            if (!pad.stickRange) state.lX = (kPadAxisMin + kPadAxisMax) / 2;
            return true;
        }
        if (FAILED(pad.device->Acquire())) return false;
    }
    return false;
}

void GamePads::Release()
{
    for (Pad& pad : pads) ReleaseDevice(pad.device);
    pads.clear();
}

void GamePads::ReleaseDevice(IDirectInputDevice8A*& device)
{
    device->Unacquire();
    device->Release();
    device = nullptr;
}
