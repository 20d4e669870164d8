// The SDL2 backend's windows and events over SDL2: native windows for the layer's windows, SDL
// window and key events turned into messages, and SDL's message boxes.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "shell/platform/winapi/backend.h"
#include "shell/platform/winapi/sdl2/backendstate.h"
#include "shell/platform/winapi/sdl2/sdlwindow.h"

namespace layer {
namespace {

LayerWindow* WindowOfSdlId(Uint32 windowId)
{
    return FindWindowByNative(AsNative(SDL_GetWindowFromID(windowId)));
}

// Virtual-key codes for the keys SDL reports; letters and digits share their ASCII codes.
WPARAM VirtualKey(SDL_Keycode key)
{
    if (key >= SDLK_a && key <= SDLK_z) return static_cast<WPARAM>('A' + (key - SDLK_a));
    if (key >= SDLK_0 && key <= SDLK_9) return static_cast<WPARAM>(key);
    if (key >= SDLK_F1 && key <= SDLK_F12) return static_cast<WPARAM>(0x70 + (key - SDLK_F1));
    switch (key) {
        case SDLK_BACKSPACE:
            return 0x08;
        case SDLK_TAB:
            return 0x09;
        case SDLK_RETURN:
            return 0x0D;
        case SDLK_ESCAPE:
            return 0x1B;
        case SDLK_SPACE:
            return 0x20;
        case SDLK_LEFT:
            return 0x25;
        case SDLK_UP:
            return 0x26;
        case SDLK_RIGHT:
            return 0x27;
        case SDLK_DOWN:
            return 0x28;
        case SDLK_MINUS:
            return 0xBD;
        case SDLK_EQUALS:
            return 0xBB;
        default:
            return 0;
    }
}

void PostSize(LayerWindow* window, WPARAM kind)
{
    Post(HandleOf(window), WM_SIZE, kind, MAKELPARAM(window->clientWidth, window->clientHeight));
}

void TranslateWindowEvent(const SDL_WindowEvent& event)
{
    LayerWindow* window = WindowOfSdlId(event.windowID);
    if (!window) return;
    switch (event.event) {
        case SDL_WINDOWEVENT_CLOSE:
            Post(HandleOf(window), WM_CLOSE, 0, 0);
            break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            window->clientWidth = event.data1;
            window->clientHeight = event.data2;
            if (!window->minimised) {
                bool maximised = SDL_GetWindowFlags(SdlWindowOf(*window)) & SDL_WINDOW_MAXIMIZED;
                PostSize(window, maximised ? SIZE_MAXIMIZED : SIZE_RESTORED);
            }
            break;
        case SDL_WINDOWEVENT_MINIMIZED:
            window->minimised = true;
            Post(HandleOf(window), WM_SIZE, SIZE_MINIMIZED, 0);
            break;
        case SDL_WINDOWEVENT_RESTORED:
            if (window->minimised) {
                window->minimised = false;
                SDL_GetWindowSize(SdlWindowOf(*window), &window->clientWidth, &window->clientHeight);
                PostSize(window, SIZE_RESTORED);
            }
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            NoteFocusGained(HandleOf(window));
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            NoteFocusLost(HandleOf(window));
            break;
        default:
            break;
    }
}

// The frame pacer chooses its swap interval again for another display, and starts its schedule afresh
// for a window back in view. SDL 2.26 sends no event for a new mode of the same display: the pacer's
// own watch of its frames covers that.
void TellPacer(const SDL_WindowEvent& event)
{
    switch (event.event) {
        case SDL_WINDOWEVENT_DISPLAY_CHANGED:
            sdl2::State().pacer.DisplayChanged();
            break;
        case SDL_WINDOWEVENT_SHOWN:
        case SDL_WINDOWEVENT_RESTORED:
            sdl2::State().pacer.WindowShown();
            break;
        default:
            break;
    }
}

void TranslateKeyEvent(const SDL_KeyboardEvent& event)
{
    LayerWindow* window = WindowOfSdlId(event.windowID);
    WPARAM key = VirtualKey(event.keysym.sym);
    if (!window || key == 0) return;
    const bool down = event.type == SDL_KEYDOWN;
    if (event.keysym.mod & KMOD_ALT) {
        // Keys with Alt held are system keys, bit 29 of lParam saying so, as Windows sends them.
        Post(HandleOf(window), down ? WM_SYSKEYDOWN : WM_SYSKEYUP, key, 1 | (1 << 29));
    } else {
        Post(HandleOf(window), down ? WM_KEYDOWN : WM_KEYUP, key, 1);
    }
}

// What a display variable holds, for the message that no display was found.
const char* ValueOf(const char* variable)
{
    const char* value = std::getenv(variable);
    return value ? value : "not set";
}

bool IsOffscreenDriver(const char* driver)
{
    return driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
}

}  // namespace

namespace backend {

void PumpEvents()
{
    if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        switch (event.type) {
            case SDL_WINDOWEVENT:
                TellPacer(event.window);
                TranslateWindowEvent(event.window);
                break;
            case SDL_DISPLAYEVENT:
                sdl2::State().pacer.DisplayChanged();
                break;
            case SDL_KEYDOWN:
            case SDL_KEYUP:
                TranslateKeyEvent(event.key);
                break;
            case SDL_QUIT:
                PostCloseToAllWindows();
                break;
            default:
                break;
        }
    }
}

bool StartVideo()
{
    if (SDL_WasInit(SDL_INIT_VIDEO)) return true;
    const char* requested = std::getenv("SDL_VIDEODRIVER");
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr,
                     "Cannot open a window: %s (DISPLAY is %s, WAYLAND_DISPLAY is %s: is either set to a "
                     "running display?)\n",
                     SDL_GetError(), ValueOf("DISPLAY"), ValueOf("WAYLAND_DISPLAY"));
        return false;
    }
    const char* driver = SDL_GetCurrentVideoDriver();
    if (IsOffscreenDriver(driver) && !IsOffscreenDriver(requested)) {
        std::fprintf(stderr,
                     "Cannot open a window: no display was found (DISPLAY is %s, WAYLAND_DISPLAY is %s). "
                     "Run the game on an X11 or Wayland desktop, or under xvfb-run.\n",
                     ValueOf("DISPLAY"), ValueOf("WAYLAND_DISPLAY"));
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return false;
    }
    return true;
}

void DestroyNativeWindow(LayerWindow& window)
{
    if (window.native) SDL_DestroyWindow(SdlWindowOf(window));
    window.native = nullptr;
}

void ShowNativeWindow(LayerWindow& window, bool visible)
{
    if (!window.native) return;
    if (visible) {
        SDL_ShowWindow(SdlWindowOf(window));
    } else {
        SDL_HideWindow(SdlWindowOf(window));
    }
}

void RaiseNativeWindow(LayerWindow& window)
{
    if (window.native && window.visible) SDL_RaiseWindow(SdlWindowOf(window));
}

void ShowMessageBox(const LayerWindow* owner, const char* caption, const char* text, bool error)
{
    const Uint32 flags = error ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
    // Without a display no box can be shown; the text is on stderr already.
    SDL_ShowSimpleMessageBox(flags, caption, text, owner ? SdlWindowOf(*owner) : nullptr);
}

}  // namespace backend
}  // namespace layer
