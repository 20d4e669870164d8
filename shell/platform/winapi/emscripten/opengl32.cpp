// The browser backend's side of WGL (backend.h): the page's canvas is the one window that can draw, in a
// WebGL context made through Emscripten's GLUT, the path that also sets up the legacy GL emulation
// (immediate mode, the matrix stack) the game draws with. SwapBuffers hands the frame to the browser
// and resumes the game at the first animation frame at or after the frame's 1/60 s deadline
// (framepacer.h); where animation frames come fewer than 60 a second, a frame a whole frame behind
// goes on to the next at once instead, so the game's own loop runs at 60 frames a second on a
// display of any rate. A page hidden gets no animation frames: the long wait restarts the schedule.
// Not implemented: a second drawing window or context, format enumeration (DescribePixelFormat).
#include <GL/freeglut.h>

#include <cstdio>

#include "shell/platform/winapi/backend.h"
#include "shell/platform/winapi/emscripten/backendstate.h"
#include "shell/platform/winapi/hooks.h"

namespace layer {
namespace {

// The canvas as the pacer sees it: no refresh rate and no swap interval a page could know or set;
// the browser takes the frame when the clock's wait yields to it.
class CanvasDisplay final : public pacing::PaceDisplay {
public:
    int ReportedRefreshRate() override { return 0; }
    bool SetSwapInterval(int) override { return false; }
    void Swap() override {}
    bool ShowsFramesOnWait() override { return true; }
};

}  // namespace

// A WebGL context's buffers are fixed when it is made, and the game draws (setting its projection on
// WM_SIZE) before it sets a pixel format, so the canvas gets its context with the page: the buffers the
// game asks for, RGBA, double-buffered, with depth.
bool web::MakeCanvasContext()
{
    BackendState& state = State();
    if (state.contextMade) return true;
    int argc = 1;
    char name[] = "bricks3d";
    char* argv[] = {name, nullptr};
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH);
    if (glutCreateWindow("") == 0) {
        std::fprintf(stderr, "This browser gives the page no WebGL context\n");
        return false;
    }
    state.contextMade = true;
    return true;
}

NativeWindow* web::Canvas()
{
    return reinterpret_cast<NativeWindow*>(&State().canvasToken);
}

NativeWindow* backend::MakeGlSurface(const LayerWindow& window, const PIXELFORMATDESCRIPTOR& format)
{
    web::BackendState& state = web::State();
    if (state.canvasTaken) {
        std::fprintf(stderr, "SetPixelFormat: the page has one canvas, and another window has it\n");
        return nullptr;
    }
    if (format.cStencilBits) {
        std::fprintf(stderr, "SetPixelFormat: the canvas has no stencil buffer\n");
        return nullptr;
    }
    // The canvas takes the window's client size, and the page its keys and title.
    if (window.clientWidth != glutGet(GLUT_WINDOW_WIDTH) ||
        window.clientHeight != glutGet(GLUT_WINDOW_HEIGHT))
        glutReshapeWindow(window.clientWidth, window.clientHeight);
    WebStartPage(state.keys, window.title.c_str());
    state.canvasTaken = true;
    return web::Canvas();
}

HGLRC backend::CreateGlContext(const LayerWindow&)
{
    web::BackendState& state = web::State();
    if (state.context) return nullptr;
    state.context = reinterpret_cast<HGLRC>(&state);
    return state.context;
}

// The game opens its pictures once its context is current. The page starts the game while it is still
// painting them (or reading them back), so that the canvas's context and the game's start happen
// meanwhile; here the game waits until they are written.
BOOL backend::MakeGlCurrent(const LayerWindow*, HGLRC context)
{
    web::BackendState& state = web::State();
    if (context && context != state.context) return FALSE;
    if (context) WebWaitForFiles();
    state.current = context;
    return TRUE;
}

BOOL backend::DeleteGlContext(HGLRC context)
{
    web::BackendState& state = web::State();
    if (context != state.context) return FALSE;
    if (state.current == context) state.current = nullptr;
    // The WebGL context itself lives as long as the page; only the handle goes.
    state.context = nullptr;
    return TRUE;
}

HGLRC backend::CurrentGlContext()
{
    return web::State().current;
}

void backend::PresentFrame(const LayerWindow&, HDC hdc)
{
    if (auto observe = Services().presentedFrame) observe(reinterpret_cast<HWND>(hdc));
    WebNoteFrame();
    CanvasDisplay canvas;
    web::State().pacer.Present(canvas);
}

}  // namespace layer
