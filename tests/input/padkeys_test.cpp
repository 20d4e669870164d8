#include "input/padkeys.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

const DWORD centred = 0xFFFFFFFFu;

// The five bound keys as a word, in the bindings' order: R L space = -.
std::string HeldKeys(const BYTE (&keys)[256])
{
    std::string held;
    for (int code : {DIK_RIGHT, DIK_LEFT, DIK_SPACE, DIK_EQUALS, DIK_MINUS})
        held += keys[code] & 0x80 ? '1' : '.';
    return held;
}

TEST(PadKeys, EachControlHoldsItsKeyAndNothingElse)
{
    const struct {
        const char* what;
        LONG stickX;
        DWORD hat;
        int button;        // -1 for none
        const char* held;  // R L space = -
    } cases[] = {
        {"at rest", 0, centred, -1, "....."},
        {"centred hat reported as 65535", 0, 0xFFFF, -1, "....."},
        {"D-pad right", 0, 9000, -1, "1...."},
        {"D-pad up-right", 0, 4500, -1, "1...."},
        {"D-pad down-right", 0, 13500, -1, "1...."},
        {"D-pad left", 0, 27000, -1, ".1..."},
        {"D-pad up-left", 0, 31500, -1, ".1..."},
        {"D-pad down-left", 0, 22500, -1, ".1..."},
        {"D-pad up", 0, 0, -1, "....."},
        {"D-pad down", 0, 18000, -1, "....."},
        {"hat out of range", 0, 36000, -1, "....."},
        {"stick resting off centre", 120, centred, -1, "....."},
        {"stick at half travel right", 500, centred, -1, "....."},
        {"stick past half right", 501, centred, -1, "1...."},
        {"stick at half travel left", -500, centred, -1, "....."},
        {"stick past half left", -501, centred, -1, ".1..."},
        {"garbage stick far right", INT32_MAX, centred, -1, "1...."},
        {"garbage stick far left", INT32_MIN, centred, -1, ".1..."},
        {"D-pad right and stick left, as both arrows", -900, 9000, -1, "11..."},
        {"south button", 0, centred, 0, "..1.."},
        {"east button", 0, centred, 1, "....."},
        {"left shoulder", 0, centred, 4, "....1"},
        {"right shoulder", 0, centred, 5, "...1."},
        {"start", 0, centred, 7, "....."},
    };
    for (const auto& c : cases) {
        DIJOYSTATE2 pad{};
        pad.lX = c.stickX;
        for (DWORD& hat : pad.rgdwPOV) hat = centred;
        pad.rgdwPOV[0] = c.hat;
        if (c.button >= 0) pad.rgbButtons[c.button] = 0x80;
        BYTE keys[256] = {};
        HoldPadKeys(pad, keys);
        EXPECT_EQ(HeldKeys(keys), c.held) << c.what;
    }
}

TEST(PadKeys, KeysTheKeyboardHoldsStayHeld)
{
    DIJOYSTATE2 pad{};
    pad.rgdwPOV[0] = centred;
    BYTE keys[256] = {};
    keys[DIK_LEFT] = 0x80;
    keys[DIK_ESCAPE] = 0x80;
    HoldPadKeys(pad, keys);
    EXPECT_EQ(HeldKeys(keys), ".1...");
    EXPECT_EQ(keys[DIK_ESCAPE], 0x80);
}

}  // namespace
