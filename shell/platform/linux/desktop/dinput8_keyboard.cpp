// The desktop backend's keyboard: the global X key state, read with XQueryKeymap on a connection of
// its own, so held keys read as down with or without focus.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "shell/platform/linux/backend.h"
#include "shell/platform/linux/dinput8.h"
#include "shell/platform/linux/resets.h"

namespace {

struct KeysymCode {
    KeySym keysym;
    BYTE dik;
};

// Every keysym that may sit on a key of the main keyboard, the navigation block, the arrows or the
// keypad, with the code of that key's position.
const KeysymCode keysymCodes[] = {
    {XK_Escape, DIK_ESCAPE},
    {XK_1, DIK_1},
    {XK_2, DIK_2},
    {XK_3, DIK_3},
    {XK_4, DIK_4},
    {XK_5, DIK_5},
    {XK_6, DIK_6},
    {XK_7, DIK_7},
    {XK_8, DIK_8},
    {XK_9, DIK_9},
    {XK_0, DIK_0},
    {XK_minus, DIK_MINUS},
    {XK_equal, DIK_EQUALS},
    {XK_BackSpace, DIK_BACK},
    {XK_Tab, DIK_TAB},
    {XK_ISO_Left_Tab, DIK_TAB},
    {XK_q, DIK_Q},
    {XK_w, DIK_W},
    {XK_e, DIK_E},
    {XK_r, DIK_R},
    {XK_t, DIK_T},
    {XK_y, DIK_Y},
    {XK_u, DIK_U},
    {XK_i, DIK_I},
    {XK_o, DIK_O},
    {XK_p, DIK_P},
    {XK_bracketleft, DIK_LBRACKET},
    {XK_bracketright, DIK_RBRACKET},
    {XK_Return, DIK_RETURN},
    {XK_Control_L, DIK_LCONTROL},
    {XK_a, DIK_A},
    {XK_s, DIK_S},
    {XK_d, DIK_D},
    {XK_f, DIK_F},
    {XK_g, DIK_G},
    {XK_h, DIK_H},
    {XK_j, DIK_J},
    {XK_k, DIK_K},
    {XK_l, DIK_L},
    {XK_semicolon, DIK_SEMICOLON},
    {XK_apostrophe, DIK_APOSTROPHE},
    {XK_grave, DIK_GRAVE},
    {XK_Shift_L, DIK_LSHIFT},
    {XK_backslash, DIK_BACKSLASH},
    {XK_z, DIK_Z},
    {XK_x, DIK_X},
    {XK_c, DIK_C},
    {XK_v, DIK_V},
    {XK_b, DIK_B},
    {XK_n, DIK_N},
    {XK_m, DIK_M},
    {XK_comma, DIK_COMMA},
    {XK_period, DIK_PERIOD},
    {XK_slash, DIK_SLASH},
    {XK_Shift_R, DIK_RSHIFT},
    {XK_KP_Multiply, DIK_MULTIPLY},
    {XK_Alt_L, DIK_LMENU},
    {XK_Meta_L, DIK_LMENU},
    {XK_space, DIK_SPACE},
    {XK_Caps_Lock, DIK_CAPITAL},
    {XK_F1, DIK_F1},
    {XK_F2, DIK_F2},
    {XK_F3, DIK_F3},
    {XK_F4, DIK_F4},
    {XK_F5, DIK_F5},
    {XK_F6, DIK_F6},
    {XK_F7, DIK_F7},
    {XK_F8, DIK_F8},
    {XK_F9, DIK_F9},
    {XK_F10, DIK_F10},
    {XK_Num_Lock, DIK_NUMLOCK},
    {XK_Scroll_Lock, DIK_SCROLL},
    {XK_KP_7, DIK_NUMPAD7},
    {XK_KP_Home, DIK_NUMPAD7},
    {XK_KP_8, DIK_NUMPAD8},
    {XK_KP_Up, DIK_NUMPAD8},
    {XK_KP_9, DIK_NUMPAD9},
    {XK_KP_Prior, DIK_NUMPAD9},
    {XK_KP_Subtract, DIK_SUBTRACT},
    {XK_KP_4, DIK_NUMPAD4},
    {XK_KP_Left, DIK_NUMPAD4},
    {XK_KP_5, DIK_NUMPAD5},
    {XK_KP_Begin, DIK_NUMPAD5},
    {XK_KP_6, DIK_NUMPAD6},
    {XK_KP_Right, DIK_NUMPAD6},
    {XK_KP_Add, DIK_ADD},
    {XK_KP_1, DIK_NUMPAD1},
    {XK_KP_End, DIK_NUMPAD1},
    {XK_KP_2, DIK_NUMPAD2},
    {XK_KP_Down, DIK_NUMPAD2},
    {XK_KP_3, DIK_NUMPAD3},
    {XK_KP_Next, DIK_NUMPAD3},
    {XK_KP_0, DIK_NUMPAD0},
    {XK_KP_Insert, DIK_NUMPAD0},
    {XK_KP_Decimal, DIK_DECIMAL},
    {XK_KP_Delete, DIK_DECIMAL},
    {XK_less, DIK_OEM_102},
    {XK_F11, DIK_F11},
    {XK_F12, DIK_F12},
    {XK_KP_Equal, DIK_NUMPADEQUALS},
    {XK_KP_Enter, DIK_NUMPADENTER},
    {XK_Control_R, DIK_RCONTROL},
    {XK_KP_Separator, DIK_NUMPADCOMMA},
    {XK_KP_Divide, DIK_DIVIDE},
    {XK_Print, DIK_SYSRQ},
    {XK_Sys_Req, DIK_SYSRQ},
    {XK_Alt_R, DIK_RMENU},
    {XK_Meta_R, DIK_RMENU},
    {XK_ISO_Level3_Shift, DIK_RMENU},
    {XK_Pause, DIK_PAUSE},
    {XK_Break, DIK_PAUSE},
    {XK_Home, DIK_HOME},
    {XK_Up, DIK_UP},
    {XK_Prior, DIK_PRIOR},
    {XK_Left, DIK_LEFT},
    {XK_Right, DIK_RIGHT},
    {XK_End, DIK_END},
    {XK_Down, DIK_DOWN},
    {XK_Next, DIK_NEXT},
    {XK_Insert, DIK_INSERT},
    {XK_Delete, DIK_DELETE},
    {XK_Super_L, DIK_LWIN},
    {XK_Super_R, DIK_RWIN},
    {XK_Menu, DIK_APPS},
};

BYTE CodeForKeysym(KeySym keysym)
{
    // A layout may put the capital letter first on a key; the key is the same.
    KeySym lower = keysym;
    KeySym upper = keysym;
    XConvertCase(keysym, &lower, &upper);
    for (const KeysymCode& entry : keysymCodes) {
        if (entry.keysym == lower) return entry.dik;
    }
    return 0;
}

// The layer's own X connection for the keyboard, opened at the first read. A key's code is decided
// by the first of its keysyms (unshifted first) that names a known key, so "," stays the comma key
// although another key carries "<" shifted.
class XKeyboard {
public:
    void Snapshot(BYTE (&keys)[256])
    {
        std::memset(keys, 0, sizeof(keys));
        if (!Open()) return;
        char down[32];
        XQueryKeymap(display.get(), down);
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
        MapKeycodes();
        return true;
    }

    void MapKeycodes()
    {
        int minKeycode = 0;
        int maxKeycode = 0;
        XDisplayKeycodes(display.get(), &minKeycode, &maxKeycode);
        int perKeycode = 0;
        const int count = maxKeycode - minKeycode + 1;
        KeySym* keysyms =
            XGetKeyboardMapping(display.get(), static_cast<KeyCode>(minKeycode), count, &perKeycode);
        if (!keysyms) return;
        for (int i = 0; i < count; ++i) {
            for (int level = 0; level < perKeycode; ++level) {
                const KeySym keysym = keysyms[i * perKeycode + level];
                if (keysym == NoSymbol) continue;
                if (const BYTE code = CodeForKeysym(keysym)) {
                    codes[minKeycode + i] = code;
                    break;
                }
            }
        }
        XFree(keysyms);
    }

    std::unique_ptr<Display, DisplayCloser> display;
    bool failed = false;
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
