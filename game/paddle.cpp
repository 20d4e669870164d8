#include "game/paddle.h"

#include "game/box.h"
#include "math/vertex.h"
#include "shell/platform/gl.h"

Paddle::Paddle() : FieldBox(10.0f, -40.0f, 20.0f, 2.0f) {}

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

void Paddle::Reset()
{
    position->SetPoint(10.0f, -40.0f, 0.0f);
}
