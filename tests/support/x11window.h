// Looks at top-level windows from outside, through the X server, as a window manager would.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct XWindowInfo {
    bool found = false;
    int width = 0;
    int height = 0;
    bool mapped = false;
};

// The first window whose title is `title`, searched on $DISPLAY.
XWindowInfo FindXWindow(const std::string& title);

// Sends the window a WM_DELETE_WINDOW request, the close a window manager sends for the close box.
bool RequestXWindowClose(const std::string& title);

// The window's current contents, read from the X server; pixels row by row from the top.
struct XWindowPicture {
    int width = 0;
    int height = 0;
    std::vector<std::array<uint8_t, 3>> pixels;
    std::array<uint8_t, 3> At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    bool WritePpm(const std::string& path) const;
};
XWindowPicture CaptureXWindow(const std::string& title);
// A picture written by WritePpm; empty (width 0) where the file is no such picture.
XWindowPicture ReadPpm(const std::string& path);
