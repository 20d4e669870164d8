#include "tests/support/glcontext.h"

#include <GL/gl.h>

#include <stdexcept>

#include "shell/zarnwindow.h"

namespace {

const char* const kClassName = "GlContextTestWindow";

}  // namespace

GlContext::GlContext(int width, int height)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.lpszClassName = kClassName;
    RegisterClassA(&windowClass);  // a second context reuses the class
    hwnd_ = CreateWindowExA(0, kClassName, "test", WS_OVERLAPPEDWINDOW, 0, 0, width, height, nullptr, nullptr,
                            nullptr, nullptr);
    if (!hwnd_) throw std::runtime_error("no window: is there an X display?");
    hdc_ = GetDC(hwnd_);
    PIXELFORMATDESCRIPTOR pfd = ZarnWindow::PixelFormat();
    if (!SetPixelFormat(hdc_, ChoosePixelFormat(hdc_, &pfd), &pfd))
        throw std::runtime_error("no pixel format");
    context_ = wglCreateContext(hdc_);
    if (!context_ || !wglMakeCurrent(hdc_, context_)) throw std::runtime_error("no GL context");
    glViewport(0, 0, width, height);
}

GlContext::~GlContext()
{
    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(context_);
    ReleaseDC(hwnd_, hdc_);
    DestroyWindow(hwnd_);
}

std::array<uint8_t, 3> GlContext::Pixel(int x, int y) const
{
    std::array<uint8_t, 3> rgb{};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(x, y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return rgb;
}
