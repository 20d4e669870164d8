#include "math/vertex.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

Vertex P(float x, float y, float z)
{
    Vertex v;
    v.SetPoint(x, y, z);
    return v;
}

::testing::AssertionResult Is(float x, float y, float z, float ax, float ay, float az)
{
    if (x == ax && y == ay && z == az) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "(" << x << ", " << y << ", " << z << ") instead of (" << ax << ", " << ay << ", " << az << ")";
}

TEST(Vertex, PointOperationsLeaveTheNormalAlone)
{
    Vertex v;
    EXPECT_TRUE(Is(v.GetX(), v.GetY(), v.GetZ(), 0, 0, 0));
    EXPECT_TRUE(Is(v.GetNX(), v.GetNY(), v.GetNZ(), 0, 0, 0));
    v.SetNormal(7, 8, 9);
    v.AddNormal(1, -8, 0.5f);
    v.SetPoint(1, 2, 3);
    v.AddPoint(-1, 0, 0);
    EXPECT_TRUE(Is(v.GetX(), v.GetY(), v.GetZ(), 0, 2, 3));
    v.Subtract(P(5, 7, 9), P(1, 2, 3));
    EXPECT_TRUE(Is(v.GetX(), v.GetY(), v.GetZ(), 4, 5, 6));
    v.Add(P(5, 7, 9), P(1, 2, 3));
    EXPECT_TRUE(Is(v.GetX(), v.GetY(), v.GetZ(), 6, 9, 12));
    v.Cross(P(1, 0, 0), P(0, 1, 0));
    EXPECT_TRUE(Is(v.GetX(), v.GetY(), v.GetZ(), 0, 0, 1));
    EXPECT_TRUE(Is(v.GetNX(), v.GetNY(), v.GetNZ(), 8, 0, 9.5f));
}

TEST(Vertex, CrossAndDotKeepTheirOrderAndDoublePrecision)
{
    // x is stored first, so an argument that is the record itself shows y and z the new x (and z the new y).
    Vertex a = P(1, 2, 3);
    a.Cross(a, P(4, 5, 6));
    EXPECT_TRUE(Is(a.GetX(), a.GetY(), a.GetZ(), -3, 30, -135));
    Vertex b = P(4, 5, 6);
    b.Cross(P(1, 2, 3), b);
    EXPECT_TRUE(Is(b.GetX(), b.GetY(), b.GetZ(), -3, -15, -9));

    // (1 + 2^-13)(1 - 2^-13) - 1 = -2^-26: float products would round to 1 and give 0.
    const float e = std::ldexp(1.0f, -13);
    Vertex c;
    c.Cross(P(0, 1 + e, 1), P(0, 1, 1 - e));
    EXPECT_EQ(c.GetX(), -std::ldexp(1.0f, -26));

    const float big = std::ldexp(1.0f, 30);
    struct {
        Vertex a, b;
        double dot;
    } cases[] = {
        {P(1, 2, 3), P(4, 5, 6), 32.0},
        {P(1 + e, 1, 0), P(1 + e, -1, 0), std::ldexp(1.0, -12) + std::ldexp(1.0, -26)},  // not a float
        {P(big, 1, big), P(big, 1, -big), 0.0},  // 2^60 + 1 rounds to 2^60 before z cancels it
        {P(big, -big, 1), P(big, big, 1), 1.0},  // x and y cancel first, z survives
    };
    for (const auto& t : cases) EXPECT_EQ(t.b.Dot(t.a), t.dot);
}

TEST(Vertex, EqualsXZComparesXAndZExactly)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct {
        Vertex a, b;
        bool equal;
    } cases[] = {
        {P(1, 5, 2), P(1, -7, 2), true},          {P(1, 5, 2), P(1, 5, 2.0001f), false},
        {P(1, 5, 2), P(1.0000001f, 5, 2), false}, {P(nan, 5, 2), P(nan, 5, 2), false},
        {P(1, 5, nan), P(1, 5, nan), false},      {P(1, nan, 2), P(1, 3, 2), true},
    };
    for (const auto& t : cases) EXPECT_EQ(t.a.EqualsXZ(t.b), t.equal) << t.a.GetX() << " " << t.b.GetZ();
}

TEST(Vertex, CalcNormalUsesEdgeMagnitudesAndGivesZeroForParallelEdges)
{
    struct {
        Vertex p1, p2, p3, p4;
        float nx, ny, nz;
    } cases[] = {
        // U = (1, 0, 0), V = (0, -1, 0): the magnitudes turn V to +y, so the normal is +z, not -z.
        {P(1, 0, 0), P(0, 0, 0), P(0, 0, 0), P(0, 1, 0), 0, 0, 1},
        {P(3, 0, 0), P(0, 0, 0), P(0, 0, 0), P(0, 0, -4), 0, -1, 0},
        {P(0, 5, 0), P(0, 0, 0), P(0, 0, 0), P(0, 0, 2), 1, 0, 0},
        // Parallel (also once the magnitudes are taken) or zero edges: zero, not NaN.
        {P(1, 2, 3), P(0, 0, 0), P(2, 4, 6), P(0, 0, 0), 0, 0, 0},
        {P(1, 0, 0), P(0, 0, 0), P(0, 0, 0), P(1, 0, 0), 0, 0, 0},
        {P(5, 5, 5), P(5, 5, 5), P(0, 1, 0), P(0, 0, 0), 0, 0, 0},
    };
    for (const auto& t : cases) {
        Vertex v = P(9, 8, 7);
        v.SetNormal(1, 1, 1);
        v.CalcNormal(t.p1, t.p2, t.p3, t.p4);
        EXPECT_TRUE(Is(v.GetNX(), v.GetNY(), v.GetNZ(), t.nx, t.ny, t.nz));
        EXPECT_TRUE(Is(v.GetX(), v.GetY(), v.GetZ(), 9, 8, 7));
    }
}

}  // namespace
