#include "game/fieldbox.h"

#include "math/vertex.h"
#include "shell/safedelete.h"

FieldBox::FieldBox(float x, float y, float boxWidth, float boxHeight)
    : position(new Vertex()), height(boxHeight), width(boxWidth)
{
    position->SetPoint(x, y, 0.0f);
}

FieldBox::~FieldBox()
{
    SafeDelete(position);
}

float FieldBox::GetX() const
{
    return position->GetX();
}

float FieldBox::GetY() const
{
    return position->GetY();
}

float FieldBox::GetZ() const
{
    return position->GetZ();
}

float FieldBox::GetWidth() const
{
    return width;
}

float FieldBox::GetHeight() const
{
    return height;
}
