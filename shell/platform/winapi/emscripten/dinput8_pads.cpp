// The browser backend's game controllers: the Gamepad API, read in its standard mapping (buttons 0
// south, 4 and 5 the shoulders, 14 and 15 the D-pad's left and right; axis 0 the left stick across).
// The page (page.js) tells the game when a pad connects or disconnects. A browser shows a pad to the
// page only after one of its buttons has been pressed there. Not implemented: triggers, rumble.
#include <emscripten/html5.h>

#include <cmath>
#include <vector>

#include "shell/platform/winapi/backend.h"
#include "shell/platform/winapi/emscripten/backendstate.h"

namespace {

const int maxPads = 16;

uint32_t (&Numbers())[maxPads]
{
    return layer::web::State().padNumbers;
}

bool Status(int index, EmscriptenGamepadEvent& pad)
{
    return emscripten_get_gamepad_status(index, &pad) == EMSCRIPTEN_RESULT_SUCCESS && pad.connected;
}

// Brings the slots in line with the pads the page sees now.
void Sample()
{
    if (emscripten_sample_gamepad_data() != EMSCRIPTEN_RESULT_SUCCESS) return;
    const int count = emscripten_get_num_gamepads();
    for (int index = 0; index < maxPads; ++index) {
        EmscriptenGamepadEvent pad;
        const bool connected = index < count && Status(index, pad);
        uint32_t& number = Numbers()[index];
        if (!connected) {
            number = 0;
        } else if (!number) {
            number = ++layer::web::State().lastPadNumber;
        }
    }
}

int IndexOf(uint32_t number)
{
    for (int index = 0; index < maxPads; ++index) {
        if (number && Numbers()[index] == number) return index;
    }
    return -1;
}

bool Pressed(const EmscriptenGamepadEvent& pad, int button)
{
    return button < pad.numButtons && pad.digitalButton[button];
}

// An axis from -1 ... 1, whatever the browser gives, onto -32768 ... 32767.
int16_t AxisOf(const EmscriptenGamepadEvent& pad, int axis)
{
    if (axis >= pad.numAxes || !std::isfinite(pad.axis[axis])) return 0;
    const double clamped = std::fmax(-1.0, std::fmin(1.0, pad.axis[axis]));
    return static_cast<int16_t>(std::lround(clamped * 32767.5 - 0.5));
}

}  // namespace

namespace layer::backend {

std::vector<uint32_t> ListPads()
{
    Sample();
    std::vector<uint32_t> found;
    for (uint32_t number : Numbers()) {
        if (number) found.push_back(number);
    }
    return found;
}

bool OpenPad(uint32_t pad)
{
    return IndexOf(pad) >= 0;
}

void ClosePad(uint32_t) {}

void PollPads()
{
    Sample();
}

bool ReadPad(uint32_t number, PadReading& reading)
{
    const int index = IndexOf(number);
    EmscriptenGamepadEvent pad;
    if (index < 0 || !Status(index, pad)) return false;
    reading.stickX = AxisOf(pad, 0);
    reading.stickY = AxisOf(pad, 1);
    reading.dpadUp = Pressed(pad, 12);
    reading.dpadDown = Pressed(pad, 13);
    reading.dpadLeft = Pressed(pad, 14);
    reading.dpadRight = Pressed(pad, 15);
    // The standard mapping's first ten buttons come in XInput's order.
    for (int i = 0; i < 10; ++i) reading.buttons[i] = Pressed(pad, i);
    return true;
}

}  // namespace layer::backend
