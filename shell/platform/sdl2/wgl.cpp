// Device contexts, pixel formats and rendering contexts over SDL2's OpenGL windows.
// A window's SDL window is created when its pixel format is set, because SDL needs the GL
// attributes before the window exists. The first context made current also initialises GLUT,
// which freeglut requires before any of its drawing calls.
// BRICKS_EXIT_AFTER_FRAMES=N (for start-up measurements and scripted runs): after the N-th presented
// frame the layer writes "presented frame N at <CLOCK_MONOTONIC ns>" to stderr and asks the window to
// close, as its close box would. The game itself knows nothing of it.
// Not implemented: layered or off-screen formats, format enumeration (DescribePixelFormat).
#include "shell/platform/sdl2/wgl.h"

#include <GL/freeglut.h>
#include <time.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "shell/platform/sdl2/layerwindow.h"
#include "shell/platform/sdl2/seamstate.h"

namespace {

using layer::LayerWindow;

// The one format the layer offers: RGBA 8/8/8/8, double-buffered, with the deepest depth buffer the
// display can give.
constexpr int kRgbaFormat = 1;
constexpr int kDepthChoices[] = {32, 24, 16};

struct SwapPacer {
    bool driverPaces = false;  // the swap interval took, and swaps are seen to wait for the display
    int quickFrames = 0;       // consecutive frames far shorter than a refresh while the driver should pace
    std::chrono::steady_clock::time_point lastSwap{};
    double periodMs = 1000.0 / 60.0;
    std::chrono::steady_clock::time_point deadline{};
};

struct GlState {
    bool glutStarted = false;
    SwapPacer pacer;
};

GlState& TheGlState()
{
    static GlState state;
    return state;
}

LayerWindow* WindowOfDc(HDC hdc)
{
    return layer::FindWindow(reinterpret_cast<HWND>(hdc));
}

void StartGlutOnce()
{
    if (TheGlState().glutStarted) return;
    int argc = 1;
    char name[] = "bricks3d";
    char* argv[] = {name, nullptr};
    glutInit(&argc, argv);
    TheGlState().glutStarted = true;
}

void SetUpPacing(SDL_Window* window)
{
    SwapPacer& pacer = TheGlState().pacer;
    pacer.driverPaces = SDL_GL_SetSwapInterval(1) == 0;
    SDL_DisplayMode mode;
    int display = SDL_GetWindowDisplayIndex(window);
    if (display >= 0 && SDL_GetCurrentDisplayMode(display, &mode) == 0 && mode.refresh_rate > 0) {
        pacer.periodMs = 1000.0 / mode.refresh_rate;
    }
    pacer.deadline = std::chrono::steady_clock::now();
}

// Where the driver does not wait for the display, wait here, so the game's fixed step per frame
// gives the same speed on every machine.
void PaceSwap()
{
    SwapPacer& pacer = TheGlState().pacer;
    if (pacer.driverPaces) {
        auto now = std::chrono::steady_clock::now();
        double frameMs = std::chrono::duration<double, std::milli>(now - pacer.lastSwap).count();
        pacer.lastSwap = now;
        pacer.quickFrames = frameMs < pacer.periodMs / 2 ? pacer.quickFrames + 1 : 0;
        if (pacer.quickFrames < 30) return;
        pacer.driverPaces = false;  // the interval was accepted but the swaps do not wait
        pacer.deadline = now;
    }
    if (!testseam::State().swapPacing) return;
    auto now = std::chrono::steady_clock::now();
    auto period = std::chrono::duration_cast<std::chrono::steady_clock::duration>(
        std::chrono::duration<double, std::milli>(pacer.periodMs));
    pacer.deadline += period;
    if (pacer.deadline < now - period) pacer.deadline = now;  // fell behind: do not rush to catch up
    if (pacer.deadline > now) std::this_thread::sleep_until(pacer.deadline);
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

// The frame count after which the window is asked to close, or 0 when no one asked for it.
long CloseAfterFrames()
{
    static const long frames = [] {
        const char* value = std::getenv("BRICKS_EXIT_AFTER_FRAMES");
        long n = value ? std::strtol(value, nullptr, 10) : 0;
        return n > 0 ? n : 0L;
    }();
    return frames;
}

void CountPresentedFrame(HWND hwnd)
{
    static long presented = 0;
    const long limit = CloseAfterFrames();
    if (limit == 0 || ++presented != limit) return;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    long long ns = static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
    std::fprintf(stderr, "presented frame %ld at %lld\n", presented, ns);
    std::fflush(stderr);
    PostMessageA(hwnd, WM_CLOSE, 0, 0);
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
    window->sdlWindow = CreateGlWindow(*window, *descriptor);
    if (!window->sdlWindow) return FALSE;
    window->pixelFormat = format;
    return TRUE;
}

HGLRC wglCreateContext(HDC hdc)
{
    LayerWindow* window = WindowOfDc(hdc);
    if (!window || !window->sdlWindow) return nullptr;
    // SDL makes a new context current; a Windows context is not current until wglMakeCurrent.
    SDL_Window* previousWindow = SDL_GL_GetCurrentWindow();
    SDL_GLContext previous = SDL_GL_GetCurrentContext();
    SDL_GLContext context = SDL_GL_CreateContext(window->sdlWindow);
    SDL_GL_MakeCurrent(previousWindow, previous);
    return static_cast<HGLRC>(context);
}

BOOL wglMakeCurrent(HDC hdc, HGLRC context)
{
    if (!context) return SDL_GL_MakeCurrent(nullptr, nullptr) == 0;
    LayerWindow* window = WindowOfDc(hdc);
    if (!window || !window->sdlWindow) return FALSE;
    if (SDL_GL_MakeCurrent(window->sdlWindow, static_cast<SDL_GLContext>(context)) != 0) return FALSE;
    if (!TheGlState().glutStarted) SetUpPacing(window->sdlWindow);
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
    if (!window || !window->sdlWindow) return FALSE;
    SDL_GL_SwapWindow(window->sdlWindow);
    CountPresentedFrame(reinterpret_cast<HWND>(hdc));
    PaceSwap();
    return TRUE;
}
