// A real, current OpenGL context on a hidden 800x600 window, made through the platform layer, for
// tests that draw and read pixels back. Needs an X display (the test script provides Xvfb).
#pragma once

#include <array>
#include <cstdint>

#include "shell/platform/platform.h"

class GlContext {
public:
    explicit GlContext(int width = 800, int height = 600);
    ~GlContext();
    GlContext(const GlContext&) = delete;
    GlContext& operator=(const GlContext&) = delete;

    // The colour of the back-buffer pixel at (x, y), counted from the lower-left corner.
    std::array<uint8_t, 3> Pixel(int x, int y) const;
    HWND Window() const { return hwnd_; }
    HDC Dc() const { return hdc_; }

private:
    HWND hwnd_ = nullptr;
    HDC hdc_ = nullptr;
    HGLRC context_ = nullptr;
};
