#include "tests/support/x11window.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <fstream>
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

// A connection to $DISPLAY and the window titled `title` on it (0 when there is none).
struct FoundWindow {
    DisplayPtr display;
    Window window = 0;
    XWindowAttributes attributes = {};
};

FoundWindow Find(const std::string& title)
{
    FoundWindow found;
    found.display.reset(XOpenDisplay(nullptr));
    if (!found.display) return found;
    Display* display = found.display.get();
    found.window = Search(display, DefaultRootWindow(display), title);
    if (found.window && !XGetWindowAttributes(display, found.window, &found.attributes)) found.window = 0;
    return found;
}

}  // namespace

XWindowInfo FindXWindow(const std::string& title)
{
    XWindowInfo info;
    FoundWindow found = Find(title);
    if (!found.window) return info;
    info.found = true;
    info.width = found.attributes.width;
    info.height = found.attributes.height;
    info.mapped = found.attributes.map_state == IsViewable;
    return info;
}

bool RequestXWindowClose(const std::string& title)
{
    FoundWindow found = Find(title);
    if (!found.window) return false;
    Display* display = found.display.get();
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = found.window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, found.window, False, NoEventMask, &event);
    XFlush(display);
    return true;
}

XWindowPicture CaptureXWindow(const std::string& title)
{
    XWindowPicture picture;
    FoundWindow found = Find(title);
    if (!found.window) return picture;
    XImage* image = XGetImage(found.display.get(), found.window, 0, 0, found.attributes.width,
                              found.attributes.height, AllPlanes, ZPixmap);
    if (!image) return picture;
    picture.width = found.attributes.width;
    picture.height = found.attributes.height;
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

XWindowPicture ReadPpm(const std::string& path)
{
    XWindowPicture picture;
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int maximum = 0;
    in >> magic >> picture.width >> picture.height >> maximum;
    in.get();
    if (!in || magic != "P6" || maximum != 255 || picture.width <= 0 || picture.height <= 0) return {};
    picture.pixels.resize(static_cast<size_t>(picture.width) * picture.height);
    in.read(reinterpret_cast<char*>(picture.pixels.data()),
            static_cast<std::streamsize>(picture.pixels.size() * 3));
    return in ? picture : XWindowPicture{};
}
