// The browser backend's window: the page's one canvas is the window, and its size changes and close
// requests become WM_SIZE and WM_CLOSE. Message boxes are lines on the page and in the console, and
// count as answered at once, so the game goes on as after a click on OK.
// Not implemented: more than one window, minimising, key messages (the game reads DirectInput).
#include "shell/platform/winapi/backend.h"
#include "shell/platform/winapi/emscripten/page.h"

namespace layer::backend {

// The page is there to draw in once its canvas has a context.
bool StartVideo()
{
    return web::MakeCanvasContext();
}

void DestroyNativeWindow(LayerWindow& window)
{
    window.native = nullptr;
}

// The canvas stays on the page whatever the window's state.
void ShowNativeWindow(LayerWindow&, bool) {}

void RaiseNativeWindow(LayerWindow&) {}

void PumpEvents()
{
    int width = 0, height = 0;
    for (int kind; (kind = WebTakeWindowEvent(&width, &height)) != web::kNoEvent;) {
        // Events from before the canvas had a window have no one to go to.
        LayerWindow* window = FindWindowByNative(web::Canvas());
        if (!window) continue;
        if (kind == web::kSizeEvent) {
            window->clientWidth = width;
            window->clientHeight = height;
            Post(HandleOf(window), WM_SIZE, SIZE_RESTORED, MAKELPARAM(width, height));
        } else if (kind == web::kCloseEvent) {
            Post(HandleOf(window), WM_CLOSE, 0, 0);
        } else if (kind == web::kDevicesEvent) {
            PostToAllWindows(WM_DEVICECHANGE, 0x0007, 0);  // DBT_DEVNODES_CHANGED, as on Windows
        }
    }
}

void ShowMessageBox(const LayerWindow*, const char* caption, const char* text, bool)
{
    WebShowMessage(caption, text);
}

}  // namespace layer::backend
