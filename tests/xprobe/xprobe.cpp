// Looks at the game's window from the X side, for the player's scenario (tests/scenario) and
// scripts/test-windows: grabs it as a picture, asks it to close the way a window manager would, and reads
// the starting field off a picture
// (the colours at the bricks, the ball and the paddle, and where the paddle is). It also compares two
// pictures.
//
//   xprobe grab TITLE OUT.ppm         the window's pixels as a binary PPM
//   xprobe close TITLE                sends WM_DELETE_WINDOW
//   xprobe field A.ppm [B.ppm]        colours at the bricks, ball and paddle of the starting field;
//                                     fails when A's are not the expected ones or B's differ from A's
//   xprobe paddle A.ppm               x of the paddle's centre, in pixels
//   xprobe ball A.ppm                 x and y of the ball's centre, in pixels, while it is low on the
//                                     field (seen against the ground, where nothing else is white)
//   xprobe sky A.ppm B.ppm            the sky and the ground behind the field: on a 10-pixel grid, every
//                                     point where A is smooth (no edge of a face or an object within two
//                                     pixels) is within 6 of A in B
//   xprobe same A.ppm B.ppm TOLERANCE fails unless both have the same size and every channel of
//                                     every pixel is within TOLERANCE
#include <algorithm>
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

int Ball(const char* path)
{
    XWindowPicture a;
    if (!ReadField(path, a)) return Fail(std::string("not an 800x600 picture: ") + path);
    const int top = PictureProject(0, -25, 0).y;
    long sumX = 0, sumY = 0, count = 0;
    for (int y = top; y < a.height; ++y) {
        for (int x = 0; x < a.width; ++x) {
            const Rgb p = a.At(x, y);
            if (p[0] < 250 || p[1] < 250 || p[2] < 250) continue;
            sumX += x;
            sumY += y;
            ++count;
        }
    }
    if (count == 0) return Fail("no ball low on the field");
    std::printf("%ld %ld\n", sumX / count, sumY / count);
    return 0;
}

// How far the channels of the pixels within radius of (x, y) spread.
int Spread(const XWindowPicture& a, int x, int y, int radius)
{
    int spread = 0;
    for (int c = 0; c < 3; ++c) {
        int low = 255, high = 0;
        for (int dy = -radius; dy <= radius; ++dy) {
            for (int dx = -radius; dx <= radius; ++dx) {
                const int v = a.At(x + dx, y + dy)[c];
                low = std::min(low, v);
                high = std::max(high, v);
            }
        }
        spread = std::max(spread, high - low);
    }
    return spread;
}

// Two renderers may place an edge's pixels differently; the smooth parts of the sky and the ground
// must still come out the same.
int Sky(const char* first, const char* second)
{
    XWindowPicture a, b;
    if (!ReadField(first, a) || !ReadField(second, b)) return Fail("need two 800x600 pictures");
    const int kGrid = 10, kRadius = 2, kSmooth = 24, kTolerance = 6;
    int compared = 0, wrong = 0;
    for (int y = kGrid / 2; y < a.height - kRadius; y += kGrid) {
        for (int x = kGrid / 2; x < a.width - kRadius; x += kGrid) {
            if (Spread(a, x, y, kRadius) > kSmooth) continue;
            ++compared;
            const Rgb pa = a.At(x, y), pb = b.At(x, y);
            if (NearColour(pa, pb, kTolerance)) continue;
            if (++wrong <= 10) {
                std::printf("(%3d,%3d) %3d %3d %3d  %3d %3d %3d  WRONG\n", x, y, pa[0], pa[1], pa[2], pb[0],
                            pb[1], pb[2]);
            }
        }
    }
    std::printf("%d smooth points compared, %d differ\n", compared, wrong);
    return wrong || compared == 0 ? Fail("the sky differs") : 0;
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
    if (command == "ball" && argc == 3) return Ball(argv[2]);
    if (command == "sky" && argc == 4) return Sky(argv[2], argv[3]);
    if (command == "same" && argc == 5) return Same(argv[2], argv[3], std::atoi(argv[4]));
    std::fprintf(stderr,
                 "usage: xprobe grab TITLE OUT.ppm | close TITLE | field A.ppm [B.ppm] | paddle A.ppm\n"
                 "       | ball A.ppm | sky A.ppm B.ppm | same A.ppm B.ppm TOLERANCE\n");
    return 2;
}
