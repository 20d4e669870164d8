// The SDL2 backend's keyboard. DirectInput's codes name places on the keyboard, not characters: the
// key right of 0 reads as DIK_EQUALS on every layout, though German types "=" on Shift+0.
// On X11 it is the global X key state, read with XQueryKeymap on a connection of its own, so held
// keys read as down with or without focus; each X keycode is known by its key's place (the server's
// XKB key name). Under any other video driver (native Wayland) that connection would see nothing, or
// another program's keys through Xwayland: there the keys are SDL's, by scancode (SDL's names for
// the same places), and count only while a window of the game has the keyboard focus.
#include <SDL.h>
#include <X11/XKBlib.h>
#include <X11/Xlib.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

#include "shell/platform/winapi/backend.h"
#include "shell/platform/winapi/dinput8.h"
#include "shell/platform/winapi/sdl2/backendstate.h"

namespace layer::sdl2 {
namespace {

struct KeyPlace {
    char name[5];       // the XKB name of the key's place
    BYTE dik;           // DirectInput's code for that place
    uint8_t evdevCode;  // the place's keycode on a server with evdev keycodes; 0 where it has none
    SDL_Scancode scancode;
};

// The places of the main keyboard, the navigation block, the arrows and the keypad. Where keycode
// sets name a place differently, each name is listed.
const KeyPlace keyPlaces[] = {
    {"ESC", DIK_ESCAPE, 9, SDL_SCANCODE_ESCAPE},
    {"AE01", DIK_1, 10, SDL_SCANCODE_1},
    {"AE02", DIK_2, 11, SDL_SCANCODE_2},
    {"AE03", DIK_3, 12, SDL_SCANCODE_3},
    {"AE04", DIK_4, 13, SDL_SCANCODE_4},
    {"AE05", DIK_5, 14, SDL_SCANCODE_5},
    {"AE06", DIK_6, 15, SDL_SCANCODE_6},
    {"AE07", DIK_7, 16, SDL_SCANCODE_7},
    {"AE08", DIK_8, 17, SDL_SCANCODE_8},
    {"AE09", DIK_9, 18, SDL_SCANCODE_9},
    {"AE10", DIK_0, 19, SDL_SCANCODE_0},
    {"AE11", DIK_MINUS, 20, SDL_SCANCODE_MINUS},
    {"AE12", DIK_EQUALS, 21, SDL_SCANCODE_EQUALS},
    {"BKSP", DIK_BACK, 22, SDL_SCANCODE_BACKSPACE},
    {"TAB", DIK_TAB, 23, SDL_SCANCODE_TAB},
    {"AD01", DIK_Q, 24, SDL_SCANCODE_Q},
    {"AD02", DIK_W, 25, SDL_SCANCODE_W},
    {"AD03", DIK_E, 26, SDL_SCANCODE_E},
    {"AD04", DIK_R, 27, SDL_SCANCODE_R},
    {"AD05", DIK_T, 28, SDL_SCANCODE_T},
    {"AD06", DIK_Y, 29, SDL_SCANCODE_Y},
    {"AD07", DIK_U, 30, SDL_SCANCODE_U},
    {"AD08", DIK_I, 31, SDL_SCANCODE_I},
    {"AD09", DIK_O, 32, SDL_SCANCODE_O},
    {"AD10", DIK_P, 33, SDL_SCANCODE_P},
    {"AD11", DIK_LBRACKET, 34, SDL_SCANCODE_LEFTBRACKET},
    {"AD12", DIK_RBRACKET, 35, SDL_SCANCODE_RIGHTBRACKET},
    {"RTRN", DIK_RETURN, 36, SDL_SCANCODE_RETURN},
    {"LCTL", DIK_LCONTROL, 37, SDL_SCANCODE_LCTRL},
    {"AC01", DIK_A, 38, SDL_SCANCODE_A},
    {"AC02", DIK_S, 39, SDL_SCANCODE_S},
    {"AC03", DIK_D, 40, SDL_SCANCODE_D},
    {"AC04", DIK_F, 41, SDL_SCANCODE_F},
    {"AC05", DIK_G, 42, SDL_SCANCODE_G},
    {"AC06", DIK_H, 43, SDL_SCANCODE_H},
    {"AC07", DIK_J, 44, SDL_SCANCODE_J},
    {"AC08", DIK_K, 45, SDL_SCANCODE_K},
    {"AC09", DIK_L, 46, SDL_SCANCODE_L},
    {"AC10", DIK_SEMICOLON, 47, SDL_SCANCODE_SEMICOLON},
    {"AC11", DIK_APOSTROPHE, 48, SDL_SCANCODE_APOSTROPHE},
    {"TLDE", DIK_GRAVE, 49, SDL_SCANCODE_GRAVE},
    {"LFSH", DIK_LSHIFT, 50, SDL_SCANCODE_LSHIFT},
    {"BKSL", DIK_BACKSLASH, 51, SDL_SCANCODE_BACKSLASH},
    {"AC12", DIK_BACKSLASH, 0, SDL_SCANCODE_NONUSHASH},
    {"AB01", DIK_Z, 52, SDL_SCANCODE_Z},
    {"AB02", DIK_X, 53, SDL_SCANCODE_X},
    {"AB03", DIK_C, 54, SDL_SCANCODE_C},
    {"AB04", DIK_V, 55, SDL_SCANCODE_V},
    {"AB05", DIK_B, 56, SDL_SCANCODE_B},
    {"AB06", DIK_N, 57, SDL_SCANCODE_N},
    {"AB07", DIK_M, 58, SDL_SCANCODE_M},
    {"AB08", DIK_COMMA, 59, SDL_SCANCODE_COMMA},
    {"AB09", DIK_PERIOD, 60, SDL_SCANCODE_PERIOD},
    {"AB10", DIK_SLASH, 61, SDL_SCANCODE_SLASH},
    {"RTSH", DIK_RSHIFT, 62, SDL_SCANCODE_RSHIFT},
    {"KPMU", DIK_MULTIPLY, 63, SDL_SCANCODE_KP_MULTIPLY},
    {"LALT", DIK_LMENU, 64, SDL_SCANCODE_LALT},
    {"SPCE", DIK_SPACE, 65, SDL_SCANCODE_SPACE},
    {"CAPS", DIK_CAPITAL, 66, SDL_SCANCODE_CAPSLOCK},
    {"FK01", DIK_F1, 67, SDL_SCANCODE_F1},
    {"FK02", DIK_F2, 68, SDL_SCANCODE_F2},
    {"FK03", DIK_F3, 69, SDL_SCANCODE_F3},
    {"FK04", DIK_F4, 70, SDL_SCANCODE_F4},
    {"FK05", DIK_F5, 71, SDL_SCANCODE_F5},
    {"FK06", DIK_F6, 72, SDL_SCANCODE_F6},
    {"FK07", DIK_F7, 73, SDL_SCANCODE_F7},
    {"FK08", DIK_F8, 74, SDL_SCANCODE_F8},
    {"FK09", DIK_F9, 75, SDL_SCANCODE_F9},
    {"FK10", DIK_F10, 76, SDL_SCANCODE_F10},
    {"NMLK", DIK_NUMLOCK, 77, SDL_SCANCODE_NUMLOCKCLEAR},
    {"SCLK", DIK_SCROLL, 78, SDL_SCANCODE_SCROLLLOCK},
    {"KP7", DIK_NUMPAD7, 79, SDL_SCANCODE_KP_7},
    {"KP8", DIK_NUMPAD8, 80, SDL_SCANCODE_KP_8},
    {"KP9", DIK_NUMPAD9, 81, SDL_SCANCODE_KP_9},
    {"KPSU", DIK_SUBTRACT, 82, SDL_SCANCODE_KP_MINUS},
    {"KP4", DIK_NUMPAD4, 83, SDL_SCANCODE_KP_4},
    {"KP5", DIK_NUMPAD5, 84, SDL_SCANCODE_KP_5},
    {"KP6", DIK_NUMPAD6, 85, SDL_SCANCODE_KP_6},
    {"KPAD", DIK_ADD, 86, SDL_SCANCODE_KP_PLUS},
    {"KP1", DIK_NUMPAD1, 87, SDL_SCANCODE_KP_1},
    {"KP2", DIK_NUMPAD2, 88, SDL_SCANCODE_KP_2},
    {"KP3", DIK_NUMPAD3, 89, SDL_SCANCODE_KP_3},
    {"KP0", DIK_NUMPAD0, 90, SDL_SCANCODE_KP_0},
    {"KPDL", DIK_DECIMAL, 91, SDL_SCANCODE_KP_PERIOD},
    {"LSGT", DIK_OEM_102, 94, SDL_SCANCODE_NONUSBACKSLASH},
    {"FK11", DIK_F11, 95, SDL_SCANCODE_F11},
    {"FK12", DIK_F12, 96, SDL_SCANCODE_F12},
    {"KPEN", DIK_NUMPADENTER, 104, SDL_SCANCODE_KP_ENTER},
    {"RCTL", DIK_RCONTROL, 105, SDL_SCANCODE_RCTRL},
    {"KPDV", DIK_DIVIDE, 106, SDL_SCANCODE_KP_DIVIDE},
    {"PRSC", DIK_SYSRQ, 107, SDL_SCANCODE_PRINTSCREEN},
    {"SYRQ", DIK_SYSRQ, 0, SDL_SCANCODE_SYSREQ},
    {"RALT", DIK_RMENU, 108, SDL_SCANCODE_RALT},
    {"HOME", DIK_HOME, 110, SDL_SCANCODE_HOME},
    {"UP", DIK_UP, 111, SDL_SCANCODE_UP},
    {"PGUP", DIK_PRIOR, 112, SDL_SCANCODE_PAGEUP},
    {"LEFT", DIK_LEFT, 113, SDL_SCANCODE_LEFT},
    {"RGHT", DIK_RIGHT, 114, SDL_SCANCODE_RIGHT},
    {"END", DIK_END, 115, SDL_SCANCODE_END},
    {"DOWN", DIK_DOWN, 116, SDL_SCANCODE_DOWN},
    {"PGDN", DIK_NEXT, 117, SDL_SCANCODE_PAGEDOWN},
    {"INS", DIK_INSERT, 118, SDL_SCANCODE_INSERT},
    {"DELE", DIK_DELETE, 119, SDL_SCANCODE_DELETE},
    {"KPEQ", DIK_NUMPADEQUALS, 125, SDL_SCANCODE_KP_EQUALS},
    {"PAUS", DIK_PAUSE, 127, SDL_SCANCODE_PAUSE},
    {"BRK", DIK_PAUSE, 0, SDL_SCANCODE_PAUSE},
    {"I129", DIK_NUMPADCOMMA, 129, SDL_SCANCODE_KP_COMMA},
    {"LWIN", DIK_LWIN, 133, SDL_SCANCODE_LGUI},
    {"RWIN", DIK_RWIN, 134, SDL_SCANCODE_RGUI},
    {"COMP", DIK_APPS, 135, SDL_SCANCODE_APPLICATION},
    {"MENU", DIK_APPS, 0, SDL_SCANCODE_MENU},
};

BYTE CodeForName(const char (&name)[XkbKeyNameLength])
{
    for (const KeyPlace& place : keyPlaces) {
        if (std::strncmp(place.name, name, XkbKeyNameLength) == 0) return place.dik;
    }
    return 0;
}

}  // namespace

// The layer's own X connection for the keyboard, opened at the first read. The map from keycodes to
// places is built then, and again whenever the server announces a new keyboard, keycodes or layout.
class XKeyboard {
public:
    void Snapshot(BYTE (&keys)[256])
    {
        std::memset(keys, 0, sizeof(keys));
        if (!Open()) return;
        char down[32];
        XQueryKeymap(display.get(), down);
        // The round trip has brought in every announcement the server made before it.
        if (KeyboardChanged()) MapKeycodes();
        for (int keycode = 0; keycode < 256; ++keycode) {
            if ((down[keycode / 8] >> (keycode % 8)) & 1) {
                if (codes[keycode]) keys[codes[keycode]] = 0x80;
            }
        }
    }

private:
    struct DisplayCloser {
        void operator()(Display* display) const { XCloseDisplay(display); }
    };

