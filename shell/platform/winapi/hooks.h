// The layer's outside effects, as one table of the services that produce them. It holds the real
// services; tests (through the testseam library) and tools (through a public sink such as
// messageboxsink.h) put their own in place. A hooked call costs one indirect call, nothing more.
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
    // SwapBuffers holds frames to 60 a second (framepacer.h); benchmarks and soaks switch it off.
    bool pacedSwap;
};

// The real services, to start from and to go back to.
extern const Hooks kRealServices;
extern Hooks gHooks;

}  // namespace layer
