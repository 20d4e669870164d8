// On the desktop a layer window's native window is an SDL window.
#pragma once

#include <SDL.h>

#include "shell/platform/winapi/layerwindow.h"

namespace layer {

inline SDL_Window* SdlWindowOf(const LayerWindow& window)
{
    return reinterpret_cast<SDL_Window*>(window.native);
}

inline NativeWindow* AsNative(SDL_Window* window)
{
    return reinterpret_cast<NativeWindow*>(window);
}

}  // namespace layer