    bool Open()
    {
        if (display) return true;
        if (failed) return false;
        display.reset(XOpenDisplay(nullptr));
        if (!display) {
            failed = true;
            std::fprintf(stderr, "DirectInput: no X display; the keyboard reads as no keys held\n");
            return false;
        }
        int opcode = 0, eventBase = 0, errorBase = 0;
        int major = XkbMajorVersion, minor = XkbMinorVersion;
        if (XkbQueryExtension(display.get(), &opcode, &eventBase, &errorBase, &major, &minor)) {
            xkbEventType = eventBase;
            const unsigned int changes = XkbNewKeyboardNotifyMask | XkbNamesNotifyMask;
            XkbSelectEvents(display.get(), XkbUseCoreKbd, changes, changes);
        } else {
            std::fprintf(stderr, "DirectInput: the X server has no XKB; keys are read by evdev keycode\n");
        }
        MapKeycodes();
        return true;
    }

    // Takes the queued announcements; true when one of them changed the keyboard.
    bool KeyboardChanged()
    {
        bool changed = false;
        while (XEventsQueued(display.get(), QueuedAlready) > 0) {
            XEvent event;
            XNextEvent(display.get(), &event);
            // Only keyboard announcements are selected; a core one comes to every client.
            if (event.type == xkbEventType) changed = true;
            if (event.type == MappingNotify && event.xmapping.request != MappingPointer) changed = true;
        }
        return changed;
    }

