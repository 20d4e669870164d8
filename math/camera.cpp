#include "math/camera.h"

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

// Degrees to radians with the game's own four-digit pi, held as a float: a quarter turn is 1.57075.
float Radians(float degrees)
{
    const float pi = 3.1415f;
    return F(D(degrees) * D(pi) / 180.0);
}

}  // namespace

Camera::Camera()
{
    SetPreset({0.0f, 11.0f, 125.0f});
}

void Camera::SetTopView()
{
    SetPreset({0.0f, 100.0f, 20.0f});
}

void Camera::SetPreset(Triple eye)
{
    position = eye;
    target = {0.0f, 20.0f, 20.0f};
    up = {0.0f, 1.0f, 0.0f};
    roll = 0.0f;
    pitch = 0.0f;
    yaw = 0.0f;
}

Camera::Triple Camera::MoveVector() const
{
    // From the eye to the target, not normalised: a step of 1 takes the eye onto the target.
    return {F(D(target.x) - D(position.x)), F(D(target.y) - D(position.y)), F(D(target.z) - D(position.z))};
}

void Camera::MoveForward(float amount)
{
    const Triple d = MoveVector();
    position.x = F(D(position.x) + D(amount) * D(d.x));
    position.y = F(D(position.y) + D(amount) * D(d.y));
    position.z = F(D(position.z) + D(amount) * D(d.z));
    target.x = F(D(target.x) + D(amount) * D(d.x));
    target.y = F(D(target.y) + D(amount) * D(d.y));
    target.z = F(D(target.z) + D(amount) * D(d.z));
}

void Camera::Strafe(float amount)
{
    const Triple d = MoveVector();
    // Perpendicular to the view line in the horizontal plane; positive is to the right of the view.
    const Triple s = {-d.z, 0.0f, d.x};
    position.x = F(D(position.x) + D(amount) * D(s.x));
    position.z = F(D(position.z) + D(amount) * D(s.z));
    target.x = F(D(target.x) + D(amount) * D(s.x));
    target.z = F(D(target.z) + D(amount) * D(s.z));
}

void Camera::MoveUp(float amount)
{
    position.y = F(D(position.y) + D(amount));
}

void Camera::AddRoll(float degrees)
{
    roll = F(D(roll) + D(degrees));
}

void Camera::AddPitch(float degrees)
{
    pitch = F(D(pitch) + D(degrees));
}

void Camera::AddYaw(float degrees)
{
    yaw = F(D(yaw) + D(degrees));
}

void Camera::Look()
{
    const float r = Radians(roll);
    const float p = Radians(pitch);
    const float w = Radians(yaw);
    const double cR = D(std::cos(r)), sR = D(std::sin(r));
    const double cP = D(std::cos(p)), sP = D(std::sin(p));
    const double cY = D(std::cos(w)), sY = D(std::sin(w));

    // The aim point is 360 units out from the world origin, not from the eye.
    target.x = F(360.0 * (sY * cP));
    target.y = F(360.0 * sP);
    target.z = F(360.0 * (-cY * cP));

    up.x = F(-cY * sR - sY * sP * cR);
    up.y = F(cP * cR);
    up.z = F(-sY * sR + cY * sP * cR);

    LookAt();
}

void Camera::LookAt() const
{
    gluLookAt(D(position.x), D(position.y), D(position.z), D(target.x), D(target.y), D(target.z), D(up.x),
              D(up.y), D(up.z));
}
