// user32 windows and messages over SDL2.
// Implements: window classes, windows with extra bytes, creation with WM_CREATE then WM_SIZE, a
// per-thread message queue fed from SDL window events (close, size, minimise, keys), focus, client
// rectangles. Not implemented: child windows, menus, painting regions, character translation.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <memory>

#include "shell/platform/sdl2/layerwindow.h"

namespace layer {
namespace {

struct WindowClass {
    std::string name;
    WNDPROC proc = nullptr;
    int windowExtraBytes = 0;
};

struct Registry {
    std::vector<std::unique_ptr<WindowClass>> classes;
    std::vector<std::unique_ptr<LayerWindow>> windows;
    HWND focus = nullptr;
};

Registry& TheRegistry()
{
    static Registry registry;
    return registry;
}

struct MessageQueue {
    std::deque<MSG> posted;
    bool quitPosted = false;
    int quitCode = 0;
};

MessageQueue& TheQueue()
{
    thread_local MessageQueue queue;
    return queue;
}

WindowClass* FindClass(LPCSTR name)
{
    if (!name) return nullptr;
    for (auto& c : TheRegistry().classes) {
        if (c->name == name) return c.get();
    }
    return nullptr;
}

MSG MakeMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    MSG msg{};
    msg.hwnd = hwnd;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = static_cast<DWORD>(SDL_GetTicks());
    return msg;
}

void Post(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    TheQueue().posted.push_back(MakeMessage(hwnd, message, wParam, lParam));
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
    LayerWindow* window = FindWindowBySdlId(event.windowID);
    if (!window) return;
    switch (event.event) {
        case SDL_WINDOWEVENT_CLOSE:
            Post(HandleOf(window), WM_CLOSE, 0, 0);
            break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            window->clientWidth = event.data1;
            window->clientHeight = event.data2;
            if (!window->minimised) {
                bool maximised = SDL_GetWindowFlags(window->sdlWindow) & SDL_WINDOW_MAXIMIZED;
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
                SDL_GetWindowSize(window->sdlWindow, &window->clientWidth, &window->clientHeight);
                PostSize(window, SIZE_RESTORED);
            }
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            TheRegistry().focus = HandleOf(window);
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            if (TheRegistry().focus == HandleOf(window)) TheRegistry().focus = nullptr;
            break;
        default:
            break;
    }
}

void TranslateKeyEvent(const SDL_KeyboardEvent& event)
{
    LayerWindow* window = FindWindowBySdlId(event.windowID);
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

// A quit request from outside (a signal, the session ending) asks every window to close.
void TranslateQuit()
{
    for (auto& w : TheRegistry().windows) Post(HandleOf(w.get()), WM_CLOSE, 0, 0);
}

void PumpSdlEvents()
{
    if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        switch (event.type) {
            case SDL_WINDOWEVENT:
                TranslateWindowEvent(event.window);
                break;
            case SDL_KEYDOWN:
            case SDL_KEYUP:
                TranslateKeyEvent(event.key);
                break;
            case SDL_QUIT:
                TranslateQuit();
                break;
            default:
                break;
        }
    }
}

bool Matches(const MSG& msg, HWND hwnd, UINT filterMin, UINT filterMax)
{
    if (hwnd && msg.hwnd != hwnd) return false;
    if (filterMin == 0 && filterMax == 0) return true;
    return msg.message >= filterMin && msg.message <= filterMax;
}

bool IsOffscreenDriver(const char* driver)
{
    return driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
}

}  // namespace

LayerWindow* FindWindow(HWND hwnd)
{
    if (!hwnd) return nullptr;
    for (auto& w : TheRegistry().windows) {
        if (HandleOf(w.get()) == hwnd) return w.get();
    }
    return nullptr;
}

HWND HandleOf(const LayerWindow* window)
{
    return reinterpret_cast<HWND>(const_cast<LayerWindow*>(window));
}

LayerWindow* FindWindowBySdlId(Uint32 windowId)
{
    for (auto& w : TheRegistry().windows) {
        if (w->sdlWindow && SDL_GetWindowID(w->sdlWindow) == windowId) return w.get();
    }
    return nullptr;
}

bool StartVideo()
{
    if (SDL_WasInit(SDL_INIT_VIDEO)) return true;
    const char* requested = std::getenv("SDL_VIDEODRIVER");
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "Cannot open a window: %s (is DISPLAY set to a running X server?)\n",
                     SDL_GetError());
        return false;
    }
    const char* driver = SDL_GetCurrentVideoDriver();
    if (IsOffscreenDriver(driver) && !IsOffscreenDriver(requested)) {
        std::fprintf(stderr,
                     "Cannot open a window: no display was found (DISPLAY is %s). Run the game on a "
                     "desktop, or under xvfb-run.\n",
                     std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "not set");
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return false;
    }
    return true;
}

}  // namespace layer

