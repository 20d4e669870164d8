// The game controllers attached, read through DirectInput's joystick interface beside the keyboard.
// Each is set up as the keyboard is (non-exclusive, in the background) with its axes on a known
// range, and each frame it holds the keys it stands for (padkeys.h). A controller that cannot be set
// up or read is let go, silently: the keyboard plays on as before.
#pragma once

#include <vector>

#include "shell/platform/platform.h"

class GamePads {
public:
    GamePads() = default;
    ~GamePads();
    GamePads(const GamePads&) = delete;
    GamePads& operator=(const GamePads&) = delete;

    // Takes up the controllers attached now that are not held yet. Slow on Windows: called at set-up
    // and when the system says its devices changed, never every frame.
    void Enumerate(IDirectInput8A* input);
    // Adds the keys every controller holds to the keyboard snapshot; one that no longer reads is let go.
    void Hold(BYTE (&keys)[256]);
    void Release();

private:
    struct Pad {
        GUID instance;
        IDirectInputDevice8A* device;
        bool stickRange;  // false where the axis range could not be set: the stick is not read
    };

    static BOOL CALLBACK Found(LPCDIDEVICEINSTANCEA instance, LPVOID self);
    bool IsHeld(const GUID& instance) const;
    void Add(IDirectInput8A* input, const GUID& instance);
    bool Read(Pad& pad, DIJOYSTATE2& state);
    static void ReleaseDevice(IDirectInputDevice8A*& device);

    std::vector<Pad> pads;
    std::vector<GUID> found;  // filled during an enumeration
};
