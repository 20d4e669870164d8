#include "tools/assetgen/valuenoise.h"

#include <cmath>
#include <cstring>

// Set to 0 by a build whose processor has no four-lane vectors (see Fractals).
#ifndef BRICKS_NOISE_VECTORS
#define BRICKS_NOISE_VECTORS 1
#endif

// The field is written once, for a Value that is one point (float) or four (Floats, four lanes of
// the same steps): each step is one IEEE operation in every lane, in the same order, so each lane
// gives the bytes one point gives. What differs between the two is only how a Value is floored and
// converted, below.
namespace {

using Floats = float __attribute__((vector_size(16)));
using Ints = int32_t __attribute__((vector_size(16)));
using Words = uint32_t __attribute__((vector_size(16)));

float Floor(float x)
{
    return std::floor(x);
}

// Truncation, less one where it rounded up: exact while |x| < 2^31, far beyond any point sampled.
Floats Floor(Floats x)
{
    const Floats truncated = __builtin_convertvector(__builtin_convertvector(x, Ints), Floats);
    return truncated + __builtin_convertvector(truncated > x, Floats);
}

int32_t ToIndex(float x)
{
    return static_cast<int32_t>(x);
}

Ints ToIndex(Floats x)
{
    return __builtin_convertvector(x, Ints);
}

uint32_t ToWord(int32_t x)
{
    return static_cast<uint32_t>(x);
}

Words ToWord(Ints x)
{
    return __builtin_convertvector(x, Words);
}

float ToValue(uint32_t x)
{
    return static_cast<float>(x);
}

Floats ToValue(Words x)
{
    return __builtin_convertvector(x, Floats);
}

template <typename Value>
Value Fade(Value t)
{
    return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f);
}

template <typename Value>
Value Mix(Value a, Value b, Value t)
{
    return a + (b - a) * t;
}

// Integer mixing only, so the field is the same on every compiler and machine.
template <typename Index>
auto Lattice(uint32_t seed, Index x, Index y, Index z)
{
    auto h = (ToWord(x) * 0x8DA6B343u) ^ seed;
    h ^= ToWord(y) * 0xD8163841u;
    h ^= ToWord(z) * 0xCB1AB31Fu;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return ToValue(h >> 8) * (1.0f / 16777216.0f);
}

template <typename Value>
Value At(uint32_t seed, Value x, Value y, Value z)
{
    const Value fx = Floor(x);
    const Value fy = Floor(y);
    const Value fz = Floor(z);
    const auto ix = ToIndex(fx);
    const auto iy = ToIndex(fy);
    const auto iz = ToIndex(fz);
    const Value u = Fade(x - fx);
    const Value v = Fade(y - fy);
    const Value w = Fade(z - fz);

    const Value x00 = Mix(Lattice(seed, ix, iy, iz), Lattice(seed, ix + 1, iy, iz), u);
    const Value x10 = Mix(Lattice(seed, ix, iy + 1, iz), Lattice(seed, ix + 1, iy + 1, iz), u);
    const Value x01 = Mix(Lattice(seed, ix, iy, iz + 1), Lattice(seed, ix + 1, iy, iz + 1), u);
    const Value x11 = Mix(Lattice(seed, ix, iy + 1, iz + 1), Lattice(seed, ix + 1, iy + 1, iz + 1), u);
    return Mix(Mix(x00, x10, v), Mix(x01, x11, v), w);
}

template <typename Value>
Value Fractal(uint32_t seed, Value x, Value y, Value z, int octaves)
{
    Value sum = {};
    float weight = 1.0f;
    float total = 0.0f;
    for (int octave = 0; octave < octaves; ++octave) {
        sum += At(seed, x, y, z) * weight;
        total += weight;
        weight *= 0.5f;
        // Each octave is shifted so the lattices do not line up.
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

}  // namespace

float ValueNoise::At(float x, float y, float z) const
{
    return ::At(seed, x, y, z);
}

float ValueNoise::Fractal(float x, float y, float z, int octaves) const
{
    return ::Fractal(seed, x, y, z, octaves);
}

void ValueNoise::Fractals(NoiseSamples& samples, int octaves) const
{
    const size_t count = samples.x.size();
    samples.values.resize(count);
    size_t i = 0;
    // A build for a processor without vectors (WebAssembly without SIMD) would split every vector
    // step into four, slower than one point at a time; it sets BRICKS_NOISE_VECTORS to 0.
    if (BRICKS_NOISE_VECTORS) {
        for (; i + 4 <= count; i += 4) {
            const Floats values =
                ::Fractal(seed, Load(&samples.x[i]), Load(&samples.y[i]), Load(&samples.z[i]), octaves);
            std::memcpy(&samples.values[i], &values, sizeof values);
        }
    }
    for (; i < count; ++i) samples.values[i] = Fractal(samples.x[i], samples.y[i], samples.z[i], octaves);
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
