#include "math/vertex.h"

#include <cmath>

#include "shell/platform/gl.h"

namespace {

double D(float value)
{
    return static_cast<double>(value);
}

float F(double value)
{
    return static_cast<float>(value);
}

}  // namespace

Vertex::Vertex() : x(0.0f), y(0.0f), z(0.0f), nx(0.0f), ny(0.0f), nz(0.0f) {}

void Vertex::SetPoint(float px, float py, float pz)
{
    x = px;
    y = py;
    z = pz;
}

void Vertex::AddPoint(float dx, float dy, float dz)
{
    x = F(D(x) + D(dx));
    y = F(D(y) + D(dy));
    z = F(D(z) + D(dz));
}

void Vertex::SetNormal(float pnx, float pny, float pnz)
{
    nx = pnx;
    ny = pny;
    nz = pnz;
}

void Vertex::AddNormal(float dnx, float dny, float dnz)
{
    nx = F(D(nx) + D(dnx));
    ny = F(D(ny) + D(dny));
    nz = F(D(nz) + D(dnz));
}

void Vertex::CalcNormal(const Vertex& p1, const Vertex& p2, const Vertex& p3, const Vertex& p4)
{
    const float ux = std::fabs(F(D(p1.x) - D(p2.x)));
    const float uy = std::fabs(F(D(p1.y) - D(p2.y)));
    const float uz = std::fabs(F(D(p1.z) - D(p2.z)));
    const float vx = std::fabs(F(D(p3.x) - D(p4.x)));
    const float vy = std::fabs(F(D(p3.y) - D(p4.y)));
    const float vz = std::fabs(F(D(p3.z) - D(p4.z)));

    const float cx = F(D(uy) * D(vz) - D(uz) * D(vy));
    const float cy = F(D(uz) * D(vx) - D(ux) * D(vz));
    const float cz = F(D(ux) * D(vy) - D(uy) * D(vx));

    const float sum = F(D(cx) * D(cx) + D(cy) * D(cy) + D(cz) * D(cz));
    const float len = std::sqrt(sum);
    // Parallel or zero edges have no direction; a zero normal beats three NaNs.
    if (len == 0.0f) {
        SetNormal(0.0f, 0.0f, 0.0f);
        return;
    }
    nx = F(D(cx) / D(len));
    ny = F(D(cy) / D(len));
    nz = F(D(cz) / D(len));
}

bool Vertex::EqualsXZ(const Vertex& other) const
{
    return x == other.x && z == other.z;
}

void Vertex::EmitVertex() const
{
    glVertex3f(x, y, z);
}

void Vertex::EmitVertex4(float w) const
{
    glVertex4f(x, y, z, w);
}

void Vertex::EmitNormal() const
{
    glNormal3f(nx, ny, nz);
}

void Vertex::Subtract(const Vertex& a, const Vertex& b)
{
    x = F(D(a.x) - D(b.x));
    y = F(D(a.y) - D(b.y));
    z = F(D(a.z) - D(b.z));
}

void Vertex::Add(const Vertex& a, const Vertex& b)
{
    x = F(D(a.x) + D(b.x));
    y = F(D(a.y) + D(b.y));
    z = F(D(a.z) + D(b.z));
}

void Vertex::Cross(const Vertex& a, const Vertex& b)
{
    x = F(D(a.y) * D(b.z) - D(a.z) * D(b.y));
    y = F(D(a.z) * D(b.x) - D(a.x) * D(b.z));
    z = F(D(a.x) * D(b.y) - D(a.y) * D(b.x));
}

double Vertex::Dot(const Vertex& a) const
{
    return (D(a.x) * D(x) + D(a.y) * D(y)) + D(a.z) * D(z);
}

void Vertex::LookAt(const Vertex& center, const Vertex& up) const
{
    gluLookAt(D(x), D(y), D(z), D(center.x), D(center.y), D(center.z), D(up.x), D(up.y), D(up.z));
}
