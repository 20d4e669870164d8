// What the skybox shows in each direction: a blue sky with soft clouds above the horizon, a reddish
// rocky plain below it fading into haze toward the horizon. A function of direction only, so the six
// faces computed from it meet without seams.
#pragma once

#include "tools/assetgen/cubeface.h"
#include "tools/assetgen/picture.h"
#include "tools/assetgen/valuenoise.h"

class Scenery {
public:
    Scenery();

    // The colour seen along a direction from the centre of the box; the length does not matter.
    Colour At(Vec3 direction) const;
    // One face's picture, each texel coloured by the direction through its centre.
    Picture PaintFace(const CubeFace& face, int size) const;

private:
    Colour Sky(Vec3 unit) const;
    Colour Ground(Vec3 unit) const;

    ValueNoise clouds;
    ValueNoise rocks;
    ValueNoise grit;
};
