// A point and a normal, six floats, with the vector operations the world objects use and the calls
// that hand them to OpenGL. Every operation forms its sums and products in double precision and
// stores each result as a float.
#pragma once

class Vertex {
public:
    Vertex();

    void SetPoint(float x, float y, float z);
    void AddPoint(float dx, float dy, float dz);
    void SetNormal(float nx, float ny, float nz);
    void AddNormal(float dnx, float dny, float dnz);

    float GetX() const { return x; }
    float GetY() const { return y; }
    float GetZ() const { return z; }
    float GetNX() const { return nx; }
    float GetNY() const { return ny; }
    float GetNZ() const { return nz; }

    // Unit normal of the edges p1->p2 and p3->p4, from the absolute values of their components.
    // Parallel or zero edges give a zero normal.
    void CalcNormal(const Vertex& p1, const Vertex& p2, const Vertex& p3, const Vertex& p4);
    // Exact comparison of x and z; y and the normal are ignored.
    bool EqualsXZ(const Vertex& other) const;

    void EmitVertex() const;
    void EmitVertex4(float w) const;
    void EmitNormal() const;

    // Subtract, Add and Cross write x, y and z in turn, so an argument that is this record sees the
    // components already written.
    void Subtract(const Vertex& a, const Vertex& b);
    void Add(const Vertex& a, const Vertex& b);
    void Cross(const Vertex& a, const Vertex& b);
    double Dot(const Vertex& a) const;

    // gluLookAt from this point toward center, with up's point as the up vector.
    void LookAt(const Vertex& center, const Vertex& up) const;

private:
    float x;
    float y;
    float z;
    float nx;
    float ny;
    float nz;
};
