// WGL device contexts and the choice of pixel format, the same for every backend; the backends make
// the windows' GL surfaces and contexts (the backends' opengl32.cpp).
#include "shell/platform/winapi/opengl32_dc.h"

layer::LayerWindow* layer::WindowOfDc(HDC hdc)
{
    return FindWindow(reinterpret_cast<HWND>(hdc));
}

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
    if (!layer::WindowOfDc(hdc) || !descriptor || descriptor->nSize != sizeof(PIXELFORMATDESCRIPTOR)) return 0;
    const DWORD needed = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;
    if ((descriptor->dwFlags & needed) != needed || descriptor->iPixelType != PFD_TYPE_RGBA) return 0;
    return layer::kRgbaFormat;
}
