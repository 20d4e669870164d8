#include "math/vertex.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

Vertex Point(float x, float y, float z)
{
    Vertex v;
    v.SetPoint(x, y, z);
    return v;
}

void ExpectPoint(const Vertex& v, float x, float y, float z)
{
    EXPECT_EQ(v.GetX(), x);
    EXPECT_EQ(v.GetY(), y);
    EXPECT_EQ(v.GetZ(), z);
}

void ExpectNormal(const Vertex& v, float nx, float ny, float nz)
{
    EXPECT_EQ(v.GetNX(), nx);
    EXPECT_EQ(v.GetNY(), ny);
    EXPECT_EQ(v.GetNZ(), nz);
}

TEST(Vertex, StartsAtZeroAndPointAndNormalChangeApart)
{
    Vertex v;
    ExpectPoint(v, 0, 0, 0);
    ExpectNormal(v, 0, 0, 0);

    v.SetPoint(1, 2, 3);
    v.SetNormal(7, 8, 9);
    v.AddPoint(-1, 0, 0);
    ExpectPoint(v, 0, 2, 3);
    ExpectNormal(v, 7, 8, 9);

    v.AddNormal(1, -8, 0.5f);
    ExpectNormal(v, 8, 0, 9.5f);
    ExpectPoint(v, 0, 2, 3);
}

TEST(Vertex, SubtractAddAndCrossWriteOnlyThePoint)
{
    const Vertex a = Point(5, 7, 9);
    const Vertex b = Point(1, 2, 3);
    Vertex v;
    v.SetNormal(4, 4, 4);

    v.Subtract(a, b);
    ExpectPoint(v, 4, 5, 6);
    v.Add(a, b);
    ExpectPoint(v, 6, 9, 12);
    v.Cross(Point(1, 0, 0), Point(0, 1, 0));
    ExpectPoint(v, 0, 0, 1);
    v.Cross(Point(0, 1, 0), Point(1, 0, 0));
    ExpectPoint(v, 0, 0, -1);
    ExpectNormal(v, 4, 4, 4);
}

TEST(Vertex, CrossWithItselfAsArgumentSeesComponentsAlreadyWritten)
{
    // x is written first; y and z then read the new x (and z the new y) through the alias.
    Vertex first = Point(1, 2, 3);
    first.Cross(first, Point(4, 5, 6));
    ExpectPoint(first, -3, 30, -135);

    Vertex second = Point(4, 5, 6);
    second.Cross(Point(1, 2, 3), second);
    // x = 2*6 - 3*5 = -3; y = 3*(-3) - 1*6 = -15; z = 1*(-15) - 2*(-3) = -9
    ExpectPoint(second, -3, -15, -9);

    Vertex both = Point(1, 2, 3);
    both.Cross(both, both);
    // x = 2*3 - 3*2 = 0; y = 3*0 - 0*3 = 0; z = 0*0 - 0*0 = 0
    ExpectPoint(both, 0, 0, 0);
}

TEST(Vertex, ProductsAreFormedInDoubleBeforeTheFloatIsStored)
{
    // (1 + 2^-13)(1 - 2^-13) - 1 is -2^-26: a float product would round to 1 and give 0.
    const float e = std::ldexp(1.0f, -13);
    Vertex v;
    v.Cross(Point(0, 1 + e, 1), Point(0, 1, 1 - e));
    EXPECT_EQ(v.GetX(), -std::ldexp(1.0f, -26));

    // The dot product keeps the double: 2^-12 + 2^-26 is not a float.
    const Vertex a = Point(1 + e, 1, 0);
    const double dot = a.Dot(Point(1 + e, -1, 0));
    EXPECT_EQ(dot, std::ldexp(1.0, -12) + std::ldexp(1.0, -26));
}

