// The layer's own record of a window, and the window table that its window, message, GL and dialog
// services share.
#pragma once

#include <string>
#include <vector>

#include "shell/platform/winapi/user32.h"

namespace layer {

// The backend's window (an SDL window on the desktop); opaque to the neutral parts.
struct NativeWindow;

struct LayerWindow {
    WNDPROC proc = nullptr;
    std::string title;
    std::vector<unsigned char> extraBytes;
    int x = 0;
    int y = 0;
    int clientWidth = 0;
    int clientHeight = 0;
    bool visible = false;
    bool minimised = false;
    int pixelFormat = 0;             // 0 until SetPixelFormat succeeds
    NativeWindow* native = nullptr;  // made with the pixel format, since GL attributes come first
};

// The window behind a handle, or null for a handle the layer does not know (stale or foreign).
LayerWindow* FindWindow(HWND hwnd);
HWND HandleOf(const LayerWindow* window);
LayerWindow* FindWindowByNative(const NativeWindow* native);

// Posts a message to the calling thread's queue, as PostMessageA does, for a known window or none.
void Post(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Asks every window to close, as a quit request from outside (a signal, the session ending) does.
void PostCloseToAllWindows();
// Posts a message to every window, as Windows broadcasts a change of the attached devices.
void PostToAllWindows(UINT message, WPARAM wParam, LPARAM lParam);
// Keeps GetFocus in step with the window system's own focus changes.
void NoteFocusGained(HWND hwnd);
void NoteFocusLost(HWND hwnd);
// Drops the messages still queued for a window that is going away.
void ForgetQueuedMessages(HWND hwnd);

}  // namespace layer
