// What the skybox shows in each direction: a blue sky with soft clouds above the horizon, a reddish
// rocky plain below it fading into haze toward the horizon. A function of direction only, so the six
// faces computed from it meet without seams.
#pragma once

#include <vector>

#include "tools/assetgen/cubeface.h"
#include "tools/assetgen/picture.h"
#include "tools/assetgen/valuenoise.h"

// The colours of the sky and of the rocky ground; the game's icon is painted with them too.
namespace scenerycolours {
// Sky and ground both reach this colour at the horizon, so the horizon has no hard line.
inline constexpr Colour horizon = {0.80f, 0.84f, 0.90f};
inline constexpr Colour zenith = {0.10f, 0.30f, 0.70f};
inline constexpr Colour rockDark = {0.30f, 0.12f, 0.07f};
inline constexpr Colour rockLight = {0.74f, 0.40f, 0.24f};
}  // namespace scenerycolours

class Scenery {
public:
    // The width and height of each face's picture, in pixels.
    static constexpr int pictureSize = 512;

    Scenery();

    // One face's picture, each texel coloured by the direction through its centre.
    Picture PaintFace(const CubeFace& face, int size) const;

private:
    // The colour along a unit direction above the horizon, given the cloud field there.
    Colour Sky(Vec3 unit, float density) const;
    // The colour along a unit direction below it, given the three fields where it meets the ground.
    Colour Ground(Vec3 unit, float rock, float ridges, float stones) const;

    // What the fields give for one row of texels: clouds above the horizon, the rest below.
    struct RowNoise {
        NoiseSamples clouds;
        NoiseSamples rocks;
        NoiseSamples ridges;
        NoiseSamples stones;
    };
    void SampleRow(const std::vector<Vec3>& units, RowNoise& noise) const;

    ValueNoise clouds;
    ValueNoise rocks;
    ValueNoise grit;
};
