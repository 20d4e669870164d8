// What a game controller holds, as the keys it stands for: the D-pad or the left stick past half its
// travel holds Left or Right, the lower face button Space, the left shoulder - and the right one =.
// Pure, so it reads the same on every platform.
#pragma once

#include "shell/platform/platform.h"

// Every controller's axes are set to this range, so that half travel is known; centred on 0, which is
// what DirectInput reports for an axis a pad does not have.
const LONG kPadAxisMin = -1000;
const LONG kPadAxisMax = 1000;

// Sets bit 7 in the keyboard snapshot for each key the controller holds; leaves the others as they are.
void HoldPadKeys(const DIJOYSTATE2& pad, BYTE (&keys)[256]);
