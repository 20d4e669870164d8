// WGL, the same for every backend: a window's device context is its handle, the layer offers one
// pixel format (RGBA 8/8/8/8, double-buffered, with a depth buffer), and every call's arguments are
// checked here before the backend makes the surface, the context or the frame (backend.h).
#include "shell/platform/winapi/opengl32.h"

#include "shell/platform/winapi/backend.h"

namespace {

using layer::LayerWindow;

constexpr int kRgbaFormat = 1;

LayerWindow* WindowOfDc(HDC hdc)
{
    return layer::FindWindow(reinterpret_cast<HWND>(hdc));
}

// The window behind hdc once it has a GL surface, or null.
LayerWindow* DrawingWindowOfDc(HDC hdc)
{
    LayerWindow* window = WindowOfDc(hdc);
    return window && window->native ? window : nullptr;
}

}  // namespace

HDC GetDC(HWND hwnd)
{
    return layer::FindWindow(hwnd) ? reinterpret_cast<HDC>(hwnd) : nullptr;
}

int ReleaseDC(HWND hwnd, HDC hdc)
{
    return layer::FindWindow(hwnd) && reinterpret_cast<HWND>(hdc) == hwnd;
}

int ChoosePixelFormat(HDC hdc, const PIXELFORMATDESCRIPTOR* descriptor)
{
    if (!WindowOfDc(hdc) || !descriptor || descriptor->nSize != sizeof(PIXELFORMATDESCRIPTOR)) return 0;
    const DWORD needed = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;
    if ((descriptor->dwFlags & needed) != needed || descriptor->iPixelType != PFD_TYPE_RGBA) return 0;
    return kRgbaFormat;
}

BOOL SetPixelFormat(HDC hdc, int format, const PIXELFORMATDESCRIPTOR* descriptor)
{
    LayerWindow* window = WindowOfDc(hdc);
    if (!window || !descriptor || format != kRgbaFormat || window->pixelFormat != 0) return FALSE;
    window->native = layer::backend::MakeGlSurface(*window, *descriptor);
    if (!window->native) return FALSE;
    window->pixelFormat = format;
    return TRUE;
}

HGLRC wglCreateContext(HDC hdc)
{
    LayerWindow* window = DrawingWindowOfDc(hdc);
    return window ? layer::backend::CreateGlContext(*window) : nullptr;
}

BOOL wglMakeCurrent(HDC hdc, HGLRC context)
{
    if (!context) return layer::backend::MakeGlCurrent(nullptr, nullptr);
    LayerWindow* window = DrawingWindowOfDc(hdc);
    return window ? layer::backend::MakeGlCurrent(window, context) : FALSE;
}

BOOL wglDeleteContext(HGLRC context)
{
    return context ? layer::backend::DeleteGlContext(context) : FALSE;
}

HGLRC wglGetCurrentContext()
{
    return layer::backend::CurrentGlContext();
}

BOOL SwapBuffers(HDC hdc)
{
    LayerWindow* window = DrawingWindowOfDc(hdc);
    if (!window) return FALSE;
    layer::backend::PresentFrame(*window, hdc);
    return TRUE;
}
