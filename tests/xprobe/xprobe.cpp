// Looks at the game's window from the X side, for scripts/test-windows: grabs it as a picture, asks it
// to close the way a window manager would, and reads the starting field off a picture (the colours
// at the bricks, the ball and the paddle, and where the paddle is). It also compares two pictures.
//
//   xprobe grab TITLE OUT.ppm         the window's pixels as a binary PPM
//   xprobe close TITLE                sends WM_DELETE_WINDOW
//   xprobe field A.ppm [B.ppm]        colours at the bricks, ball and paddle of the starting field;
//                                     fails when A's are not the expected ones or B's differ from A's
//   xprobe paddle A.ppm               x of the paddle's centre, in pixels
//   xprobe same A.ppm B.ppm TOLERANCE fails unless both have the same size and every channel of
//                                     every pixel is within TOLERANCE
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/playerview.h"
#include "tests/support/x11window.h"

namespace {

int Fail(const std::string& message)
{
    std::fprintf(stderr, "xprobe: %s\n", message.c_str());
    return 1;
}

bool ReadField(const char* path, XWindowPicture& picture)
{
    picture = ReadPpm(path);
    return picture.width == 800 && picture.height == 600;
}

int Grab(const char* title, const char* path)
{
    const XWindowPicture picture = CaptureXWindow(title);
    if (!picture.width) return Fail(std::string("no window titled ") + title);
    return picture.WritePpm(path) ? 0 : Fail(std::string("cannot write ") + path);
}

int Field(const char* first, const char* second)
{
    XWindowPicture a, b;
    if (!ReadField(first, a)) return Fail(std::string("not an 800x600 picture: ") + first);
    if (second && !ReadField(second, b)) return Fail(std::string("not an 800x600 picture: ") + second);
    int wrong = 0;
    for (const FieldSample& s : StartingField()) {
        const Rgb pa = a.At(s.where.x, s.where.y);
        bool ok = NearColour(pa, s.colour, 2);
        std::printf("%-13s (%3d,%3d) %3d %3d %3d", s.name.c_str(), s.where.x, s.where.y, pa[0], pa[1], pa[2]);
        if (second) {
            const Rgb pb = b.At(s.where.x, s.where.y);
            ok = ok && pa == pb;
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
    XWindowPicture a;
    if (!ReadField(path, a)) return Fail(std::string("not an 800x600 picture: ") + path);
    const PicturePixel left = PictureProject(0, -39.6, 2), right = PictureProject(20, -39.6, 2);
    const int width = right.x - left.x, row = left.y;
    std::vector<int> centres;
    for (int x = 0; x < a.width;) {
        int end = x;
        while (end < a.width && a.At(end, row) == Rgb{0, 0, 0}) ++end;
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
    const XWindowPicture a = ReadPpm(first), b = ReadPpm(second);
    if (!a.width) return Fail(std::string("not a picture: ") + first);
    if (!b.width) return Fail(std::string("not a picture: ") + second);
    if (a.width != b.width || a.height != b.height) return Fail("the pictures differ in size");
    size_t differing = 0;
    int largest = 0;
    for (size_t i = 0; i < a.pixels.size(); ++i) {
        for (int c = 0; c < 3; ++c) {
            const int difference = std::abs(a.pixels[i][c] - b.pixels[i][c]);
            if (difference > tolerance) ++differing;
            if (difference > largest) largest = difference;
        }
    }
    if (differing) {
        return Fail(std::to_string(differing) + " channels differ by more than " + std::to_string(tolerance) +
                    ", by up to " + std::to_string(largest));
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "grab" && argc == 4) return Grab(argv[2], argv[3]);
    if (command == "close" && argc == 3) return RequestXWindowClose(argv[2]) ? 0 : Fail("no such window");
    if (command == "field" && (argc == 3 || argc == 4)) return Field(argv[2], argc == 4 ? argv[3] : nullptr);
    if (command == "paddle" && argc == 3) return Paddle(argv[2]);
    if (command == "same" && argc == 5) return Same(argv[2], argv[3], std::atoi(argv[4]));
    std::fprintf(stderr,
                 "usage: xprobe grab TITLE OUT.ppm | close TITLE | field A.ppm [B.ppm] | paddle A.ppm\n"
                 "       | same A.ppm B.ppm TOLERANCE\n");
    return 2;
}
