#include "tools/assetgen/valuenoise.h"

#include <cmath>
#include <cstring>

// Set to 0 by a build whose processor has no four-lane vectors (see Fractals).
#ifndef BRICKS_NOISE_VECTORS
#define BRICKS_NOISE_VECTORS 1
#endif

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

void NoiseSamples::Add(float px, float py, float pz)
{
    x.push_back(px);
    y.push_back(py);
    z.push_back(pz);
}

void NoiseSamples::Clear()
{
    x.clear();
    y.clear();
    z.clear();
    values.clear();
}

// Four lanes of the same steps as above. Each step is one IEEE operation in every lane, in the same
// order, so each lane gives what the scalar code gives; floor is truncation less one where that
// rounded up, exact while |x| < 2^31, far beyond any point the pictures sample.
namespace {
namespace lanes {

using Floats = float __attribute__((vector_size(16)));
using Ints = int32_t __attribute__((vector_size(16)));
using Words = uint32_t __attribute__((vector_size(16)));

Floats Fade(Floats t)
{
    return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f);
}

Floats Mix(Floats a, Floats b, Floats t)
{
    return a + (b - a) * t;
}

Floats Floor(Floats x)
{
    const Floats truncated = __builtin_convertvector(__builtin_convertvector(x, Ints), Floats);
    return truncated + __builtin_convertvector(truncated > x, Floats);
}

Floats Lattice(uint32_t seed, Ints x, Ints y, Ints z)
{
    Words h = Words{seed, seed, seed, seed};
    h ^= __builtin_convertvector(x, Words) * 0x8DA6B343u;
    h ^= __builtin_convertvector(y, Words) * 0xD8163841u;
    h ^= __builtin_convertvector(z, Words) * 0xCB1AB31Fu;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return __builtin_convertvector(h >> 8, Floats) * (1.0f / 16777216.0f);
}

Floats At(uint32_t seed, Floats x, Floats y, Floats z)
{
    const Floats fx = Floor(x);
    const Floats fy = Floor(y);
    const Floats fz = Floor(z);
    const Ints ix = __builtin_convertvector(fx, Ints);
    const Ints iy = __builtin_convertvector(fy, Ints);
    const Ints iz = __builtin_convertvector(fz, Ints);
    const Floats u = Fade(x - fx);
    const Floats v = Fade(y - fy);
    const Floats w = Fade(z - fz);

    const Floats x00 = Mix(Lattice(seed, ix, iy, iz), Lattice(seed, ix + 1, iy, iz), u);
    const Floats x10 = Mix(Lattice(seed, ix, iy + 1, iz), Lattice(seed, ix + 1, iy + 1, iz), u);
    const Floats x01 = Mix(Lattice(seed, ix, iy, iz + 1), Lattice(seed, ix + 1, iy, iz + 1), u);
    const Floats x11 = Mix(Lattice(seed, ix, iy + 1, iz + 1), Lattice(seed, ix + 1, iy + 1, iz + 1), u);
    return Mix(Mix(x00, x10, v), Mix(x01, x11, v), w);
}

Floats Fractal(uint32_t seed, Floats x, Floats y, Floats z, int octaves)
{
    Floats sum = {0.0f, 0.0f, 0.0f, 0.0f};
    float weight = 1.0f;
    float total = 0.0f;
    for (int octave = 0; octave < octaves; ++octave) {
        sum += At(seed, x, y, z) * weight;
        total += weight;
        weight *= 0.5f;
        x = x * 2.0f + 17.3f;
        y = y * 2.0f + 31.7f;
        z = z * 2.0f + 5.9f;
    }
    return sum / total;
}

Floats Load(const float* from)
{
    Floats lanes;
    std::memcpy(&lanes, from, sizeof lanes);
    return lanes;
}

}  // namespace lanes
}  // namespace

void ValueNoise::Fractals(NoiseSamples& samples, int octaves) const
{
    const size_t count = samples.x.size();
    samples.values.resize(count);
    size_t i = 0;
    // A build for a processor without vectors (WebAssembly without SIMD) would split every vector
    // step into four, slower than the scalar code; it sets BRICKS_NOISE_VECTORS to 0.
    if (BRICKS_NOISE_VECTORS) {
        for (; i + 4 <= count; i += 4) {
            const lanes::Floats values =
                lanes::Fractal(seed, lanes::Load(&samples.x[i]), lanes::Load(&samples.y[i]),
                               lanes::Load(&samples.z[i]), octaves);
            std::memcpy(&samples.values[i], &values, sizeof values);
        }
    }
    for (; i < count; ++i) samples.values[i] = Fractal(samples.x[i], samples.y[i], samples.z[i], octaves);
}
