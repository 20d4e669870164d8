#include "tools/assetgen/scenery.h"

#include <algorithm>
#include <cmath>
#include <vector>

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

namespace {

Vec3 Unit(Vec3 direction)
{
    const float length =
        std::sqrt(direction.x * direction.x + direction.y * direction.y + direction.z * direction.z);
    return {direction.x / length, direction.y / length, direction.z / length};
}

// Where a ray below the horizon meets the ground plane one unit below the eye.
struct GroundPoint {
    float x;
    float z;
};

GroundPoint OnGround(Vec3 unit)
{
    const float depth = -unit.y;
    return {unit.x / depth, unit.z / depth};
}

}  // namespace

Colour Scenery::Sky(Vec3 unit, float density) const
{
    Colour colour = Mix(horizon, zenith, std::pow(unit.y, 0.6f));
    // Clouds thin out toward the horizon, where a real sky shows them edge-on.
    const float cover = SmoothStep(0.48f, 0.72f, density) * SmoothStep(0.0f, 0.3f, unit.y);
    const float light = SmoothStep(0.5f, 0.85f, density);
    colour = Mix(colour, Mix(cloudShade, cloudLight, light), cover * 0.9f);
    return colour;
}

Colour Scenery::Ground(Vec3 unit, float rock, float ridges, float stones) const
{
    const GroundPoint ground = OnGround(unit);
    const float ridge = 1.0f - std::fabs(2.0f * ridges - 1.0f);
    Colour colour = Mix(rockDark, rockLight, std::clamp(rock * 1.3f - 0.15f, 0.0f, 1.0f));
    colour = Mix(colour, rockLight, SmoothStep(0.75f, 0.95f, ridge) * 0.35f);
    colour = Mix(colour, pebble, SmoothStep(0.62f, 0.78f, stones) * 0.7f);

    const float distance = std::sqrt(ground.x * ground.x + ground.z * ground.z);
    const float haze = 1.0f - std::exp(-distance * 0.12f);
    return Mix(colour, horizon, haze);
}

// The noise a row of texels needs, added direction by direction, then sampled field by field.
void Scenery::SampleRow(const std::vector<Vec3>& units, RowNoise& noise) const
{
    for (NoiseSamples* samples : {&noise.clouds, &noise.rocks, &noise.ridges, &noise.stones})
        samples->Clear();
    for (const Vec3& unit : units) {
        if (unit.y >= 0.0f) {
            noise.clouds.Add(unit.x * 2.6f, unit.y * 2.6f, unit.z * 2.6f);
            continue;
        }
        const GroundPoint ground = OnGround(unit);
        noise.rocks.Add(ground.x * 3.0f, ground.z * 3.0f, 0.5f);
        noise.ridges.Add(ground.x * 7.0f + 40.0f, ground.z * 7.0f, 3.5f);
        noise.stones.Add(ground.x * 36.0f, ground.z * 36.0f, 9.5f);
    }
    clouds.Fractals(noise.clouds, 6);
    rocks.Fractals(noise.rocks, 6);
    rocks.Fractals(noise.ridges, 4);
    grit.Fractals(noise.stones, 2);
}

// A row at a time: the noise is most of the work, and ValueNoise::Fractals takes four points at once.
Picture Scenery::PaintFace(const CubeFace& face, int size) const
{
    Picture picture(size, size);
    std::vector<Vec3> units(static_cast<size_t>(size));
    RowNoise noise;
    for (int row = 0; row < size; ++row) {
        const float t = (static_cast<float>(row) + 0.5f) / static_cast<float>(size);
        for (int column = 0; column < size; ++column)
            units[column] =
                Unit(face.PointAt((static_cast<float>(column) + 0.5f) / static_cast<float>(size), t));
        SampleRow(units, noise);
        size_t sky = 0, ground = 0;
        for (int column = 0; column < size; ++column) {
            const Vec3 unit = units[column];
            if (unit.y >= 0.0f) {
                picture.Set(column, row, Sky(unit, noise.clouds.values[sky++]));
                continue;
            }
            picture.Set(column, row,
                        Ground(unit, noise.rocks.values[ground], noise.ridges.values[ground],
                               noise.stones.values[ground]));
            ++ground;
        }
    }
    return picture;
}
