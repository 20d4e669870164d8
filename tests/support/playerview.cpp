#include "tests/support/playerview.h"

#include <cmath>
#include <cstdlib>

namespace {

struct Vector {
    double x, y, z;
};

double Dot(Vector a, Vector b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

Vector Cross(Vector a, Vector b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

Vector Normalised(Vector a)
{
    const double length = std::sqrt(Dot(a, a));
    return {a.x / length, a.y / length, a.z / length};
}

}  // namespace

WindowPoint ProjectToWindow(double x, double y, double z)
{
    const Vector eye{0, 11, 125};
    const Vector forward = Normalised({0 - eye.x, 0 - eye.y, -360 - eye.z});
    const Vector side = Normalised(Cross(forward, {0, 1, 0}));
    const Vector up = Cross(side, forward);
    const Vector d{x - eye.x, y - eye.y, z - eye.z};
    const double focal = 1.0 / std::tan(22.5 * M_PI / 180.0);
    const double depth = Dot(forward, d);
    return {(focal / (800.0 / 600.0) * Dot(side, d) / depth + 1) * 400,
            (focal * Dot(up, d) / depth + 1) * 300};
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
