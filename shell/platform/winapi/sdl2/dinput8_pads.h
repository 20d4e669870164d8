// The SDL2 backend's game controllers: SDL's GameController API, so a pad of any maker reads in the
// standard layout of SDL's mapping database (and a player's SDL_GAMECONTROLLERCONFIG), under X11 and
// Wayland alike. Made at the first enumeration, so a game that never asks for controllers runs exactly
// as without them. Not implemented: triggers, the right stick, rumble.
#pragma once

#include <SDL.h>

#include <map>
#include <memory>
#include <vector>

#include "shell/platform/winapi/backend.h"

namespace layer::sdl2 {

class Pads {
public:
    Pads();  // starts SDL's controller support, and hears when a controller comes or goes
    ~Pads();
    Pads(const Pads&) = delete;
    Pads& operator=(const Pads&) = delete;

    std::vector<uint32_t> List() const;
    bool Open(uint32_t pad);
    void Close(uint32_t pad);
    void Poll();
    bool Read(uint32_t pad, backend::PadReading& reading) const;

private:
    struct ControllerCloser {
        void operator()(SDL_GameController* controller) const { SDL_GameControllerClose(controller); }
    };

    bool started = false;
    std::map<uint32_t, std::unique_ptr<SDL_GameController, ControllerCloser>> open;  // by SDL's number
};

}  // namespace layer::sdl2
