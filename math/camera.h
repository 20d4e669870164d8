// The camera that places the view: an eye, a target and an up vector, with three angles in degrees
// from which Look aims the view at a point on the sphere of radius 360 about the world origin.
#pragma once

class Camera {
public:
    struct Triple {
        float x;
        float y;
        float z;
    };

    Camera();

    void SetTopView();
    void MoveForward(float amount);
    void Strafe(float amount);
    void MoveUp(float amount);
    void AddRoll(float degrees);
    void AddPitch(float degrees);
    void AddYaw(float degrees);
    void Look();
    void LookAt() const;

    const Triple& GetPosition() const { return position; }
    const Triple& GetTarget() const { return target; }
    const Triple& GetUp() const { return up; }
    float GetRoll() const { return roll; }
    float GetPitch() const { return pitch; }
    float GetYaw() const { return yaw; }

private:
    void SetPreset(Triple eye);
    Triple MoveVector() const;

    Triple position;
    Triple target;
    Triple up;
    float roll;
    float pitch;
    float yaw;
};
