// What every backend's WGL shares: a window's device context is its handle, and the layer offers
// one pixel format.
#pragma once

#include "shell/platform/winapi/layerwindow.h"
#include "shell/platform/winapi/opengl32.h"

namespace layer {

// RGBA 8/8/8/8, double-buffered, with a depth buffer.
constexpr int kRgbaFormat = 1;

// The window whose device context hdc is, or null.
LayerWindow* WindowOfDc(HDC hdc);

}  // namespace layer
