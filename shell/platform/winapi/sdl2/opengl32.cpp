// opengl32 (WGL): device contexts, pixel formats and rendering contexts over SDL2's OpenGL windows.
// A window's SDL window is created when its pixel format is set, because SDL needs the GL
// attributes before the window exists. The first context made current also initialises GLUT,
// which freeglut requires before any of its drawing calls.
// Each presented frame is told to its observer, if any (hooks.h), and paced (swappacer.h).
// Not implemented: layered or off-screen formats, format enumeration (DescribePixelFormat).
#include "shell/platform/winapi/opengl32.h"

#include <GL/freeglut.h>

#include <cstdio>

#include "shell/platform/winapi/sdl2/sdlwindow.h"
#include "shell/platform/winapi/sdl2/swappacer.h"
#include "shell/platform/winapi/hooks.h"
#include "shell/platform/winapi/opengl32_dc.h"
#include "shell/platform/winapi/resets.h"

namespace {

using layer::kRgbaFormat;
using layer::LayerWindow;
using layer::SdlWindowOf;
using layer::WindowOfDc;

// The deepest depth buffer the display can give, for the layer's one format.
constexpr int kDepthChoices[] = {32, 24, 16};

struct GlService {
    bool glutStarted = false;
    SwapPacer pacer;
};

GlService glService;

void StartGlutOnce()
{
    if (glService.glutStarted) return;
    int argc = 1;
    char name[] = "bricks3d";
    char* argv[] = {name, nullptr};
    glutInit(&argc, argv);
    glService.glutStarted = true;
}

void StartPacing(SDL_Window* window)
{
    const bool driverWaits = SDL_GL_SetSwapInterval(1) == 0;
    SDL_DisplayMode mode;
    const int display = SDL_GetWindowDisplayIndex(window);
    const bool known = display >= 0 && SDL_GetCurrentDisplayMode(display, &mode) == 0;
    glService.pacer.Start(known ? mode.refresh_rate : 0, driverWaits);
}

SDL_Window* CreateGlWindow(const LayerWindow& window, const PIXELFORMATDESCRIPTOR& pfd)
{
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, (pfd.dwFlags & PFD_DOUBLEBUFFER) ? 1 : 0);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, pfd.cStencilBits);
    Uint32 flags =
        SDL_WINDOW_OPENGL | SDL_WINDOW_RESIZABLE | (window.visible ? SDL_WINDOW_SHOWN : SDL_WINDOW_HIDDEN);
    for (int depth : kDepthChoices) {
        if (pfd.cDepthBits && depth > pfd.cDepthBits) continue;
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, pfd.cDepthBits ? depth : 0);
        SDL_Window* sdl = SDL_CreateWindow(window.title.c_str(), window.x, window.y, window.clientWidth,
                                           window.clientHeight, flags);
        if (sdl) return sdl;
    }
    std::fprintf(stderr, "No OpenGL window could be made: %s\n", SDL_GetError());
    return nullptr;
}

}  // namespace

BOOL SetPixelFormat(HDC hdc, int format, const PIXELFORMATDESCRIPTOR* descriptor)
{
    LayerWindow* window = WindowOfDc(hdc);
    if (!window || !descriptor || format != kRgbaFormat || window->pixelFormat != 0) return FALSE;
    window->native = layer::AsNative(CreateGlWindow(*window, *descriptor));
    if (!window->native) return FALSE;
    window->pixelFormat = format;
    return TRUE;
}

HGLRC wglCreateContext(HDC hdc)
{
    LayerWindow* window = WindowOfDc(hdc);
    if (!window || !window->native) return nullptr;
    // SDL makes a new context current; a Windows context is not current until wglMakeCurrent.
    SDL_Window* previousWindow = SDL_GL_GetCurrentWindow();
    SDL_GLContext previous = SDL_GL_GetCurrentContext();
    SDL_GLContext context = SDL_GL_CreateContext(SdlWindowOf(*window));
    SDL_GL_MakeCurrent(previousWindow, previous);
    return static_cast<HGLRC>(context);
}

BOOL wglMakeCurrent(HDC hdc, HGLRC context)
{
    if (!context) return SDL_GL_MakeCurrent(nullptr, nullptr) == 0;
    LayerWindow* window = WindowOfDc(hdc);
    if (!window || !window->native) return FALSE;
    if (SDL_GL_MakeCurrent(SdlWindowOf(*window), static_cast<SDL_GLContext>(context)) != 0) return FALSE;
    if (!glService.glutStarted) StartPacing(SdlWindowOf(*window));
    StartGlutOnce();
    return TRUE;
}

BOOL wglDeleteContext(HGLRC context)
{
    if (!context) return FALSE;
    if (SDL_GL_GetCurrentContext() == static_cast<SDL_GLContext>(context))
        SDL_GL_MakeCurrent(nullptr, nullptr);
    SDL_GL_DeleteContext(static_cast<SDL_GLContext>(context));
    return TRUE;
}

HGLRC wglGetCurrentContext()
{
    return static_cast<HGLRC>(SDL_GL_GetCurrentContext());
}

BOOL SwapBuffers(HDC hdc)
{
    LayerWindow* window = WindowOfDc(hdc);
    if (!window || !window->native) return FALSE;
    SDL_GL_SwapWindow(SdlWindowOf(*window));
    if (auto observe = layer::Services().presentedFrame) observe(reinterpret_cast<HWND>(hdc));
    glService.pacer.AfterSwap(layer::Services().pacedSwap);
    return TRUE;
}

// GLUT stays started: freeglut cannot be initialised twice in one process.
void layer::backend::ResetGl()
{
    glService.pacer = {};
}