using layer::FindWindow;
using layer::HandleOf;
using layer::LayerWindow;
using layer::TheRegistry;

ATOM RegisterClassA(const WNDCLASSA* wndClass)
{
    if (!wndClass || !wndClass->lpszClassName || !wndClass->lpfnWndProc) return 0;
    if (layer::FindClass(wndClass->lpszClassName)) return 0;
    auto c = std::make_unique<layer::WindowClass>();
    c->name = wndClass->lpszClassName;
    c->proc = wndClass->lpfnWndProc;
    c->windowExtraBytes = std::max(0, wndClass->cbWndExtra);
    TheRegistry().classes.push_back(std::move(c));
    return static_cast<ATOM>(0xC000 + TheRegistry().classes.size());
}

BOOL UnregisterClassA(LPCSTR className, HINSTANCE)
{
    auto& classes = TheRegistry().classes;
    auto found = std::find_if(classes.begin(), classes.end(),
                              [&](const auto& c) { return className && c->name == className; });
    if (found == classes.end()) return FALSE;
    classes.erase(found);
    return TRUE;
}

HICON LoadIconA(HINSTANCE, LPCSTR name)
{
    // Stock resources only: the handle stands for the system's own icon.
    return reinterpret_cast<HICON>(const_cast<char*>(name));
}

HCURSOR LoadCursorA(HINSTANCE, LPCSTR name)
{
    return reinterpret_cast<HCURSOR>(const_cast<char*>(name));
}

BOOL AdjustWindowRect(LPRECT rect, DWORD, BOOL)
{
    // The X11 frame lies outside the client area, so the outer rectangle is the client rectangle.
    return rect ? TRUE : FALSE;
}

