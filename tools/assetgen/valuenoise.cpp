#include "tools/assetgen/valuenoise.h"

#include <cmath>

namespace {

float Fade(float t)
{
    return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f);
}

float Mix(float a, float b, float t)
{
    return a + (b - a) * t;
}

}  // namespace

float ValueNoise::Lattice(int32_t x, int32_t y, int32_t z) const
{
    // Integer mixing only, so the field is the same on every compiler and machine.
    uint32_t h = seed;
    h ^= static_cast<uint32_t>(x) * 0x8DA6B343u;
    h ^= static_cast<uint32_t>(y) * 0xD8163841u;
    h ^= static_cast<uint32_t>(z) * 0xCB1AB31Fu;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return static_cast<float>(h >> 8) * (1.0f / 16777216.0f);
}

float ValueNoise::At(float x, float y, float z) const
{
    const float fx = std::floor(x);
    const float fy = std::floor(y);
    const float fz = std::floor(z);
    const int32_t ix = static_cast<int32_t>(fx);
    const int32_t iy = static_cast<int32_t>(fy);
    const int32_t iz = static_cast<int32_t>(fz);
    const float u = Fade(x - fx);
    const float v = Fade(y - fy);
    const float w = Fade(z - fz);

    const float x00 = Mix(Lattice(ix, iy, iz), Lattice(ix + 1, iy, iz), u);
    const float x10 = Mix(Lattice(ix, iy + 1, iz), Lattice(ix + 1, iy + 1, iz), u);
    const float x01 = Mix(Lattice(ix, iy, iz + 1), Lattice(ix + 1, iy, iz + 1), u);
    const float x11 = Mix(Lattice(ix, iy + 1, iz + 1), Lattice(ix + 1, iy + 1, iz + 1), u);
    return Mix(Mix(x00, x10, v), Mix(x01, x11, v), w);
}

float ValueNoise::Fractal(float x, float y, float z, int octaves) const
{
    float sum = 0.0f;
    float weight = 1.0f;
    float total = 0.0f;
    for (int octave = 0; octave < octaves; ++octave) {
        sum += At(x, y, z) * weight;
        total += weight;
        weight *= 0.5f;
        // Each octave is shifted so the lattices do not line up.
        x = x * 2.0f + 17.3f;
        y = y * 2.0f + 31.7f;
        z = z * 2.0f + 5.9f;
    }
    return sum / total;
}
