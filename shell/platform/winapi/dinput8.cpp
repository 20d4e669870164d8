// DirectInput 8: the system keyboard as a 256-byte snapshot indexed by DIK_* code, read from the
// backend (the global X key state on the desktop), and a system mouse that can be set up but always
// reads as still. Only background, non-exclusive access is offered: that is what a polled snapshot
// can honour.
#include "shell/platform/winapi/dinput8.h"

#include <cstdio>
#include <cstring>

#include "shell/platform/winapi/hooks.h"

const GUID IID_IDirectInput8A = {
    0xBF798030, 0x483A, 0x4DA2, {0xAA, 0x99, 0x5D, 0x64, 0xED, 0x36, 0x97, 0x00}};
const GUID GUID_SysKeyboard = {0x6F1D2B61, 0xD5A0, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const GUID GUID_SysMouse = {0x6F1D2B60, 0xD5A0, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

namespace {

const DWORD relativeAxes = 0x2;  // the standard formats report axes as movements

}  // namespace

// The object list of the standard formats is not carried: devices recognise the format by address.
const DIDATAFORMAT c_dfDIKeyboard = {sizeof(DIDATAFORMAT), 0, relativeAxes, 256, 256, nullptr};
const DIDATAFORMAT c_dfDIMouse2 = {sizeof(DIDATAFORMAT), 0, relativeAxes, sizeof(DIMOUSESTATE2), 11, nullptr};

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

enum class DeviceKind { Keyboard, Mouse };

class Device final : public IDirectInputDevice8A {
public:
    explicit Device(DeviceKind kind) : kind(kind) {}

    ULONG Release() override
    {
        Hooked(Name(), "Release");
        const ULONG left = --references;
        if (left == 0) delete this;
        return left;
    }

    HRESULT Acquire() override
    {
        if (const HRESULT hooked = Hooked(Name(), "Acquire"); hooked != DI_OK) return hooked;
        if (!format) return DIERR_INVALIDPARAM;
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
        layer::Services().readKeyboard(*static_cast<BYTE(*)[256]>(lpvData));
        return DI_OK;
    }

    HRESULT SetDataFormat(LPCDIDATAFORMAT lpdf) override
    {
        if (const HRESULT hooked = Hooked(Name(), "SetDataFormat"); hooked != DI_OK) return hooked;
        if (acquired) return DIERR_ACQUIRED;
        const DIDATAFORMAT* accepted = kind == DeviceKind::Keyboard ? &c_dfDIKeyboard : &c_dfDIMouse2;
        if (lpdf != accepted) return DIERR_INVALIDPARAM;
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

private:
    ~Device() = default;

    const char* Name() const { return kind == DeviceKind::Keyboard ? "keyboard" : "mouse"; }

    DeviceKind kind;
    ULONG references = 1;
    LPCDIDATAFORMAT format = nullptr;
    bool acquired = false;
};

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
        } else {
            return DIERR_DEVICENOTREG;
        }
        const HRESULT hooked = Hooked(kind == DeviceKind::Keyboard ? "keyboard" : "mouse", "Create");
        if (hooked != DI_OK) return hooked;
        *lplpDirectInputDevice = new Device(kind);
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
