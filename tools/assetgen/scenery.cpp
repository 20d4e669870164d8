#include "tools/assetgen/scenery.h"

#include <algorithm>
#include <cmath>

namespace {

using scenerycolours::horizon;
using scenerycolours::rockDark;
using scenerycolours::rockLight;
using scenerycolours::zenith;

const Colour cloudLight = {0.98f, 0.98f, 0.99f};
const Colour cloudShade = {0.72f, 0.76f, 0.84f};
const Colour pebble = {0.18f, 0.08f, 0.05f};

Colour Mix(Colour a, Colour b, float t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

float SmoothStep(float edge0, float edge1, float x)
{
    const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

}  // namespace

Scenery::Scenery() : clouds(0x5EED0001u), rocks(0x5EED0002u), grit(0x5EED0003u) {}

Colour Scenery::At(Vec3 direction) const
{
    const float length =
        std::sqrt(direction.x * direction.x + direction.y * direction.y + direction.z * direction.z);
    const Vec3 unit = {direction.x / length, direction.y / length, direction.z / length};
    return unit.y >= 0.0f ? Sky(unit) : Ground(unit);
}

Colour Scenery::Sky(Vec3 unit) const
{
    Colour colour = Mix(horizon, zenith, std::pow(unit.y, 0.6f));
    // Clouds thin out toward the horizon, where a real sky shows them edge-on.
    const float density = clouds.Fractal(unit.x * 2.6f, unit.y * 2.6f, unit.z * 2.6f, 6);
    const float cover = SmoothStep(0.48f, 0.72f, density) * SmoothStep(0.0f, 0.3f, unit.y);
    const float light = SmoothStep(0.5f, 0.85f, density);
    colour = Mix(colour, Mix(cloudShade, cloudLight, light), cover * 0.9f);
    return colour;
}

Colour Scenery::Ground(Vec3 unit) const
{
    // Where the ray meets the ground plane one unit below the eye.
    const float depth = -unit.y;
    const float gx = unit.x / depth;
    const float gz = unit.z / depth;

    const float rock = rocks.Fractal(gx * 3.0f, gz * 3.0f, 0.5f, 6);
    const float ridge = 1.0f - std::fabs(2.0f * rocks.Fractal(gx * 7.0f + 40.0f, gz * 7.0f, 3.5f, 4) - 1.0f);
    Colour colour = Mix(rockDark, rockLight, std::clamp(rock * 1.3f - 0.15f, 0.0f, 1.0f));
    colour = Mix(colour, rockLight, SmoothStep(0.75f, 0.95f, ridge) * 0.35f);
    const float stones = grit.Fractal(gx * 36.0f, gz * 36.0f, 9.5f, 2);
    colour = Mix(colour, pebble, SmoothStep(0.62f, 0.78f, stones) * 0.7f);

    const float distance = std::sqrt(gx * gx + gz * gz);
    const float haze = 1.0f - std::exp(-distance * 0.12f);
    return Mix(colour, horizon, haze);
}

Picture Scenery::PaintFace(const CubeFace& face, int size) const
{
    Picture picture(size, size);
    for (int row = 0; row < size; ++row) {
        const float t = (static_cast<float>(row) + 0.5f) / static_cast<float>(size);
        for (int column = 0; column < size; ++column) {
            const float s = (static_cast<float>(column) + 0.5f) / static_cast<float>(size);
            picture.Set(column, row, At(face.PointAt(s, t)));
        }
    }
    return picture;
}
