// The game's icon: the starting field seen from the front, on a rounded square. Sky fading into the
// haze of the horizon above a strip of rocky ground, three rows of bricks (red, orange, yellow), the
// white ball resting on the black paddle. One description, drawn as pixels at any size and written as
// SVG, so the two always agree.
#pragma once

#include <string>

#include "tools/assetgen/picture.h"
#include "tools/assetgen/rgbaimage.h"

class Icon {
public:
    // The icon at size x size pixels, each pixel the average of 4 x 4 samples so edges are smooth.
    RgbaImage Paint(int size) const;
    // The same icon as a scalable SVG document on a 256-unit square.
    std::string Svg() const;

    // What the icon shows at a point (x, y in 0..1 from the top left); alpha 0 outside the square.
    Colour ColourAt(float x, float y, float& alpha) const;
};
