#include "tests/support/playerview.h"

#include <cmath>
#include <cstdlib>

WindowPoint ProjectToWindow(double x, double y, double z)
{
    // The eye sits in the plane x = 0, so its side axis is x itself; forward and up lie in y and z.
    const double eyeY = 11, eyeZ = 125, length = std::hypot(0 - eyeY, -360 - eyeZ);
    const double forwardY = (0 - eyeY) / length, forwardZ = (-360 - eyeZ) / length;
    const double dy = y - eyeY, dz = z - eyeZ, depth = forwardY * dy + forwardZ * dz;
    const double focal = 1.0 / std::tan(22.5 * M_PI / 180.0);
    return {(focal / (800.0 / 600.0) * x / depth + 1) * 400,
            (focal * (forwardY * dz - forwardZ * dy) / depth + 1) * 300};
}

PicturePixel PictureProject(double x, double y, double z)
{
    const WindowPoint p = ProjectToWindow(x, y, z);
    return {static_cast<int>(std::floor(p.x)), 599 - static_cast<int>(std::floor(p.y))};
}

std::vector<FieldSample> StartingField()
{
    const struct {
        const char* name;
        int bricks, firstX, y;
        Rgb colour;
    } rows[] = {{"low", 10, 30, 20, {255, 255, 0}},
                {"mid", 9, 25, 30, {255, 128, 0}},
                {"high", 8, 20, 40, {255, 0, 0}}};
    std::vector<FieldSample> samples;
    for (const auto& row : rows) {
        for (int i = 0; i < row.bricks; ++i) {
            // Brick 0 is the rightmost; each is 10 wide and 5 high, its front face at z 2.
            samples.push_back({row.name + std::to_string(i),
                               PictureProject(row.firstX - 10.0 * i + 5, row.y + 2.5, 2), row.colour});
        }
    }
    samples.push_back({"ball", PictureProject(20, -36.5, 0), {255, 255, 255}});
    samples.push_back({"paddle-left", PictureProject(13, -39, 2), {0, 0, 0}});
    samples.push_back({"paddle-right", PictureProject(27, -39, 2), {0, 0, 0}});
    return samples;
}

bool NearColour(const Rgb& a, const Rgb& b, int tolerance)
{
    for (int i = 0; i < 3; ++i) {
        if (std::abs(a[i] - b[i]) > tolerance) return false;
    }
    return true;
}
