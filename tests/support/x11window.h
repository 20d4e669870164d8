// Looks at top-level windows from outside, through the X server, as a window manager would.
#pragma once

#include <string>

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
