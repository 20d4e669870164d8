// DirectInput 8: the system keyboard as a 256-byte snapshot indexed by DIK_* code, read from the
// backend (the global X key state on the desktop), a system mouse that can be set up but always
// reads as still, and the game controllers the backend reports, laid out as an XInput pad is under
// Windows' DirectInput. Only background, non-exclusive access is offered: that is what a polled
// snapshot can honour.
#include "shell/platform/winapi/dinput8.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "shell/platform/winapi/backend.h"
#include "shell/platform/winapi/hooks.h"

const GUID IID_IDirectInput8A = {
    0xBF798030, 0x483A, 0x4DA2, {0xAA, 0x99, 0x5D, 0x64, 0xED, 0x36, 0x97, 0x00}};
const GUID GUID_SysKeyboard = {0x6F1D2B61, 0xD5A0, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const GUID GUID_SysMouse = {0x6F1D2B60, 0xD5A0, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const GUID DIPROP_RANGE_NAME = {4, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};

namespace {

const DWORD absoluteAxes = 0x1;  // the joystick format reports axes as positions
const DWORD relativeAxes = 0x2;  // the keyboard and mouse formats report axes as movements

// A controller's instance is this GUID with the backend's number for it in Data1.
const GUID padInstanceBase = {0, 0xB41C, 0x11F0, {0x80, 0x00, 'b', 'r', 'i', 'c', 'k', 's'}};
const GUID padProduct = {0x028E045E, 0x0000, 0x0000, {0x00, 0x00, 'P', 'I', 'D', 'V', 'I', 'D'}};

}  // namespace

// The object list of the standard formats is not carried: devices recognise the format by address.
const DIDATAFORMAT c_dfDIKeyboard = {sizeof(DIDATAFORMAT), 0, relativeAxes, 256, 256, nullptr};
const DIDATAFORMAT c_dfDIMouse2 = {sizeof(DIDATAFORMAT), 0, relativeAxes, sizeof(DIMOUSESTATE2), 11, nullptr};
const DIDATAFORMAT c_dfDIJoystick2 = {sizeof(DIDATAFORMAT), 0,   absoluteAxes,
                                      sizeof(DIJOYSTATE2),  164, nullptr};

namespace {

bool SameGuid(const GUID& a, const GUID& b)
{
    return std::memcmp(&a, &b, sizeof(GUID)) == 0;
}

// Every call passes the service table first (hooks.h), which may fail it.
HRESULT Hooked(const char* object, const char* operation)
{
    return layer::Services().inputCall(object, operation);
}

enum class DeviceKind { Keyboard, Mouse, Pad };

const char* NameOf(DeviceKind kind)
{
    switch (kind) {
        case DeviceKind::Keyboard:
            return "keyboard";
        case DeviceKind::Mouse:
            return "mouse";
        default:
            return "pad";
    }
}

const DIDATAFORMAT& FormatOf(DeviceKind kind)
{
    switch (kind) {
        case DeviceKind::Keyboard:
            return c_dfDIKeyboard;
        case DeviceKind::Mouse:
            return c_dfDIMouse2;
        default:
            return c_dfDIJoystick2;
    }
}

// A stick position from the backend's -32768 ... 32767 onto the range the game set.
LONG ScaleAxis(int16_t value, LONG min, LONG max)
{
    const int64_t span = static_cast<int64_t>(max) - min;
    return static_cast<LONG>(min + (static_cast<int64_t>(value) + 32768) * span / 65535);
}

// The D-pad as a hat in hundredths of a degree clockwise from up; opposite directions cancel.
DWORD HatOf(const layer::backend::PadReading& pad)
{
    const int across = (pad.dpadRight ? 1 : 0) - (pad.dpadLeft ? 1 : 0);
    const int down = (pad.dpadDown ? 1 : 0) - (pad.dpadUp ? 1 : 0);
    // Indexed by [down + 1][across + 1].
    const DWORD hats[3][3] = {{31500, 0, 4500}, {27000, 0xFFFFFFFFu, 9000}, {22500, 18000, 13500}};
    return hats[down + 1][across + 1];
}

void FillJoystickState(const layer::backend::PadReading& pad, LONG min, LONG max, DIJOYSTATE2& state)
{
    std::memset(&state, 0, sizeof(state));
    state.lX = ScaleAxis(pad.stickX, min, max);
    state.lY = ScaleAxis(pad.stickY, min, max);
    state.rgdwPOV[0] = HatOf(pad);
    std::fill(std::begin(state.rgdwPOV) + 1, std::end(state.rgdwPOV), 0xFFFFFFFFu);
    for (size_t i = 0; i < sizeof(pad.buttons); ++i) state.rgbButtons[i] = pad.buttons[i] ? 0x80 : 0;
}

class Device final : public IDirectInputDevice8A {
public:
    explicit Device(DeviceKind kind, uint32_t pad = 0) : kind(kind), pad(pad) {}

    ULONG Release() override
    {
        Hooked(Name(), "Release");
        const ULONG left = --references;
        if (left == 0) {
            if (kind == DeviceKind::Pad) layer::backend::ClosePad(pad);
            delete this;
        }
        return left;
    }

    HRESULT Acquire() override
    {
        if (const HRESULT hooked = Hooked(Name(), "Acquire"); hooked != DI_OK) return hooked;
        if (!format) return DIERR_INVALIDPARAM;
        layer::backend::PadReading reading{};
        if (kind == DeviceKind::Pad && !layer::backend::ReadPad(pad, reading)) return DIERR_UNPLUGGED;
        if (acquired) return S_FALSE;
        acquired = true;
        return DI_OK;
    }

    HRESULT Unacquire() override
    {
        if (const HRESULT hooked = Hooked(Name(), "Unacquire"); hooked != DI_OK) return hooked;
        if (!acquired) return DI_NOEFFECT;
        acquired = false;
        return DI_OK;
    }

    HRESULT GetDeviceState(DWORD cbData, LPVOID lpvData) override
    {
        if (const HRESULT hooked = Hooked(Name(), "GetDeviceState"); hooked != DI_OK) {
            // A lost device is no longer acquired: it must be acquired again before it reads.
            if (hooked == DIERR_INPUTLOST) acquired = false;
            return hooked;
        }
        if (!lpvData) return DIERR_INVALIDPARAM;
        if (!acquired) return DIERR_NOTACQUIRED;
        if (cbData != format->dwDataSize) return DIERR_INVALIDPARAM;
        if (kind == DeviceKind::Mouse) {
            std::memset(lpvData, 0, cbData);
            return DI_OK;
        }
        if (kind == DeviceKind::Pad) return ReadPad(*static_cast<DIJOYSTATE2*>(lpvData));
        layer::Services().readKeyboard(*static_cast<BYTE(*)[256]>(lpvData));
        return DI_OK;
    }

    HRESULT SetDataFormat(LPCDIDATAFORMAT lpdf) override
    {
        if (const HRESULT hooked = Hooked(Name(), "SetDataFormat"); hooked != DI_OK) return hooked;
        if (acquired) return DIERR_ACQUIRED;
        if (lpdf != &FormatOf(kind)) return DIERR_INVALIDPARAM;
        format = lpdf;
        return DI_OK;
    }

    HRESULT SetCooperativeLevel(HWND hwnd, DWORD dwFlags) override
    {
        if (const HRESULT hooked = Hooked(Name(), "SetCooperativeLevel"); hooked != DI_OK) return hooked;
        const DWORD known =
            DISCL_EXCLUSIVE | DISCL_NONEXCLUSIVE | DISCL_FOREGROUND | DISCL_BACKGROUND | DISCL_NOWINKEY;
        const DWORD sharing = dwFlags & (DISCL_EXCLUSIVE | DISCL_NONEXCLUSIVE);
        const DWORD focus = dwFlags & (DISCL_FOREGROUND | DISCL_BACKGROUND);
        if ((dwFlags & ~known) || (sharing != DISCL_EXCLUSIVE && sharing != DISCL_NONEXCLUSIVE) ||
            (focus != DISCL_FOREGROUND && focus != DISCL_BACKGROUND)) {
            return DIERR_INVALIDPARAM;
        }
        if (acquired) return DIERR_ACQUIRED;
        if (focus == DISCL_FOREGROUND && !hwnd) return E_HANDLE;
        if (sharing != DISCL_NONEXCLUSIVE || focus != DISCL_BACKGROUND) {
            std::fprintf(stderr, "DirectInput: only non-exclusive background access is supported\n");
            return DIERR_UNSUPPORTED;
        }
        return DI_OK;
    }

    HRESULT SetProperty(REFGUID rguidProp, LPCDIPROPHEADER pdiph) override
    {
        if (const HRESULT hooked = Hooked(Name(), "SetProperty"); hooked != DI_OK) return hooked;
        if (&rguidProp != &DIPROP_RANGE || kind != DeviceKind::Pad) return DIERR_UNSUPPORTED;
        if (!pdiph || pdiph->dwSize != sizeof(DIPROPRANGE) || pdiph->dwHeaderSize != sizeof(DIPROPHEADER) ||
            pdiph->dwHow != DIPH_DEVICE || pdiph->dwObj != 0) {
            return DIERR_INVALIDPARAM;
        }
        const auto* range = reinterpret_cast<const DIPROPRANGE*>(pdiph);
        if (range->lMin >= range->lMax) return DIERR_INVALIDPARAM;
        if (acquired) return DIERR_ACQUIRED;
        axisMin = range->lMin;
        axisMax = range->lMax;
        return DI_OK;
    }

    HRESULT Poll() override
    {
        if (const HRESULT hooked = Hooked(Name(), "Poll"); hooked != DI_OK) return hooked;
        if (!acquired) return DIERR_NOTACQUIRED;
        if (kind != DeviceKind::Pad) return DI_NOEFFECT;
        layer::backend::PollPads();
        return DI_OK;
    }

private:
    ~Device() = default;

    const char* Name() const { return NameOf(kind); }

    // A pulled-out controller is lost for good: DirectInput reports it unplugged.
    HRESULT ReadPad(DIJOYSTATE2& state)
    {
        layer::backend::PadReading reading{};
        if (!layer::backend::ReadPad(pad, reading)) {
            acquired = false;
            return DIERR_UNPLUGGED;
        }
        FillJoystickState(reading, axisMin, axisMax, state);
        return DI_OK;
    }

    DeviceKind kind;
    uint32_t pad;      // the backend's number for a controller
    LONG axisMin = 0;  // Windows' default range
    LONG axisMax = 65535;
    ULONG references = 1;
    LPCDIDATAFORMAT format = nullptr;
    bool acquired = false;
};

bool IsPadInstance(const GUID& guid)
{
    GUID base = guid;
    base.Data1 = padInstanceBase.Data1;
    return SameGuid(base, padInstanceBase);
}

class DirectInput8 final : public IDirectInput8A {
public:
    ULONG Release() override
    {
        Hooked("input", "Release");
        const ULONG left = --references;
        if (left == 0) delete this;
        return left;
    }

    HRESULT CreateDevice(REFGUID rguid, LPDIRECTINPUTDEVICE8A* lplpDirectInputDevice,
                         LPUNKNOWN pUnkOuter) override
    {
        if (!lplpDirectInputDevice) return DIERR_INVALIDPARAM;
        *lplpDirectInputDevice = nullptr;
        if (pUnkOuter) return DIERR_NOAGGREGATION;
        DeviceKind kind;
        if (SameGuid(rguid, GUID_SysKeyboard)) {
            kind = DeviceKind::Keyboard;
        } else if (SameGuid(rguid, GUID_SysMouse)) {
            kind = DeviceKind::Mouse;
        } else if (IsPadInstance(rguid)) {
            kind = DeviceKind::Pad;
        } else {
            return DIERR_DEVICENOTREG;
        }
        const HRESULT hooked = Hooked(NameOf(kind), "Create");
        if (hooked != DI_OK) return hooked;
        if (kind == DeviceKind::Pad && !layer::backend::OpenPad(rguid.Data1)) return DIERR_DEVICENOTREG;
        *lplpDirectInputDevice = new Device(kind, rguid.Data1);
        return DI_OK;
    }

    HRESULT EnumDevices(DWORD dwDevType, LPDIENUMDEVICESCALLBACKA lpCallback, LPVOID pvRef,
                        DWORD dwFlags) override
    {
        if (const HRESULT hooked = Hooked("input", "EnumDevices"); hooked != DI_OK) return hooked;
        if (!lpCallback || (dwFlags & ~DIEDFL_ATTACHEDONLY)) return DIERR_INVALIDPARAM;
        if (dwDevType != DI8DEVCLASS_GAMECTRL) return DIERR_UNSUPPORTED;
        for (const uint32_t pad : layer::backend::ListPads()) {
            DIDEVICEINSTANCEA instance{};
            instance.dwSize = sizeof(instance);
            instance.guidInstance = padInstanceBase;
            instance.guidInstance.Data1 = pad;
            instance.guidProduct = padProduct;
            instance.dwDevType = DI8DEVTYPE_GAMEPAD;
            std::snprintf(instance.tszInstanceName, sizeof(instance.tszInstanceName), "Controller %u", pad);
            std::snprintf(instance.tszProductName, sizeof(instance.tszProductName), "Game controller");
            instance.wUsagePage = 0x01;  // generic desktop
            instance.wUsage = 0x05;      // game pad
            if (lpCallback(&instance, pvRef) == DIENUM_STOP) break;
        }
        return DI_OK;
    }

private:
    ~DirectInput8() = default;

    ULONG references = 1;
};

}  // namespace

HRESULT WINAPI DirectInput8Create(HINSTANCE hinst, DWORD dwVersion, REFIID riidltf, LPVOID* ppvOut,
                                  LPUNKNOWN punkOuter)
{
    if (!ppvOut) return DIERR_INVALIDPARAM;
    *ppvOut = nullptr;
    if (!hinst) return DIERR_INVALIDPARAM;
    if (dwVersion < 0x0800) return DIERR_OLDDIRECTINPUTVERSION;
    if (dwVersion > 0x0800) return DIERR_BETADIRECTINPUTVERSION;
    if (!SameGuid(riidltf, IID_IDirectInput8A)) return DIERR_NOINTERFACE;
    if (punkOuter) return DIERR_NOAGGREGATION;
    if (const HRESULT hooked = Hooked("input", "Create"); hooked != DI_OK) return hooked;
    *ppvOut = static_cast<IDirectInput8A*>(new DirectInput8);
    return DI_OK;
}
