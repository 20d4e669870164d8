#include "game/paddle.h"

#include "game/box.h"
#include "math/vertex.h"
#include "shell/platform/gl.h"
#include "shell/safedelete.h"

Paddle::Paddle() : position(new Vertex()), height(2.0f), width(20.0f)
{
    position->SetPoint(10.0f, -40.0f, 0.0f);
}

Paddle::~Paddle()
{
    SafeDelete(position);
}

void Paddle::Move(float dx)
{
    position->AddPoint(dx, 0.0f, 0.0f);
    // A clamp sets the whole point, putting y and z back on the paddle's line as well.
    if (position->GetX() > 60.0f) position->SetPoint(60.0f, -40.0f, 0.0f);
    if (position->GetX() < -70.0f) position->SetPoint(-70.0f, -40.0f, 0.0f);
}

void Paddle::Draw()
{
    glPushMatrix();
    glTranslatef(position->GetX(), position->GetY(), position->GetZ());
    glColor3f(0.0f, 0.0f, 0.0f);
    DrawBox();
    glPopMatrix();
}

void Paddle::DrawBox()
{
    DrawBoxFaces(20.0f, 2.0f, 2.0f);
}

float Paddle::GetX() const
{
    return position->GetX();
}

float Paddle::GetY() const
{
    return position->GetY();
}

float Paddle::GetZ() const
{
    return position->GetZ();
}

float Paddle::GetWidth() const
{
    return width;
}

float Paddle::GetHeight() const
{
    return height;
}

void Paddle::Reset()
{
    position->SetPoint(10.0f, -40.0f, 0.0f);
}
