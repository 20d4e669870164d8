// Looks at the game's window from the X side, for scripts/test-windows: grabs it as a picture, asks it
// to close the way a window manager would, and reads the starting field off a picture (the colours
// at the bricks, the ball and the paddle, and where the paddle is). It also compares two pictures.
//
//   xprobe grab WINDOW OUT.ppm        the window's pixels as a binary PPM
//   xprobe close WINDOW               sends WM_DELETE_WINDOW
//   xprobe field A.ppm [B.ppm]        colours at the bricks, ball and paddle of the starting field;
//                                     fails when A's are not the expected ones or B's differ from A's
//   xprobe paddle A.ppm               x of the paddle's centre, in pixels
//   xprobe same A.ppm B.ppm TOLERANCE fails unless both have the same size and every channel of
//                                     every pixel is within TOLERANCE
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;
    const unsigned char* At(int x, int y) const { return &rgb[(static_cast<size_t>(y) * width + x) * 3]; }
};

int Fail(const std::string& message)
{
    std::fprintf(stderr, "xprobe: %s\n", message.c_str());
    return 1;
}

Display* OpenDisplay()
{
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "xprobe: cannot open the X display\n");
        std::exit(1);
    }
    return display;
}

int ChannelShift(unsigned long mask)
{
    int shift = 0;
    while (mask && !(mask & 1)) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

unsigned char Channel(unsigned long pixel, unsigned long mask)
{
    const unsigned long value = (pixel & mask) >> ChannelShift(mask);
    const unsigned long top = mask >> ChannelShift(mask);
    return static_cast<unsigned char>(top ? value * 255 / top : 0);
}

int Grab(Window window, const char* path)
{
    Display* display = OpenDisplay();
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes)) return Fail("no such window");
    XImage* image = XGetImage(display, window, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
    if (!image) return Fail("cannot read the window's pixels");
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << image->width << ' ' << image->height << "\n255\n";
    for (int y = 0; y < image->height; ++y) {
        for (int x = 0; x < image->width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            const unsigned char rgb[3] = {Channel(pixel, image->red_mask), Channel(pixel, image->green_mask),
                                          Channel(pixel, image->blue_mask)};
            out.write(reinterpret_cast<const char*>(rgb), 3);
        }
    }
    XDestroyImage(image);
    XCloseDisplay(display);
    return out ? 0 : Fail(std::string("cannot write ") + path);
}

int Close(Window window)
{
    Display* display = OpenDisplay();
    XEvent event;
    std::memset(&event, 0, sizeof event);
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
    XCloseDisplay(display);
    return 0;
}

bool ReadPicture(const char* path, Picture& picture)
{
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int maximum = 0;
    in >> magic >> picture.width >> picture.height >> maximum;
    in.get();
    if (!in || magic != "P6" || maximum != 255 || picture.width <= 0 || picture.height <= 0) return false;
    picture.rgb.resize(static_cast<size_t>(picture.width) * picture.height * 3);
    in.read(reinterpret_cast<char*>(picture.rgb.data()), static_cast<std::streamsize>(picture.rgb.size()));
    return static_cast<bool>(in);
}

struct Point3 {
    double x, y, z;
};

