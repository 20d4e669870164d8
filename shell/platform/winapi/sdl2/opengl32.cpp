// The SDL2 backend's side of WGL (backend.h): GL surfaces, contexts and frames over SDL2's OpenGL windows.
// A window's SDL window is created when its pixel format is set, because SDL needs the GL
// attributes before the window exists. GLUT needs no start: the game draws only freeglut's shapes,
// which are linked in on their own (cmake/freeglut-shapes.cmake) and need no glutInit, nor any X display.
// Each presented frame is paced to 60 a second (framepacer.h), then told to its observer, if any
// (hooks.h); the window's events tell the pacer of another display (user32_events.cpp).
// Not implemented: layered or off-screen formats, format enumeration (DescribePixelFormat).
#include <cstdio>

#include "shell/platform/winapi/backend.h"
#include "shell/platform/winapi/hooks.h"
#include "shell/platform/winapi/sdl2/backendstate.h"
#include "shell/platform/winapi/sdl2/sdlwindow.h"

namespace layer {
namespace {

// The deepest depth buffer the display can give, for the layer's one format.
constexpr int kDepthChoices[] = {32, 24, 16};

// An SDL window's display, as the pacer sees it; the swap interval is the current context's.
class SdlDisplay final : public pacing::PaceDisplay {
public:
    explicit SdlDisplay(SDL_Window* window) : window(window) {}
    int ReportedRefreshRate() override
    {
        SDL_DisplayMode mode;
        const int display = SDL_GetWindowDisplayIndex(window);
        return display >= 0 && SDL_GetCurrentDisplayMode(display, &mode) == 0 ? mode.refresh_rate : 0;
    }
    bool SetSwapInterval(int blanks) override { return SDL_GL_SetSwapInterval(blanks) == 0; }
    void Swap() override { SDL_GL_SwapWindow(window); }

private:
    SDL_Window* window;
};

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

NativeWindow* backend::MakeGlSurface(const LayerWindow& window, const PIXELFORMATDESCRIPTOR& format)
{
    return AsNative(CreateGlWindow(window, format));
}

HGLRC backend::CreateGlContext(const LayerWindow& window)
{
    // SDL makes a new context current; a Windows context is not current until wglMakeCurrent.
    SDL_Window* previousWindow = SDL_GL_GetCurrentWindow();
    SDL_GLContext previous = SDL_GL_GetCurrentContext();
    SDL_GLContext context = SDL_GL_CreateContext(SdlWindowOf(window));
    SDL_GL_MakeCurrent(previousWindow, previous);
    return static_cast<HGLRC>(context);
}

BOOL backend::MakeGlCurrent(const LayerWindow* window, HGLRC context)
{
    if (!context) return SDL_GL_MakeCurrent(nullptr, nullptr) == 0;
    return SDL_GL_MakeCurrent(SdlWindowOf(*window), static_cast<SDL_GLContext>(context)) == 0;
}

BOOL backend::DeleteGlContext(HGLRC context)
{
    if (SDL_GL_GetCurrentContext() == static_cast<SDL_GLContext>(context))
        SDL_GL_MakeCurrent(nullptr, nullptr);
    SDL_GL_DeleteContext(static_cast<SDL_GLContext>(context));
    return TRUE;
}

HGLRC backend::CurrentGlContext()
{
    return static_cast<HGLRC>(SDL_GL_GetCurrentContext());
}

void backend::PresentFrame(const LayerWindow& window, HDC hdc)
{
    SdlDisplay display(SdlWindowOf(window));
    if (Services().pacedSwap)
        sdl2::State().pacer.Present(display);
    else
        display.Swap();
    if (auto observe = Services().presentedFrame) observe(reinterpret_cast<HWND>(hdc));
}

}  // namespace layer
