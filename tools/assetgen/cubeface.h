// The six faces of the skybox as the game draws them: which file each picture comes from and where
// each picture corner lands on the unit cube. A picture made through this table lines up with its
// neighbours when the game puts it on the box.
#pragma once

struct Vec3 {
    float x;
    float y;
    float z;
};

struct FaceCorner {
    float s;  // picture column, 0 at the left
    float t;  // picture row, 0 at the lowest row
    Vec3 point;
};

class CubeFace {
public:
    // Front, left (+x), back, right (-x), top, floor: the game's loading order.
    static const CubeFace& Face(int index);
    static constexpr int count = 6;

    const char* FileName() const { return fileName; }
    // The point of the cube's surface under picture coordinates (s, t), both in 0..1.
    Vec3 PointAt(float s, float t) const;

    const char* fileName;
    FaceCorner corners[4];
};