HWND CreateWindowExA(DWORD, LPCSTR className, LPCSTR windowName, DWORD, int x, int y, int width, int height,
                     HWND, HMENU, HINSTANCE instance, LPVOID param)
{
    layer::WindowClass* windowClass = layer::FindClass(className);
    if (!windowClass || !layer::StartVideo()) return nullptr;

    auto window = std::make_unique<LayerWindow>();
    window->proc = windowClass->proc;
    window->title = windowName ? windowName : "";
    window->extraBytes.assign(static_cast<size_t>(windowClass->windowExtraBytes), 0);
    window->x = x;
    window->y = y;
    window->clientWidth = std::max(0, width);
    window->clientHeight = std::max(0, height);
    HWND hwnd = HandleOf(window.get());
    TheRegistry().windows.push_back(std::move(window));

    CREATESTRUCTA create{};
    create.lpCreateParams = param;
    create.hInstance = instance;
    create.cx = width;
    create.cy = height;
    create.x = x;
    create.y = y;
    create.lpszName = windowName;
    create.lpszClass = className;
    if (SendMessageA(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    LayerWindow* created = FindWindow(hwnd);
    SendMessageA(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(created->clientWidth, created->clientHeight));
    return hwnd;
}

BOOL DestroyWindow(HWND hwnd)
{
    if (!FindWindow(hwnd)) return FALSE;
    SendMessageA(hwnd, WM_DESTROY, 0, 0);
    auto& windows = TheRegistry().windows;
    auto found = std::find_if(windows.begin(), windows.end(),
                              [&](const auto& w) { return HandleOf(w.get()) == hwnd; });
    if (found == windows.end()) return FALSE;
    if ((*found)->sdlWindow) SDL_DestroyWindow((*found)->sdlWindow);
    windows.erase(found);
    if (TheRegistry().focus == hwnd) TheRegistry().focus = nullptr;
    auto& posted = layer::TheQueue().posted;
    posted.erase(std::remove_if(posted.begin(), posted.end(), [&](const MSG& m) { return m.hwnd == hwnd; }),
                 posted.end());
    return TRUE;
}

BOOL IsWindow(HWND hwnd)
{
    return FindWindow(hwnd) ? TRUE : FALSE;
}

namespace {

// The extra bytes at index, if index and a pointer-sized value fit inside them.
unsigned char* ExtraSlot(HWND hwnd, int index)
{
    LayerWindow* window = FindWindow(hwnd);
    if (!window || index < 0) return nullptr;
    size_t end = static_cast<size_t>(index) + sizeof(LONG_PTR);
    if (end > window->extraBytes.size()) return nullptr;
    return window->extraBytes.data() + index;
}

}  // namespace

LONG_PTR SetWindowLongPtrA(HWND hwnd, int index, LONG_PTR value)
{
    unsigned char* slot = ExtraSlot(hwnd, index);
    if (!slot) return 0;
    LONG_PTR previous;
    std::memcpy(&previous, slot, sizeof(previous));
    std::memcpy(slot, &value, sizeof(value));
    return previous;
}

LONG_PTR GetWindowLongPtrA(HWND hwnd, int index)
{
    unsigned char* slot = ExtraSlot(hwnd, index);
    if (!slot) return 0;
    LONG_PTR value;
    std::memcpy(&value, slot, sizeof(value));
    return value;
}

// Default processing as Windows gives it for what the layer sends: Alt+F4 asks the window to
// close, and a close request not handled by the window destroys it.
LRESULT DefWindowProcA(HWND hwnd, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
        case WM_SYSKEYDOWN:
            if (wParam == VK_F4) return SendMessageA(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
            return 0;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == SC_CLOSE) return SendMessageA(hwnd, WM_CLOSE, 0, 0);
            return 0;
        case WM_CLOSE:
            DestroyWindow(hwnd);
            return 0;
        default:
            return 0;
    }
}

BOOL PeekMessageA(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlag)
{
    if (!msg) return FALSE;
    layer::PumpSdlEvents();
    auto& queue = layer::TheQueue();
    auto found = std::find_if(queue.posted.begin(), queue.posted.end(),
                              [&](const MSG& m) { return layer::Matches(m, hwnd, filterMin, filterMax); });
    if (found != queue.posted.end()) {
        *msg = *found;
        if (removeFlag & PM_REMOVE) queue.posted.erase(found);
        return TRUE;
    }
    // As on Windows, the quit message comes once nothing else is waiting.
    if (queue.quitPosted &&
        layer::Matches(layer::MakeMessage(nullptr, WM_QUIT, 0, 0), nullptr, filterMin, filterMax)) {
        *msg = layer::MakeMessage(nullptr, WM_QUIT, static_cast<WPARAM>(queue.quitCode), 0);
        if (removeFlag & PM_REMOVE) queue.quitPosted = false;
        return TRUE;
    }
    return FALSE;
}

BOOL TranslateMessage(const MSG* msg)
{
    // No character messages are made: nothing in the game reads them.
    if (!msg) return FALSE;
    const UINT m = msg->message;
    return m == WM_KEYDOWN || m == WM_KEYUP || m == WM_SYSKEYDOWN || m == WM_SYSKEYUP ? TRUE : FALSE;
}

LRESULT DispatchMessageA(const MSG* msg)
{
    if (!msg) return 0;
    LayerWindow* window = FindWindow(msg->hwnd);
    if (!window) return 0;
    return window->proc(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

void PostQuitMessage(int exitCode)
{
    layer::TheQueue().quitPosted = true;
    layer::TheQueue().quitCode = exitCode;
}

BOOL PostMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (hwnd && !FindWindow(hwnd)) return FALSE;
    layer::Post(hwnd, message, wParam, lParam);
    return TRUE;
}

LRESULT SendMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    LayerWindow* window = FindWindow(hwnd);
    if (!window) return 0;
    return window->proc(hwnd, message, wParam, lParam);
}

BOOL ShowWindow(HWND hwnd, int showCommand)
{
    LayerWindow* window = FindWindow(hwnd);
    if (!window) return FALSE;
    BOOL wasVisible = window->visible ? TRUE : FALSE;
    window->visible = showCommand != SW_HIDE;
    if (window->sdlWindow) {
        if (window->visible) {
            SDL_ShowWindow(window->sdlWindow);
        } else {
            SDL_HideWindow(window->sdlWindow);
        }
    }
    return wasVisible;
}

BOOL UpdateWindow(HWND hwnd)
{
    if (!FindWindow(hwnd)) return FALSE;
    SendMessageA(hwnd, WM_PAINT, 0, 0);
    return TRUE;
}

HWND SetFocus(HWND hwnd)
{
    HWND previous = TheRegistry().focus;
    LayerWindow* window = FindWindow(hwnd);
    if (hwnd && !window) return nullptr;
    if (previous == hwnd) return previous;
    if (previous) SendMessageA(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
    TheRegistry().focus = hwnd;
    if (window) {
        if (window->sdlWindow && window->visible) SDL_RaiseWindow(window->sdlWindow);
        SendMessageA(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    }
    return previous;
}

HWND GetFocus()
{
    return TheRegistry().focus;
}

BOOL GetClientRect(HWND hwnd, LPRECT rect)
{
    LayerWindow* window = FindWindow(hwnd);
    if (!window || !rect) return FALSE;
    rect->left = 0;
    rect->top = 0;
    rect->right = window->minimised ? 0 : window->clientWidth;
    rect->bottom = window->minimised ? 0 : window->clientHeight;
    return TRUE;
}
