// The SDL2 backend's game controllers: SDL's GameController API, so a pad of any maker reads in the
// standard layout of SDL's mapping database (and a player's SDL_GAMECONTROLLERCONFIG), under X11 and
// Wayland alike. SDL's controller support starts at the first enumeration, so a game that never asks
// for controllers runs exactly as without them. Not implemented: triggers, the right stick, rumble.
#include <SDL.h>

#include <map>
#include <memory>
#include <vector>

#include "shell/platform/winapi/backend.h"
#include "shell/platform/winapi/layerwindow.h"
#include "shell/platform/winapi/resets.h"

namespace {

struct ControllerCloser {
    void operator()(SDL_GameController* controller) const { SDL_GameControllerClose(controller); }
};
using Controller = std::unique_ptr<SDL_GameController, ControllerCloser>;

struct PadState {
    bool started = false;
    std::map<uint32_t, Controller> open;  // by SDL's instance number, which no later pad reuses
};

PadState pads;

// A controller came or went: windows hear of it as on Windows, and the game enumerates again.
int NoteDeviceChange(void*, SDL_Event* event)
{
    const WPARAM devicesChanged = 0x0007;  // DBT_DEVNODES_CHANGED, what Windows broadcasts
    if (event->type == SDL_JOYDEVICEADDED || event->type == SDL_JOYDEVICEREMOVED) {
        layer::PostToAllWindows(WM_DEVICECHANGE, devicesChanged, 0);
    }
    return 1;
}

bool Start()
{
    if (pads.started) return true;
    // Buttons by their place, not their label: the lower face button is A on every maker's pad.
    SDL_SetHint(SDL_HINT_GAMECONTROLLER_USE_BUTTON_LABELS, "0");
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) return false;
    SDL_AddEventWatch(NoteDeviceChange, nullptr);
    pads.started = true;
    return true;
}

int DeviceIndexOf(uint32_t pad)
{
    for (int index = 0; index < SDL_NumJoysticks(); ++index) {
        if (static_cast<uint32_t>(SDL_JoystickGetDeviceInstanceID(index)) == pad) return index;
    }
    return -1;
}

bool Held(SDL_GameController* controller, SDL_GameControllerButton button)
{
    return SDL_GameControllerGetButton(controller, button) != 0;
}

}  // namespace

namespace layer::backend {

std::vector<uint32_t> ListPads()
{
    std::vector<uint32_t> found;
    if (!Start()) return found;
    for (int index = 0; index < SDL_NumJoysticks(); ++index) {
        if (SDL_IsGameController(index)) found.push_back(SDL_JoystickGetDeviceInstanceID(index));
    }
    return found;
}

bool OpenPad(uint32_t pad)
{
    if (pads.open.count(pad)) return true;
    const int index = DeviceIndexOf(pad);
    if (index < 0) return false;
    Controller controller(SDL_GameControllerOpen(index));
    if (!controller) return false;
    pads.open.emplace(pad, std::move(controller));
    return true;
}

void ClosePad(uint32_t pad)
{
    pads.open.erase(pad);
}

void PollPads()
{
    if (pads.started) SDL_GameControllerUpdate();
}

bool ReadPad(uint32_t pad, PadReading& reading)
{
    const auto found = pads.open.find(pad);
    if (found == pads.open.end() || !SDL_GameControllerGetAttached(found->second.get())) return false;
    SDL_GameController* controller = found->second.get();
    reading.stickX = SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTX);
    reading.stickY = SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTY);
    reading.dpadUp = Held(controller, SDL_CONTROLLER_BUTTON_DPAD_UP);
    reading.dpadRight = Held(controller, SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
    reading.dpadDown = Held(controller, SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    reading.dpadLeft = Held(controller, SDL_CONTROLLER_BUTTON_DPAD_LEFT);
    const SDL_GameControllerButton order[] = {SDL_CONTROLLER_BUTTON_A,
                                              SDL_CONTROLLER_BUTTON_B,
                                              SDL_CONTROLLER_BUTTON_X,
                                              SDL_CONTROLLER_BUTTON_Y,
                                              SDL_CONTROLLER_BUTTON_LEFTSHOULDER,
                                              SDL_CONTROLLER_BUTTON_RIGHTSHOULDER,
                                              SDL_CONTROLLER_BUTTON_BACK,
                                              SDL_CONTROLLER_BUTTON_START,
                                              SDL_CONTROLLER_BUTTON_LEFTSTICK,
                                              SDL_CONTROLLER_BUTTON_RIGHTSTICK};
    for (size_t i = 0; i < sizeof(order) / sizeof(order[0]); ++i)
        reading.buttons[i] = Held(controller, order[i]);
    return true;
}

void ResetPads()
{
    pads.open.clear();
}

}  // namespace layer::backend
