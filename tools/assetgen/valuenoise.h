// Smooth 3D value noise: random values on the integer lattice, blended with a quintic fade, so the
// result is continuous with continuous slope. The same seed always gives the same field.
#pragma once

#include <cstdint>
#include <vector>

// Points at which to sample a field, added one at a time, and what the field gave at each.
struct NoiseSamples {
    std::vector<float> x;
    std::vector<float> y;
    std::vector<float> z;
    std::vector<float> values;

    void Add(float px, float py, float pz);
    void Clear();
};

class ValueNoise {
public:
    explicit ValueNoise(uint32_t seed) : seed(seed) {}

    // One octave, in 0..1.
    float At(float x, float y, float z) const;
    // Octaves of doubling frequency and halving weight, normalised back to 0..1.
    float Fractal(float x, float y, float z, int octaves) const;
    // Fractal at every point of samples, into samples.values: four points at a time where the
    // processor has four-lane vectors, with the very bytes Fractal gives point by point.
    void Fractals(NoiseSamples& samples, int octaves) const;

private:
    uint32_t seed;
};
