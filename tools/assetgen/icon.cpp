#include "tools/assetgen/icon.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "tools/assetgen/filebytes.h"
#include "tools/assetgen/scenery.h"

namespace {

// The rounded square everything is drawn on, in units of the icon's side.
const float margin = 0.03f;
const float cornerRadius = 0.17f;
// Where the ground begins, below the haze of the horizon.
const float groundTop = 0.84f;

struct Stop {
    float at;
    Colour colour;
};
// Top to bottom: zenith, haze at the horizon, then the ground from its lit edge to its dark foot.
const std::vector<Stop> backdrop = {
    {0.0f, scenerycolours::zenith},
    {groundTop, scenerycolours::horizon},
    {groundTop, scenerycolours::rockLight},
    {1.0f, scenerycolours::rockDark},
};

struct Shape {
    bool disc;  // a disc inside the box's bounds, or the box itself
    float left, top, right, bottom;
    Colour colour;
};

// Three rows of three bricks (the game's brick colours, three hit points on top), the ball and the paddle.
std::vector<Shape> Shapes()
{
    const Colour rows[] = {{1.0f, 0.0f, 0.0f}, {1.0f, 0.5f, 0.0f}, {1.0f, 1.0f, 0.0f}};
    std::vector<Shape> shapes;
    const float brickWidth = 0.22f;
    const float brickHeight = 0.095f;
    const float gap = 0.035f;
    const float left = 0.5f - (3 * brickWidth + 2 * gap) / 2;
    for (int row = 0; row < 3; ++row) {
        const float top = 0.15f + row * (brickHeight + gap);
        for (int column = 0; column < 3; ++column) {
            const float x = left + column * (brickWidth + gap);
            shapes.push_back({false, x, top, x + brickWidth, top + brickHeight, rows[row]});
        }
    }
    shapes.push_back({true, 0.43f, 0.59f, 0.57f, 0.73f, {1.0f, 1.0f, 1.0f}});
    shapes.push_back({false, 0.30f, 0.73f, 0.70f, 0.80f, {0.0f, 0.0f, 0.0f}});
    return shapes;
}

bool Inside(const Shape& shape, float x, float y)
{
    if (!shape.disc) return x >= shape.left && x < shape.right && y >= shape.top && y < shape.bottom;
    const float radius = (shape.right - shape.left) / 2;
    const float dx = x - (shape.left + radius);
    const float dy = y - (shape.top + radius);
    return dx * dx + dy * dy < radius * radius;
}

bool InsideRoundedSquare(float x, float y)
{
    const float low = margin + cornerRadius;
    const float high = 1.0f - margin - cornerRadius;
    const float dx = std::max({low - x, x - high, 0.0f});
    const float dy = std::max({low - y, y - high, 0.0f});
    if (x < margin || x >= 1.0f - margin || y < margin || y >= 1.0f - margin) return false;
    return dx * dx + dy * dy < cornerRadius * cornerRadius;
}

Colour Backdrop(float y)
{
    for (size_t i = 1; i < backdrop.size(); ++i) {
        const Stop& a = backdrop[i - 1];
        const Stop& b = backdrop[i];
        if (y < b.at) {
            const float t = (y - a.at) / (b.at - a.at);
            return {a.colour.r + (b.colour.r - a.colour.r) * t, a.colour.g + (b.colour.g - a.colour.g) * t,
                    a.colour.b + (b.colour.b - a.colour.b) * t};
        }
    }
    return backdrop.back().colour;
}

std::string Hex(Colour colour)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", ChannelByte(colour.r), ChannelByte(colour.g),
                  ChannelByte(colour.b));
    return text;
}

std::string Number(float units)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", units);
    return text;
}

}  // namespace

Colour Icon::ColourAt(float x, float y, float& alpha) const
{
    alpha = InsideRoundedSquare(x, y) ? 1.0f : 0.0f;
    if (alpha == 0.0f) return {0.0f, 0.0f, 0.0f};
    Colour colour = Backdrop(y);
    static const std::vector<Shape> shapes = Shapes();
    for (const Shape& shape : shapes) {
        if (Inside(shape, x, y)) colour = shape.colour;
    }
    return colour;
}

RgbaImage Icon::Paint(int size) const
{
    const int samples = 4;
    RgbaImage image(size, size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            // Colours are summed weighted by coverage, then divided by it: straight, not premultiplied,
            // alpha.
            float r = 0, g = 0, b = 0, coverage = 0;
            for (int sy = 0; sy < samples; ++sy) {
                for (int sx = 0; sx < samples; ++sx) {
                    float alpha;
                    const Colour c = ColourAt((x + (sx + 0.5f) / samples) / size,
                                              (y + (sy + 0.5f) / samples) / size, alpha);
                    r += c.r * alpha;
                    g += c.g * alpha;
                    b += c.b * alpha;
                    coverage += alpha;
                }
            }
            uint8_t* pixel = image.At(x, y);
            if (coverage > 0) {
                pixel[0] = ChannelByte(r / coverage);
                pixel[1] = ChannelByte(g / coverage);
                pixel[2] = ChannelByte(b / coverage);
            }
            pixel[3] = ChannelByte(coverage / (samples * samples));
        }
    }
    return image;
}

std::string Icon::Svg() const
{
    const float unit = 256.0f;
    auto u = [unit](float v) { return Number(v * unit); };
    std::string svg =
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" viewBox=\"0 0 256 256\">\n"
        "  <defs>\n"
        "    <linearGradient id=\"backdrop\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"" +
        u(1.0f) + "\" gradientUnits=\"userSpaceOnUse\">\n";
    for (const Stop& stop : backdrop) {
        svg += "      <stop offset=\"" + Number(stop.at) + "\" stop-color=\"" + Hex(stop.colour) + "\"/>\n";
    }
    const std::string square = "x=\"" + u(margin) + "\" y=\"" + u(margin) + "\" width=\"" +
                               u(1.0f - 2 * margin) + "\" height=\"" + u(1.0f - 2 * margin) + "\" rx=\"" +
                               u(cornerRadius) + "\"";
    svg +=
        "    </linearGradient>\n"
        "    <clipPath id=\"square\"><rect " +
        square +
        "/></clipPath>\n"
        "  </defs>\n"
        "  <g clip-path=\"url(#square)\">\n"
        "    <rect width=\"256\" height=\"256\" fill=\"url(#backdrop)\"/>\n";
    for (const Shape& s : Shapes()) {
        if (s.disc) {
            const float radius = (s.right - s.left) / 2;
            svg += "    <circle cx=\"" + u(s.left + radius) + "\" cy=\"" + u(s.top + radius) + "\" r=\"" +
                   u(radius) + "\" fill=\"" + Hex(s.colour) + "\"/>\n";
        } else {
            svg += "    <rect x=\"" + u(s.left) + "\" y=\"" + u(s.top) + "\" width=\"" + u(s.right - s.left) +
                   "\" height=\"" + u(s.bottom - s.top) + "\" fill=\"" + Hex(s.colour) + "\"/>\n";
        }
    }
    svg += "  </g>\n</svg>\n";
    return svg;
}
