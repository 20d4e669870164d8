// The field as the player sees it in the game's 800x600 window: where a point of the world lands, and
// the colours the bricks, the ball and the paddle show at the start of play.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

using Rgb = std::array<uint8_t, 3>;

// A point of the window in pixels, from its lower-left corner as OpenGL counts.
struct WindowPoint {
    double x, y;
};
// Seen through the game's camera: from (0, 11, 125) toward (0, 0, -360), y up, 45 degrees high.
WindowPoint ProjectToWindow(double x, double y, double z);

// The pixel that shows a point of the world in a picture of the window, counted from the top-left
// corner as X pictures are.
struct PicturePixel {
    int x, y;
};
PicturePixel PictureProject(double x, double y, double z);

struct FieldSample {
    std::string name;
    PicturePixel where;
    Rgb colour;
};
// The middle of every brick's front face, the ball resting on the paddle, and the paddle either side
// of it, in their starting places.
std::vector<FieldSample> StartingField();

// Colours differing by at most `tolerance` in every channel (conversions may round a half either way).
bool NearColour(const Rgb& a, const Rgb& b, int tolerance);
