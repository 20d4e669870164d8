// user32 windows: classes, windows with extra bytes, creation with WM_CREATE then WM_SIZE, focus and
// client rectangles. The native window behind each is the backend's. Not implemented: child windows,
// menus, painting regions.
#include <algorithm>
#include <cstring>
#include <memory>

#include "shell/platform/winapi/backend.h"
#include "shell/platform/winapi/resets.h"

namespace layer {
namespace {

struct WindowClass {
    std::string name;
    WNDPROC proc = nullptr;
    int windowExtraBytes = 0;
};

struct WindowTable {
    std::vector<std::unique_ptr<WindowClass>> classes;
    std::vector<std::unique_ptr<LayerWindow>> windows;
    HWND focus = nullptr;
};

WindowTable windowTable;

WindowClass* FindClass(LPCSTR name)
{
    if (!name) return nullptr;
    for (auto& c : windowTable.classes) {
        if (c->name == name) return c.get();
    }
    return nullptr;
}

}  // namespace

LayerWindow* FindWindow(HWND hwnd)
{
    if (!hwnd) return nullptr;
    for (auto& w : windowTable.windows) {
        if (HandleOf(w.get()) == hwnd) return w.get();
    }
    return nullptr;
}

HWND HandleOf(const LayerWindow* window)
{
    return reinterpret_cast<HWND>(const_cast<LayerWindow*>(window));
}

LayerWindow* FindWindowByNative(const NativeWindow* native)
{
    if (!native) return nullptr;
    for (auto& w : windowTable.windows) {
        if (w->native == native) return w.get();
    }
    return nullptr;
}

void PostCloseToAllWindows()
{
    for (auto& w : windowTable.windows) Post(HandleOf(w.get()), WM_CLOSE, 0, 0);
}

void PostToAllWindows(UINT message, WPARAM wParam, LPARAM lParam)
{
    for (auto& w : windowTable.windows) Post(HandleOf(w.get()), message, wParam, lParam);
}

void NoteFocusGained(HWND hwnd)
{
    windowTable.focus = hwnd;
}

void NoteFocusLost(HWND hwnd)
{
    if (windowTable.focus == hwnd) windowTable.focus = nullptr;
}

void ResetWindows()
{
    for (auto& w : windowTable.windows) backend::DestroyNativeWindow(*w);
    windowTable = {};
}

}  // namespace layer

using layer::FindWindow;
using layer::HandleOf;
using layer::LayerWindow;
using layer::windowTable;

ATOM RegisterClassA(const WNDCLASSA* wndClass)
{
    if (!wndClass || !wndClass->lpszClassName || !wndClass->lpfnWndProc) return 0;
    if (layer::FindClass(wndClass->lpszClassName)) return 0;
    auto c = std::make_unique<layer::WindowClass>();
    c->name = wndClass->lpszClassName;
    c->proc = wndClass->lpfnWndProc;
    c->windowExtraBytes = std::max(0, wndClass->cbWndExtra);
    windowTable.classes.push_back(std::move(c));
    return static_cast<ATOM>(0xC000 + windowTable.classes.size());
}

BOOL UnregisterClassA(LPCSTR className, HINSTANCE)
{
    auto& classes = windowTable.classes;
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
    if (!windowClass || !layer::backend::StartVideo()) return nullptr;

    auto window = std::make_unique<LayerWindow>();
    window->proc = windowClass->proc;
    window->title = windowName ? windowName : "";
    window->extraBytes.assign(static_cast<size_t>(windowClass->windowExtraBytes), 0);
    window->x = x;
    window->y = y;
    window->clientWidth = std::max(0, width);
    window->clientHeight = std::max(0, height);
    HWND hwnd = HandleOf(window.get());
    windowTable.windows.push_back(std::move(window));

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
    auto& windows = windowTable.windows;
    auto found = std::find_if(windows.begin(), windows.end(),
                              [&](const auto& w) { return HandleOf(w.get()) == hwnd; });
    if (found == windows.end()) return FALSE;
    layer::backend::DestroyNativeWindow(**found);
    windows.erase(found);
    if (windowTable.focus == hwnd) windowTable.focus = nullptr;
    layer::ForgetQueuedMessages(hwnd);
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

BOOL ShowWindow(HWND hwnd, int showCommand)
{
    LayerWindow* window = FindWindow(hwnd);
    if (!window) return FALSE;
    BOOL wasVisible = window->visible ? TRUE : FALSE;
    window->visible = showCommand != SW_HIDE;
    layer::backend::ShowNativeWindow(*window, window->visible);
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
    HWND previous = windowTable.focus;
    LayerWindow* window = FindWindow(hwnd);
    if (hwnd && !window) return nullptr;
    if (previous == hwnd) return previous;
    if (previous) SendMessageA(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
    windowTable.focus = hwnd;
    if (window) {
        layer::backend::RaiseNativeWindow(*window);
        SendMessageA(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    }
    return previous;
}

HWND GetFocus()
{
    return windowTable.focus;
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
