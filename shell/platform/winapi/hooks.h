// The layer's outside effects, as one table of the services that produce them. It holds the real
// services; whoever wants others in their place (the test seam, dibcheck, the scripted-run entry)
// installs a whole table with SetHooks, the one way to change it. A hooked call costs one indirect
// call, nothing more.
#pragma once

#include "shell/platform/winapi/wintypes.h"

namespace layer {

struct Hooks {
    // The milliseconds behind timeGetTime.
    DWORD (*clock)();
    // The keyboard snapshot behind GetDeviceState: 256 bytes indexed by DIK_* code.
    void (*readKeyboard)(BYTE (&keys)[256]);
    // Shows a message box whose text is already on stderr, and gives the button pressed.
    int (*messageBox)(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
    // Starts a named sound without waiting for it; a null name stops the sound.
    BOOL (*playSound)(LPCSTR name, DWORD flags);
    // Each call on the DirectInput objects comes here first; a result other than DI_OK is what the
    // call returns.
    HRESULT (*inputCall)(const char* object, const char* operation);
    // Told of each frame SwapBuffers has presented, with its window; null for nobody.
    void (*presentedFrame)(HWND window);
    // SwapBuffers holds frames to 60 a second (framepacer.h); benchmarks and soaks switch it off.
    bool pacedSwap;
};

// The real services, to start from and to go back to.
extern const Hooks kRealServices;

namespace detail {
extern Hooks installedHooks;  // written by SetHooks only
}

// The services in place, for the layer's calls to go through.
inline const Hooks& Services()
{
    return detail::installedHooks;
}

// Puts a whole table in place; start from Services() or kRealServices to change a few entries.
void SetHooks(const Hooks& hooks);

}  // namespace layer
