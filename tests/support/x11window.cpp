#include "tests/support/x11window.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <memory>

namespace {

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};
using DisplayPtr = std::unique_ptr<Display, DisplayCloser>;

bool HasTitle(Display* display, Window window, const std::string& title)
{
    char* name = nullptr;
    bool same = XFetchName(display, window, &name) && name && title == name;
    if (name) XFree(name);
    return same;
}

Window Search(Display* display, Window parent, const std::string& title)
{
    if (HasTitle(display, parent, title)) return parent;
    Window root, ancestor, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, parent, &root, &ancestor, &children, &count)) return 0;
    Window found = 0;
    for (unsigned i = 0; i < count && !found; ++i) found = Search(display, children[i], title);
    if (children) XFree(children);
    return found;
}

}  // namespace

XWindowInfo FindXWindow(const std::string& title)
{
    XWindowInfo info;
    DisplayPtr display(XOpenDisplay(nullptr));
    if (!display) return info;
    Window window = Search(display.get(), DefaultRootWindow(display.get()), title);
    XWindowAttributes attributes;
    if (!window || !XGetWindowAttributes(display.get(), window, &attributes)) return info;
    info.found = true;
    info.width = attributes.width;
    info.height = attributes.height;
    info.mapped = attributes.map_state == IsViewable;
    return info;
}

bool RequestXWindowClose(const std::string& title)
{
    DisplayPtr display(XOpenDisplay(nullptr));
    if (!display) return false;
    Window window = Search(display.get(), DefaultRootWindow(display.get()), title);
    if (!window) return false;
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display.get(), "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display.get(), "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display.get(), window, False, NoEventMask, &event);
    XFlush(display.get());
    return true;
}

XWindowPicture CaptureXWindow(const std::string& title)
{
    XWindowPicture picture;
    DisplayPtr display(XOpenDisplay(nullptr));
    if (!display) return picture;
    Window window = Search(display.get(), DefaultRootWindow(display.get()), title);
    XWindowAttributes attributes;
    if (!window || !XGetWindowAttributes(display.get(), window, &attributes)) return picture;
    XImage* image = XGetImage(display.get(), window, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
    if (!image) return picture;
    picture.width = attributes.width;
    picture.height = attributes.height;
    picture.pixels.reserve(static_cast<size_t>(picture.width) * picture.height);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            unsigned long p = XGetPixel(image, x, y);
            picture.pixels.push_back({static_cast<uint8_t>((p & image->red_mask) >> 16),
                                      static_cast<uint8_t>((p & image->green_mask) >> 8),
                                      static_cast<uint8_t>(p & image->blue_mask)});
        }
    }
    XDestroyImage(image);
    return picture;
}

bool XWindowPicture::WritePpm(const std::string& path) const
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    std::fprintf(file, "P6\n%d %d\n255\n", width, height);
    for (const auto& p : pixels) std::fwrite(p.data(), 1, 3, file);
    return std::fclose(file) == 0;
}