TEST(Vertex, DotSumsXAndYBeforeZ)
{
    const float big = std::ldexp(1.0f, 30);
    struct Case {
        Vertex a;
        Vertex b;
        double expected;
    } cases[] = {
        {Point(1, 2, 3), Point(4, 5, 6), 32.0},
        // (2^60 + 1) rounds to 2^60 in double before z's -2^60 cancels it.
        {Point(big, 1, big), Point(big, 1, -big), 0.0},
        // Here the 1 comes last and survives.
        {Point(big, -big, 1), Point(big, big, 1), 1.0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.b.Dot(c.a), c.expected);
    }
}

TEST(Vertex, EqualsXZComparesXAndZExactly)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        Vertex a;
        Vertex b;
        bool equal;
    } cases[] = {
        {Point(1, 5, 2), Point(1, -7, 2), true},          {Point(1, 5, 2), Point(1, 5, 2.0001f), false},
        {Point(1, 5, 2), Point(1.0000001f, 5, 2), false}, {Point(0.0f, 0, 0), Point(-0.0f, 0, 0.0f), true},
        {Point(nan, 5, 2), Point(nan, 5, 2), false},      {Point(1, 5, nan), Point(1, 5, nan), false},
        {Point(1, nan, 2), Point(1, 3, 2), true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.a.EqualsXZ(c.b), c.equal)
            << c.a.GetX() << "," << c.a.GetZ() << " vs " << c.b.GetX() << "," << c.b.GetZ();
    }
}

TEST(Vertex, CalcNormalUsesTheMagnitudesOfBothEdges)
{
    struct Case {
        Vertex p1, p2, p3, p4;
        float nx, ny, nz;
    } cases[] = {
        // U = (1, 0, 0), V = (0, -1, 0): the magnitudes turn V to +y, so the normal is +z, not -z.
        {Point(1, 0, 0), Point(0, 0, 0), Point(0, 0, 0), Point(0, 1, 0), 0, 0, 1},
        {Point(0, 0, 0), Point(1, 0, 0), Point(0, 1, 0), Point(0, 0, 0), 0, 0, 1},
        // Longer edges still give a unit normal.
        {Point(3, 0, 0), Point(0, 0, 0), Point(0, 0, 0), Point(0, 0, -4), 0, -1, 0},
        {Point(0, 5, 0), Point(0, 0, 0), Point(0, 0, 0), Point(0, 0, 2), 1, 0, 0},
    };
    for (const Case& c : cases) {
        Vertex v = Point(9, 8, 7);
        v.CalcNormal(c.p1, c.p2, c.p3, c.p4);
        ExpectNormal(v, c.nx, c.ny, c.nz);
        ExpectPoint(v, 9, 8, 7);
    }

    Vertex diagonal;
    diagonal.CalcNormal(Point(1, -1, 0), Point(0, 0, 0), Point(0, 0, 0), Point(0, 0, 1));
    // U = (1, 1, 0), V = (0, 0, 1): N = (1, -1, 0) over the float root of 2.
    EXPECT_FLOAT_EQ(diagonal.GetNX(), 1.0f / std::sqrt(2.0f));
    EXPECT_FLOAT_EQ(diagonal.GetNY(), -1.0f / std::sqrt(2.0f));
    EXPECT_EQ(diagonal.GetNZ(), 0.0f);
}

TEST(Vertex, CalcNormalOfParallelOrZeroEdgesIsZeroNotNaN)
{
    struct Case {
        Vertex p1, p2, p3, p4;
    } cases[] = {
        {Point(1, 2, 3), Point(0, 0, 0), Point(2, 4, 6), Point(0, 0, 0)},
        // Opposite edges are parallel too once their magnitudes are taken.
        {Point(1, 0, 0), Point(0, 0, 0), Point(0, 0, 0), Point(1, 0, 0)},
        {Point(5, 5, 5), Point(5, 5, 5), Point(0, 1, 0), Point(0, 0, 0)},
        {Point(0, 0, 0), Point(0, 0, 0), Point(0, 0, 0), Point(0, 0, 0)},
    };
    for (const Case& c : cases) {
        Vertex v;
        v.SetNormal(1, 1, 1);
        v.CalcNormal(c.p1, c.p2, c.p3, c.p4);
        ExpectNormal(v, 0, 0, 0);
    }
}

}  // namespace
