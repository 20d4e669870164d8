// opengl32 (WGL) for the browser backend: the page's canvas is the one window that can draw, in a
// WebGL context made through Emscripten's GLUT, the path that also sets up the legacy GL emulation
// (immediate mode, the matrix stack) the game draws with. SwapBuffers hands the frame to the browser
// and resumes the game at the first animation frame at or after the frame's 1/60 s deadline
// (framepacer.h); where animation frames come fewer than 60 a second, a frame a whole frame behind
// goes on to the next at once instead, so the game's own loop runs at 60 frames a second on a
// display of any rate. A page hidden gets no animation frames: the long wait restarts the schedule.
// Not implemented: a second drawing window or context, format enumeration (DescribePixelFormat).
#include "shell/platform/winapi/opengl32.h"

#include <GL/freeglut.h>

#include <cstdio>

#include "shell/platform/framepacer.h"
#include "shell/platform/winapi/emscripten/page.h"
#include "shell/platform/winapi/hooks.h"
#include "shell/platform/winapi/opengl32_dc.h"
#include "shell/platform/winapi/resets.h"

namespace {

using layer::kRgbaFormat;
using layer::LayerWindow;
using layer::WindowOfDc;

struct GlService {
    bool contextMade = false;
    bool canvasTaken = false;
    HGLRC context = nullptr;  // the canvas's one context, once made
    HGLRC current = nullptr;
};

// The page's time is that of its animation frames, the browser's vertical blanks: waiting means
// handing control back to the browser, which is also when it shows the canvas, so a wait always
// yields at least once.
class AnimationFrameClock final : public pacing::PaceClock {
public:
    double NowMs() override { return frameMs; }
    void WaitUntilMs(double ms) override
    {
        do {
            frameMs = WebWaitForFrame();
        } while (frameMs < ms);
    }

private:
    double frameMs = 0.0;
};

// The canvas as the pacer sees it: no refresh rate and no swap interval a page could know or set;
// the browser takes the frame when the clock's wait yields to it.
class CanvasDisplay final : public pacing::PaceDisplay {
public:
    int ReportedRefreshRate() override { return 0; }
    bool SetSwapInterval(int) override { return false; }
    void Swap() override {}
    bool ShowsFramesOnWait() override { return true; }
};

GlService glService;
char canvasToken;  // its address stands for the canvas
AnimationFrameClock frameClock;
pacing::FramePacer pacer(frameClock);

}  // namespace

// A WebGL context's buffers are fixed when it is made, and the game draws (setting its projection on
// WM_SIZE) before it sets a pixel format, so the canvas gets its context with the page: the buffers the
// game asks for, RGBA, double-buffered, with depth.
bool layer::web::MakeCanvasContext()
{
    if (glService.contextMade) return true;
    int argc = 1;
    char name[] = "bricks3d";
    char* argv[] = {name, nullptr};
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH);
    if (glutCreateWindow("") == 0) {
        std::fprintf(stderr, "This browser gives the page no WebGL context\n");
        return false;
    }
    glService.contextMade = true;
    return true;
}

layer::NativeWindow* layer::web::Canvas()
{
    return reinterpret_cast<NativeWindow*>(&canvasToken);
}

BOOL SetPixelFormat(HDC hdc, int format, const PIXELFORMATDESCRIPTOR* descriptor)
{
    LayerWindow* window = WindowOfDc(hdc);
    if (!window || !descriptor || format != kRgbaFormat || window->pixelFormat != 0) return FALSE;
    if (glService.canvasTaken) {
        std::fprintf(stderr, "SetPixelFormat: the page has one canvas, and another window has it\n");
        return FALSE;
    }
    if (descriptor->cStencilBits) {
        std::fprintf(stderr, "SetPixelFormat: the canvas has no stencil buffer\n");
        return FALSE;
    }
    // The canvas takes the window's client size, and the page its keys and title.
    if (window->clientWidth != glutGet(GLUT_WINDOW_WIDTH) ||
        window->clientHeight != glutGet(GLUT_WINDOW_HEIGHT))
        glutReshapeWindow(window->clientWidth, window->clientHeight);
    WebStartPage(layer::web::KeySnapshot(), window->title.c_str());
    glService.canvasTaken = true;
    window->native = layer::web::Canvas();
    window->pixelFormat = format;
    return TRUE;
}

HGLRC wglCreateContext(HDC hdc)
{
    LayerWindow* window = WindowOfDc(hdc);
    if (!window || window->native != layer::web::Canvas() || glService.context) return nullptr;
    glService.context = reinterpret_cast<HGLRC>(&glService);
    return glService.context;
}

BOOL wglMakeCurrent(HDC hdc, HGLRC context)
{
    if (!context) {
        glService.current = nullptr;
        return TRUE;
    }
    LayerWindow* window = WindowOfDc(hdc);
    if (!window || window->native != layer::web::Canvas() || context != glService.context) return FALSE;
    glService.current = context;
    return TRUE;
}

BOOL wglDeleteContext(HGLRC context)
{
    if (!context || context != glService.context) return FALSE;
    if (glService.current == context) glService.current = nullptr;
    // The WebGL context itself lives as long as the page; only the handle goes.
    glService.context = nullptr;
    return TRUE;
}

HGLRC wglGetCurrentContext()
{
    return glService.current;
}

BOOL SwapBuffers(HDC hdc)
{
    LayerWindow* window = WindowOfDc(hdc);
    if (!window || window->native != layer::web::Canvas()) return FALSE;
    if (auto observe = layer::Services().presentedFrame) observe(reinterpret_cast<HWND>(hdc));
    WebNoteFrame();
    CanvasDisplay canvas;
    pacer.Present(canvas);
    return TRUE;
}

// The canvas keeps its context: a page has one, made once.
void layer::backend::ResetGl()
{
    glService.current = nullptr;
}
