// Smooth 3D value noise: random values on the integer lattice, blended with a quintic fade, so the
// result is continuous with continuous slope. The same seed always gives the same field.
#pragma once

#include <cstdint>

class ValueNoise {
public:
    explicit ValueNoise(uint32_t seed) : seed(seed) {}

    // One octave, in 0..1.
    float At(float x, float y, float z) const;
    // Octaves of doubling frequency and halving weight, normalised back to 0..1.
    float Fractal(float x, float y, float z, int octaves) const;

private:
    float Lattice(int32_t x, int32_t y, int32_t z) const;

    uint32_t seed;
};