double Dot(Point3 a, Point3 b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
Point3 Cross(Point3 a, Point3 b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
Point3 Normalised(Point3 a)
{
    const double length = std::sqrt(Dot(a, a));
    return {a.x / length, a.y / length, a.z / length};
}

// Where a world point lands in an 800x600 picture (row 0 at the top), seen as the game sees it:
// eye (0, 11, 125) toward (0, 0, -360), y up, 45 degrees vertical field of view.
bool Project(Point3 p, int& column, int& row)
{
    const Point3 eye{0, 11, 125};
    const Point3 forward = Normalised({0 - eye.x, 0 - eye.y, -360 - eye.z});
    const Point3 side = Normalised(Cross(forward, {0, 1, 0}));
    const Point3 up = Cross(side, forward);
    const Point3 d{p.x - eye.x, p.y - eye.y, p.z - eye.z};
    const double focal = 1.0 / std::tan(22.5 * M_PI / 180.0);
    const double depth = Dot(forward, d);
    const double ndcX = focal / (800.0 / 600.0) * Dot(side, d) / depth;
    const double ndcY = focal * Dot(up, d) / depth;
    column = static_cast<int>(std::floor((ndcX + 1) * 400));
    row = 599 - static_cast<int>(std::floor((ndcY + 1) * 300));
    return column >= 0 && column < 800 && row >= 0 && row < 600;
}

struct Sample {
    std::string name;
    Point3 where;
    unsigned char expected[3];
};

// The middle of every brick's front face, the ball resting on the paddle, and the paddle on both
// sides of the ball, in their starting places.
std::vector<Sample> FieldSamples()
{
    std::vector<Sample> samples;
    const struct {
        const char* name;
        int count, x0, y;
        unsigned char colour[3];
    } rows[] = {{"low", 10, 30, 20, {255, 255, 0}},
                {"mid", 9, 25, 30, {255, 128, 0}},
                {"high", 8, 20, 40, {255, 0, 0}}};
    for (const auto& row : rows) {
        for (int i = 0; i < row.count; ++i) {
            Sample s{row.name + std::to_string(i), {row.x0 - 10.0 * i + 5, row.y + 2.5, 2}, {}};
            std::memcpy(s.expected, row.colour, 3);
            samples.push_back(s);
        }
    }
    samples.push_back({"ball", {20, -36.5, 0}, {255, 255, 255}});
    samples.push_back({"paddle-left", {13, -39, 2}, {0, 0, 0}});
    samples.push_back({"paddle-right", {27, -39, 2}, {0, 0, 0}});
    return samples;
}

bool Near(const unsigned char* a, const unsigned char* b, int tolerance)
{
    for (int c = 0; c < 3; ++c) {
        if (std::abs(a[c] - b[c]) > tolerance) return false;
    }
    return true;
}

int Field(const char* first, const char* second)
{
    Picture a, b;
    if (!ReadPicture(first, a) || a.width != 800 || a.height != 600)
        return Fail(std::string("not an 800x600 picture: ") + first);
    if (second && (!ReadPicture(second, b) || b.width != 800 || b.height != 600)) {
        return Fail(std::string("not an 800x600 picture: ") + second);
    }
    int wrong = 0;
    for (const Sample& s : FieldSamples()) {
        int column = 0, row = 0;
        if (!Project(s.where, column, row)) return Fail(s.name + " is off the picture");
        const unsigned char* pa = a.At(column, row);
        // Colour conversion may round orange's half green either way.
        bool ok = Near(pa, s.expected, 2);
        std::printf("%-13s (%3d,%3d) %3d %3d %3d", s.name.c_str(), column, row, pa[0], pa[1], pa[2]);
        if (second) {
            const unsigned char* pb = b.At(column, row);
            ok = ok && Near(pa, pb, 0);
            std::printf("  %3d %3d %3d", pb[0], pb[1], pb[2]);
        }
        std::printf("%s\n", ok ? "" : "  WRONG");
        wrong += ok ? 0 : 1;
    }
    return wrong ? Fail(std::to_string(wrong) + " samples differ") : 0;
}

// The paddle is a run of pure black across its row as wide as the paddle; the sky behind may have
// black edges too, but not of that width.
int Paddle(const char* path)
{
    Picture a;
    if (!ReadPicture(path, a) || a.width != 800 || a.height != 600)
        return Fail(std::string("not an 800x600 picture: ") + path);
    int left = 0, right = 0, row = 0;
    Project({0, -39.6, 2}, left, row);
    Project({20, -39.6, 2}, right, row);
    const int width = right - left;
    std::vector<int> centres;
    for (int x = 0; x < a.width;) {
        int end = x;
        while (end < a.width && a.At(end, row)[0] == 0 && a.At(end, row)[1] == 0 && a.At(end, row)[2] == 0)
            ++end;
        const int run = end - x;
        if (run * 5 >= width * 4 && run * 4 <= width * 5) centres.push_back(x + run / 2);
        x = end > x ? end : x + 1;
    }
    if (centres.size() != 1)
        return Fail("found " + std::to_string(centres.size()) + " paddles in the picture");
    std::printf("%d\n", centres[0]);
    return 0;
}

int Same(const char* first, const char* second, int tolerance)
{
    Picture a, b;
    if (!ReadPicture(first, a)) return Fail(std::string("not a picture: ") + first);
    if (!ReadPicture(second, b)) return Fail(std::string("not a picture: ") + second);
    if (a.width != b.width || a.height != b.height) return Fail("the pictures differ in size");
    size_t differing = 0;
    int largest = 0;
    for (size_t i = 0; i < a.rgb.size(); ++i) {
        const int difference = std::abs(a.rgb[i] - b.rgb[i]);
        if (difference > tolerance) ++differing;
        if (difference > largest) largest = difference;
    }
    if (differing) {
        return Fail(std::to_string(differing) + " channels differ by more than " + std::to_string(tolerance) +
                    ", by up to " + std::to_string(largest));
    }
    return 0;
}

Window ParseWindow(const char* text)
{
    return static_cast<Window>(std::strtoul(text, nullptr, 0));
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "grab" && argc == 4) return Grab(ParseWindow(argv[2]), argv[3]);
    if (command == "close" && argc == 3) return Close(ParseWindow(argv[2]));
    if (command == "field" && (argc == 3 || argc == 4)) return Field(argv[2], argc == 4 ? argv[3] : nullptr);
    if (command == "paddle" && argc == 3) return Paddle(argv[2]);
    if (command == "same" && argc == 5) return Same(argv[2], argv[3], std::atoi(argv[4]));
    std::fprintf(stderr,
                 "usage: xprobe grab WINDOW OUT.ppm | close WINDOW | field A.ppm [B.ppm] | paddle A.ppm\n"
                 "       | same A.ppm B.ppm TOLERANCE\n");
    return 2;
}
