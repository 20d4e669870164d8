#include "input/padkeys.h"

#include <algorithm>

namespace {

const BYTE keyDown = 0x80;

// A pad that speaks XInput reports A, B, X, Y, then the left and right shoulder, in this order.
const int southButton = 0;
const int leftShoulder = 4;
const int rightShoulder = 5;

// Past half the travel on either side; a stick resting a little off centre stays well inside.
const LONG stickThreshold = (kPadAxisMax - kPadAxisMin) / 4;

// The first hat's direction across: -1 left, +1 right, 0 centred, straight up or down, or garbage.
int HatAcross(DWORD pov)
{
    if ((pov & 0xFFFF) == 0xFFFF || pov >= 36000) return 0;
    if (pov > 0 && pov < 18000) return 1;
    if (pov > 18000) return -1;
    return 0;
}

void Hold(BYTE (&keys)[256], int code, bool held)
{
    if (held) keys[code] |= keyDown;
}

}  // namespace

void HoldPadKeys(const DIJOYSTATE2& pad, BYTE (&keys)[256])
{
    const LONG centre = (kPadAxisMin + kPadAxisMax) / 2;
    const LONG stick = std::clamp(pad.lX, kPadAxisMin, kPadAxisMax) - centre;
    const int hat = HatAcross(pad.rgdwPOV[0]);
    Hold(keys, DIK_RIGHT, hat > 0 || stick > stickThreshold);
    Hold(keys, DIK_LEFT, hat < 0 || stick < -stickThreshold);
    Hold(keys, DIK_SPACE, pad.rgbButtons[southButton] & keyDown);
    Hold(keys, DIK_MINUS, pad.rgbButtons[leftShoulder] & keyDown);
    Hold(keys, DIK_EQUALS, pad.rgbButtons[rightShoulder] & keyDown);
}
