// The SDL2 backend's keyboard: the global X key state, read with XQueryKeymap on a connection of
// its own, so held keys read as down with or without focus. DirectInput's codes name places on the
// keyboard, not characters, so each X keycode is known by its key's place (the server's XKB key
// name): the key right of 0 reads as DIK_EQUALS on every layout, though German types "=" on Shift+0.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

#include "shell/platform/winapi/backend.h"
#include "shell/platform/winapi/dinput8.h"
#include "shell/platform/winapi/resets.h"

namespace {

struct KeyPlace {
    char name[5];       // the XKB name of the key's place
    BYTE dik;           // DirectInput's code for that place
    uint8_t evdevCode;  // the place's keycode on a server with evdev keycodes; 0 where it has none
};

// The places of the main keyboard, the navigation block, the arrows and the keypad. Where keycode
// sets name a place differently, each name is listed.
const KeyPlace keyPlaces[] = {
    {"ESC", DIK_ESCAPE, 9},
    {"AE01", DIK_1, 10},
    {"AE02", DIK_2, 11},
    {"AE03", DIK_3, 12},
    {"AE04", DIK_4, 13},
    {"AE05", DIK_5, 14},
    {"AE06", DIK_6, 15},
    {"AE07", DIK_7, 16},
    {"AE08", DIK_8, 17},
    {"AE09", DIK_9, 18},
    {"AE10", DIK_0, 19},
    {"AE11", DIK_MINUS, 20},
    {"AE12", DIK_EQUALS, 21},
    {"BKSP", DIK_BACK, 22},
    {"TAB", DIK_TAB, 23},
    {"AD01", DIK_Q, 24},
    {"AD02", DIK_W, 25},
    {"AD03", DIK_E, 26},
    {"AD04", DIK_R, 27},
    {"AD05", DIK_T, 28},
    {"AD06", DIK_Y, 29},
    {"AD07", DIK_U, 30},
    {"AD08", DIK_I, 31},
    {"AD09", DIK_O, 32},
    {"AD10", DIK_P, 33},
    {"AD11", DIK_LBRACKET, 34},
    {"AD12", DIK_RBRACKET, 35},
    {"RTRN", DIK_RETURN, 36},
    {"LCTL", DIK_LCONTROL, 37},
    {"AC01", DIK_A, 38},
    {"AC02", DIK_S, 39},
    {"AC03", DIK_D, 40},
    {"AC04", DIK_F, 41},
    {"AC05", DIK_G, 42},
    {"AC06", DIK_H, 43},
    {"AC07", DIK_J, 44},
    {"AC08", DIK_K, 45},
    {"AC09", DIK_L, 46},
    {"AC10", DIK_SEMICOLON, 47},
    {"AC11", DIK_APOSTROPHE, 48},
    {"TLDE", DIK_GRAVE, 49},
    {"LFSH", DIK_LSHIFT, 50},
    {"BKSL", DIK_BACKSLASH, 51},
    {"AC12", DIK_BACKSLASH, 0},
    {"AB01", DIK_Z, 52},
    {"AB02", DIK_X, 53},
    {"AB03", DIK_C, 54},
    {"AB04", DIK_V, 55},
    {"AB05", DIK_B, 56},
    {"AB06", DIK_N, 57},
    {"AB07", DIK_M, 58},
    {"AB08", DIK_COMMA, 59},
    {"AB09", DIK_PERIOD, 60},
    {"AB10", DIK_SLASH, 61},
    {"RTSH", DIK_RSHIFT, 62},
    {"KPMU", DIK_MULTIPLY, 63},
    {"LALT", DIK_LMENU, 64},
    {"SPCE", DIK_SPACE, 65},
    {"CAPS", DIK_CAPITAL, 66},
    {"FK01", DIK_F1, 67},
    {"FK02", DIK_F2, 68},
    {"FK03", DIK_F3, 69},
    {"FK04", DIK_F4, 70},
    {"FK05", DIK_F5, 71},
    {"FK06", DIK_F6, 72},
    {"FK07", DIK_F7, 73},
    {"FK08", DIK_F8, 74},
    {"FK09", DIK_F9, 75},
    {"FK10", DIK_F10, 76},
    {"NMLK", DIK_NUMLOCK, 77},
    {"SCLK", DIK_SCROLL, 78},
    {"KP7", DIK_NUMPAD7, 79},
    {"KP8", DIK_NUMPAD8, 80},
    {"KP9", DIK_NUMPAD9, 81},
    {"KPSU", DIK_SUBTRACT, 82},
    {"KP4", DIK_NUMPAD4, 83},
    {"KP5", DIK_NUMPAD5, 84},
    {"KP6", DIK_NUMPAD6, 85},
    {"KPAD", DIK_ADD, 86},
    {"KP1", DIK_NUMPAD1, 87},
    {"KP2", DIK_NUMPAD2, 88},
    {"KP3", DIK_NUMPAD3, 89},
    {"KP0", DIK_NUMPAD0, 90},
    {"KPDL", DIK_DECIMAL, 91},
    {"LSGT", DIK_OEM_102, 94},
    {"FK11", DIK_F11, 95},
    {"FK12", DIK_F12, 96},
    {"KPEN", DIK_NUMPADENTER, 104},
    {"RCTL", DIK_RCONTROL, 105},
    {"KPDV", DIK_DIVIDE, 106},
    {"PRSC", DIK_SYSRQ, 107},
    {"SYRQ", DIK_SYSRQ, 0},
    {"RALT", DIK_RMENU, 108},
    {"HOME", DIK_HOME, 110},
    {"UP", DIK_UP, 111},
    {"PGUP", DIK_PRIOR, 112},
    {"LEFT", DIK_LEFT, 113},
    {"RGHT", DIK_RIGHT, 114},
    {"END", DIK_END, 115},
    {"DOWN", DIK_DOWN, 116},
    {"PGDN", DIK_NEXT, 117},
    {"INS", DIK_INSERT, 118},
    {"DELE", DIK_DELETE, 119},
    {"KPEQ", DIK_NUMPADEQUALS, 125},
    {"PAUS", DIK_PAUSE, 127},
    {"BRK", DIK_PAUSE, 0},
    {"I129", DIK_NUMPADCOMMA, 129},
    {"LWIN", DIK_LWIN, 133},
    {"RWIN", DIK_RWIN, 134},
    {"COMP", DIK_APPS, 135},
    {"MENU", DIK_APPS, 0},
};

BYTE CodeForName(const char (&name)[XkbKeyNameLength])
{
    for (const KeyPlace& place : keyPlaces) {
        if (std::strncmp(place.name, name, XkbKeyNameLength) == 0) return place.dik;
    }
    return 0;
}

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

XKeyboard keyboard;

}  // namespace

namespace layer::backend {

void ReadKeyboard(BYTE (&keys)[256])
{
    keyboard.Snapshot(keys);
}

void ResetKeyboard()
{
    keyboard = {};
}

}  // namespace layer::backend