    void MapKeycodes()
    {
        std::memset(codes, 0, sizeof(codes));
        XkbDescPtr keyboard = xkbEventType >= 0 ? XkbGetMap(display.get(), 0, XkbUseCoreKbd) : nullptr;
        if (keyboard && XkbGetNames(display.get(), XkbKeyNamesMask, keyboard) == Success && keyboard->names &&
            keyboard->names->keys) {
            for (int keycode = keyboard->min_key_code; keycode <= keyboard->max_key_code; ++keycode) {
                codes[keycode] = CodeForName(keyboard->names->keys[keycode].name);
            }
        } else {
            for (const KeyPlace& place : keyPlaces) {
                if (place.evdevCode) codes[place.evdevCode] = place.dik;
            }
        }
        if (keyboard) XkbFreeKeyboard(keyboard, 0, True);
    }

    std::unique_ptr<Display, DisplayCloser> display;
    bool failed = false;
    int xkbEventType = -1;  // the XKB extension's event code on this connection; -1 without XKB
    BYTE codes[256] = {};
};

void XKeyboardCloser::operator()(XKeyboard* keyboard) const
{
    delete keyboard;
}

namespace {

// Before any window exists the keyboard is read from X, as tests without a window expect.
bool VideoIsX11()
{
    const char* driver = SDL_WasInit(SDL_INIT_VIDEO) ? SDL_GetCurrentVideoDriver() : nullptr;
    return !driver || std::strcmp(driver, "x11") == 0;
}

// SDL clears its key state when the game's window loses the keyboard; the focus check says so too.
void SnapshotSdlKeys(BYTE (&keys)[256])
{
    std::memset(keys, 0, sizeof(keys));
    if (!SDL_GetKeyboardFocus()) return;
    int count = 0;
    const Uint8* down = SDL_GetKeyboardState(&count);
    for (const KeyPlace& place : keyPlaces) {
        if (place.scancode < count && down[place.scancode]) keys[place.dik] = 0x80;
    }
}

}  // namespace
}  // namespace layer::sdl2

void layer::backend::ReadKeyboard(BYTE (&keys)[256])
{
    if (sdl2::VideoIsX11()) {
        auto& keyboard = sdl2::State().keyboard;
        if (!keyboard) keyboard.reset(new sdl2::XKeyboard);
        keyboard->Snapshot(keys);
    } else {
        sdl2::SnapshotSdlKeys(keys);
    }
}
