#include "tools/assetgen/cubeface.h"

namespace {

// Corners in the order the game draws them, each (s, t) -> (x, y, z). Left is the +x face and
// right the -x face; the top face starts at (0, 1).
const CubeFace faces[CubeFace::count] = {
    {"ClearSky_front.bmp",
     {{0, 0, {1, -1, -1}}, {1, 0, {-1, -1, -1}}, {1, 1, {-1, 1, -1}}, {0, 1, {1, 1, -1}}}},
    {"ClearSky_left.bmp", {{0, 0, {1, -1, 1}}, {1, 0, {1, -1, -1}}, {1, 1, {1, 1, -1}}, {0, 1, {1, 1, 1}}}},
    {"ClearSky_back.bmp", {{0, 0, {-1, -1, 1}}, {1, 0, {1, -1, 1}}, {1, 1, {1, 1, 1}}, {0, 1, {-1, 1, 1}}}},
    {"ClearSky_right.bmp",
     {{0, 0, {-1, -1, -1}}, {1, 0, {-1, -1, 1}}, {1, 1, {-1, 1, 1}}, {0, 1, {-1, 1, -1}}}},
    {"ClearSky_top.bmp", {{0, 1, {1, 1, 1}}, {0, 0, {1, 1, -1}}, {1, 0, {-1, 1, -1}}, {1, 1, {-1, 1, 1}}}},
    {"marsdn.bmp", {{0, 0, {-1, -1, -1}}, {0, 1, {-1, -1, 1}}, {1, 1, {1, -1, 1}}, {1, 0, {1, -1, -1}}}},
};

}  // namespace

const CubeFace& CubeFace::Face(int index)
{
    return faces[index];
}

Vec3 CubeFace::PointAt(float s, float t) const
{
    // Bilinear blend of the four corners, each weighted by how near (s, t) is to its own (s, t).
    Vec3 point = {0, 0, 0};
    for (const FaceCorner& corner : corners) {
        const float weight = (corner.s > 0.5f ? s : 1.0f - s) * (corner.t > 0.5f ? t : 1.0f - t);
        point.x += corner.point.x * weight;
        point.y += corner.point.y * weight;
        point.z += corner.point.z * weight;
    }
    return point;
}
