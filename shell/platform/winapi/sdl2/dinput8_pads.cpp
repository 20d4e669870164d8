#include "shell/platform/winapi/sdl2/dinput8_pads.h"

#include "shell/platform/winapi/layerwindow.h"
#include "shell/platform/winapi/sdl2/backendstate.h"

namespace {

// A controller came or went: windows hear of it as on Windows, and the game enumerates again.
int NoteDeviceChange(void*, SDL_Event* event)
{
    const WPARAM devicesChanged = 0x0007;  // DBT_DEVNODES_CHANGED, what Windows broadcasts
    if (event->type == SDL_JOYDEVICEADDED || event->type == SDL_JOYDEVICEREMOVED) {
        layer::PostToAllWindows(WM_DEVICECHANGE, devicesChanged, 0);
    }
    return 1;
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

namespace layer::sdl2 {

Pads::Pads()
{
    // Buttons by their place, not their label: the lower face button is A on every maker's pad.
    SDL_SetHint(SDL_HINT_GAMECONTROLLER_USE_BUTTON_LABELS, "0");
    started = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
    if (started) SDL_AddEventWatch(NoteDeviceChange, nullptr);
}

Pads::~Pads()
{
    open.clear();
    if (!started) return;
    SDL_DelEventWatch(NoteDeviceChange, nullptr);
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

std::vector<uint32_t> Pads::List() const
{
    std::vector<uint32_t> found;
    if (!started) return found;
    for (int index = 0; index < SDL_NumJoysticks(); ++index) {
        if (SDL_IsGameController(index)) found.push_back(SDL_JoystickGetDeviceInstanceID(index));
    }
    return found;
}

bool Pads::Open(uint32_t pad)
{
    if (open.count(pad)) return true;
    const int index = DeviceIndexOf(pad);
    if (index < 0) return false;
    SDL_GameController* controller = SDL_GameControllerOpen(index);
    if (!controller) return false;
    open[pad].reset(controller);
    return true;
}

void Pads::Close(uint32_t pad)
{
    open.erase(pad);
}

void Pads::Poll()
{
    if (started) SDL_GameControllerUpdate();
}

bool Pads::Read(uint32_t pad, backend::PadReading& reading) const
{
    const auto found = open.find(pad);
    if (found == open.end() || !SDL_GameControllerGetAttached(found->second.get())) return false;
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

}  // namespace layer::sdl2

namespace layer::backend {

std::vector<uint32_t> ListPads()
{
    std::unique_ptr<sdl2::Pads>& pads = sdl2::State().pads;
    if (!pads) pads = std::make_unique<sdl2::Pads>();
    return pads->List();
}

bool OpenPad(uint32_t pad)
{
    return sdl2::State().pads && sdl2::State().pads->Open(pad);
}

void ClosePad(uint32_t pad)
{
    if (sdl2::State().pads) sdl2::State().pads->Close(pad);
}

void PollPads()
{
    if (sdl2::State().pads) sdl2::State().pads->Poll();
}

bool ReadPad(uint32_t pad, PadReading& reading)
{
    return sdl2::State().pads && sdl2::State().pads->Read(pad, reading);
}

}  // namespace layer::backend
