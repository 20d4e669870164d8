// The null backend: our Windows API with no window system, sound or keyboard behind it, for the tests
// that run under node, where there is no page. A window can be registered and created, but gets no
// native window, so no pixel format, context or frame; no key is ever down, no controller attached and
// every sound is silent.
// It keeps no state.
#include <cstdio>
#include <cstring>

#include "shell/platform/winapi/backend.h"

namespace layer::backend {

// Windows exist without a native window, as on the desktop before their pixel format is set.
bool StartVideo()
{
    return true;
}

void DestroyNativeWindow(LayerWindow& window)
{
    window.native = nullptr;
}

void ShowNativeWindow(LayerWindow&, bool) {}

void RaiseNativeWindow(LayerWindow&) {}

void PumpEvents() {}

// The text is on stderr already (MessageBoxA writes it there); the box counts as answered.
void ShowMessageBox(const LayerWindow*, const char*, const char*, bool) {}

void ReadKeyboard(BYTE (&keys)[256])
{
    std::memset(keys, 0, sizeof(keys));
}

// No game controller is ever attached.
std::vector<uint32_t> ListPads()
{
    return {};
}

bool OpenPad(uint32_t)
{
    return false;
}

void ClosePad(uint32_t) {}

void PollPads() {}

bool ReadPad(uint32_t, PadReading&)
{
    return false;
}

bool PlaySoundFile(const std::string&)
{
    return false;
}

void StopSound() {}

NativeWindow* MakeGlSurface(const LayerWindow&, const PIXELFORMATDESCRIPTOR&)
{
    std::fprintf(stderr, "SetPixelFormat: the null backend has no GL surface\n");
    return nullptr;
}

// Without a surface there is no context: the neutral WGL asks for none, and no handle is one of ours.
HGLRC CreateGlContext(const LayerWindow&)
{
    return nullptr;
}

BOOL MakeGlCurrent(const LayerWindow*, HGLRC context)
{
    return context ? FALSE : TRUE;
}

BOOL DeleteGlContext(HGLRC)
{
    return FALSE;
}

HGLRC CurrentGlContext()
{
    return nullptr;
}

void PresentFrame(const LayerWindow&, HDC) {}

void Reset() {}

}  // namespace layer::backend
