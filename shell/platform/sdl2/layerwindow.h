// The layer's own record of a window, shared by its window, GL and dialog services.
#pragma once

#include <SDL.h>

#include <string>
#include <vector>

#include "shell/platform/sdl2/user32.h"

namespace layer {

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
    int pixelFormat = 0;              // 0 until SetPixelFormat succeeds
    SDL_Window* sdlWindow = nullptr;  // made with the pixel format, since GL attributes come first
};

// The window behind a handle, or null for a handle the layer does not know (stale or foreign).
LayerWindow* FindWindow(HWND hwnd);
HWND HandleOf(const LayerWindow* window);
LayerWindow* FindWindowBySdlId(Uint32 windowId);

// Starts SDL video on a real display. Without one it says so on stderr and returns false, instead
// of letting SDL fall back to an invisible offscreen driver.
bool StartVideo();

}  // namespace layer
