#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "shell/platform/winapi/testseam/testseam.h"
#include "shell/platform/platform.h"
#include "tests/support/privatedisplay.h"

// clang-format off
// Xlib after GoogleTest, whose headers its macros (None, Bool) would break.
#include <X11/Xlib.h>
// clang-format on

namespace {

// Releases what a test made even when an expectation fails half-way.
struct Made {
    IDirectInput8A* input = nullptr;
    IDirectInputDevice8A* keyboard = nullptr;
    IDirectInputDevice8A* mouse = nullptr;
    ~Made()
    {
        if (keyboard) keyboard->Release();
        if (mouse) mouse->Release();
        if (input) input->Release();
    }
};

IDirectInput8A* CreateInput()
{
    void* out = nullptr;
    EXPECT_EQ(
        DirectInput8Create(GetModuleHandleA(nullptr), DIRECTINPUT_VERSION, IID_IDirectInput8A, &out, nullptr),
        DI_OK);
    return static_cast<IDirectInput8A*>(out);
}

// A keyboard set up the way the game sets it up.
void SetUpKeyboard(Made& made)
{
    made.input = CreateInput();
    ASSERT_NE(made.input, nullptr);
    ASSERT_EQ(made.input->CreateDevice(GUID_SysKeyboard, &made.keyboard, nullptr), DI_OK);
    ASSERT_EQ(made.keyboard->SetDataFormat(&c_dfDIKeyboard), DI_OK);
    ASSERT_EQ(made.keyboard->SetCooperativeLevel(nullptr, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND), DI_OK);
    ASSERT_EQ(made.keyboard->Acquire(), DI_OK);
}

class Dinput8Test : public ::testing::Test {
protected:
    void TearDown() override { testseam::UseRealKeyboard(); }
};

TEST_F(Dinput8Test, FailedCreatesLeaveNoObjectBehind)
{
    const GUID unknown = {0x6F1D2B62, 0xD5A0, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
    HINSTANCE module = GetModuleHandleA(nullptr);
    const struct {
        const char* what;
        HINSTANCE instance;
        DWORD version;
        const GUID* iid;
        HRESULT expected;
    } cases[] = {
        {"no module", nullptr, 0x0800, &IID_IDirectInput8A, DIERR_INVALIDPARAM},
        {"older version", module, 0x0700, &IID_IDirectInput8A, DIERR_OLDDIRECTINPUTVERSION},
        {"newer version", module, 0x0801, &IID_IDirectInput8A, DIERR_BETADIRECTINPUTVERSION},
        {"other interface", module, 0x0800, &unknown, DIERR_NOINTERFACE},
    };
    for (const auto& c : cases) {
        void* out = reinterpret_cast<void*>(0x1);
        EXPECT_EQ(DirectInput8Create(c.instance, c.version, *c.iid, &out, nullptr), c.expected) << c.what;
        EXPECT_EQ(out, nullptr) << c.what << ": a failed create must not leave a stale interface";
    }

    Made made;
    made.input = CreateInput();
    ASSERT_NE(made.input, nullptr);
    IDirectInputDevice8A* device = reinterpret_cast<IDirectInputDevice8A*>(0x1);
    EXPECT_EQ(made.input->CreateDevice(unknown, &device, nullptr), DIERR_DEVICENOTREG);
    EXPECT_EQ(device, nullptr);
}

TEST_F(Dinput8Test, OnlyBackgroundSharingIsOffered)
{
    Made made;
    made.input = CreateInput();
    ASSERT_NE(made.input, nullptr);
    ASSERT_EQ(made.input->CreateDevice(GUID_SysKeyboard, &made.keyboard, nullptr), DI_OK);
    HWND window = reinterpret_cast<HWND>(0x10);
    const struct {
        HWND window;
        DWORD flags;
        HRESULT expected;
    } cases[] = {
        {nullptr, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND, DI_OK},
        {nullptr, DISCL_NONEXCLUSIVE, DIERR_INVALIDPARAM},
        {nullptr, DISCL_EXCLUSIVE | DISCL_NONEXCLUSIVE | DISCL_BACKGROUND, DIERR_INVALIDPARAM},
        {nullptr, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND, E_HANDLE},
        {window, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND, DIERR_UNSUPPORTED},
        {window, DISCL_EXCLUSIVE | DISCL_BACKGROUND, DIERR_UNSUPPORTED},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(made.keyboard->SetCooperativeLevel(c.window, c.flags), c.expected) << "flags " << c.flags;
    }
}

TEST_F(Dinput8Test, KeyboardReadsOnlyWhenAcquiredWithItsOwnFormatAndSize)
{
    Made made;
    made.input = CreateInput();
    ASSERT_NE(made.input, nullptr);
    ASSERT_EQ(made.input->CreateDevice(GUID_SysKeyboard, &made.keyboard, nullptr), DI_OK);
    uint8_t snapshot[256] = {};
    snapshot[DIK_SPACE] = 0x80;
    testseam::SetKeyboardSnapshot(snapshot);
    uint8_t keys[256] = {};

    EXPECT_EQ(made.keyboard->Acquire(), DIERR_INVALIDPARAM) << "no data format yet";
    EXPECT_EQ(made.keyboard->SetDataFormat(&c_dfDIMouse2), DIERR_INVALIDPARAM);
    ASSERT_EQ(made.keyboard->SetDataFormat(&c_dfDIKeyboard), DI_OK);
    EXPECT_EQ(made.keyboard->GetDeviceState(sizeof(keys), keys), DIERR_NOTACQUIRED);
    EXPECT_EQ(made.keyboard->Acquire(), DI_OK);
    EXPECT_EQ(made.keyboard->Acquire(), S_FALSE) << "a second acquire has no effect";
    EXPECT_EQ(made.keyboard->SetDataFormat(&c_dfDIKeyboard), DIERR_ACQUIRED);
    EXPECT_EQ(made.keyboard->GetDeviceState(255, keys), DIERR_INVALIDPARAM);
    EXPECT_EQ(made.keyboard->GetDeviceState(sizeof(keys), nullptr), DIERR_INVALIDPARAM);
    EXPECT_EQ(keys[DIK_SPACE], 0) << "a refused read must not write the buffer";

    ASSERT_EQ(made.keyboard->GetDeviceState(sizeof(keys), keys), DI_OK);
    EXPECT_EQ(std::memcmp(keys, snapshot, sizeof(keys)), 0);
    EXPECT_EQ(made.keyboard->Unacquire(), DI_OK);
    EXPECT_EQ(made.keyboard->Unacquire(), DI_NOEFFECT);
    EXPECT_EQ(made.keyboard->GetDeviceState(sizeof(keys), keys), DIERR_NOTACQUIRED);
}

TEST_F(Dinput8Test, LostKeyboardFailsEveryReadUntilAcquiredAgainAndLeavesTheMouse)
{
    Made made;
    SetUpKeyboard(made);
    ASSERT_EQ(made.input->CreateDevice(GUID_SysMouse, &made.mouse, nullptr), DI_OK);
    ASSERT_EQ(made.mouse->SetDataFormat(&c_dfDIMouse2), DI_OK);
    ASSERT_EQ(made.mouse->Acquire(), DI_OK);
    uint8_t snapshot[256] = {};
    snapshot[DIK_RIGHT] = 0x80;
    testseam::SetKeyboardSnapshot(snapshot);
    uint8_t keys[256] = {};

    testseam::LoseKeyboard();
    EXPECT_EQ(made.keyboard->GetDeviceState(sizeof(keys), keys), DIERR_INPUTLOST);
    EXPECT_EQ(made.mouse->Acquire(), S_FALSE);
    DIMOUSESTATE2 mouse;
    std::memset(&mouse, 0xA5, sizeof(mouse));
    EXPECT_EQ(made.mouse->GetDeviceState(sizeof(mouse), &mouse), DI_OK)
        << "losing the keyboard leaves the mouse";
    const DIMOUSESTATE2 still = {};
    EXPECT_EQ(std::memcmp(&mouse, &still, sizeof(mouse)), 0) << "the mouse always reads as still";
    EXPECT_EQ(made.keyboard->GetDeviceState(sizeof(keys), keys), DIERR_INPUTLOST)
        << "the loss lasts until the keyboard itself is acquired";
    EXPECT_EQ(keys[DIK_RIGHT], 0);

    EXPECT_EQ(made.keyboard->Acquire(), DI_OK);
    ASSERT_EQ(made.keyboard->GetDeviceState(sizeof(keys), keys), DI_OK);
    EXPECT_EQ(keys[DIK_RIGHT], 0x80);
}

// Real key presses on the shared X server: these run alone (see CMakeLists.txt).
class Dinput8RealKeysTest : public Dinput8Test {
protected:
    void SetUp() override
    {
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X display";
        if (std::system("command -v xdotool >/dev/null 2>&1") != 0) GTEST_SKIP() << "needs xdotool";
        testseam::UseRealKeyboard();
    }

    static void Xdotool(const std::string& action, const std::string& key)
    {
        ASSERT_EQ(std::system(("xdotool " + action + " " + key).c_str()), 0) << action << " " << key;
    }

    // The snapshot once it has settled on the wanted state of one code, or the last one read.
    static void ReadUntil(IDirectInputDevice8A* keyboard, int code, bool down, uint8_t (&keys)[256])
    {
        for (int attempt = 0; attempt < 100; ++attempt) {
            ASSERT_EQ(keyboard->GetDeviceState(sizeof(keys), keys), DI_OK);
            if (((keys[code] & 0x80) != 0) == down) return;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
};

TEST_F(Dinput8RealKeysTest, HeldKeySetsItsCodeAndReleaseClearsIt)
{
    Made made;
    SetUpKeyboard(made);
    struct Case {
        const char* keysym;
        int code;
    };
    const Case cases[] = {
        {"Right", DIK_RIGHT},
        {"Left", DIK_LEFT},
        {"space", DIK_SPACE},
        {"equal", DIK_EQUALS},
        {"minus", DIK_MINUS},
        {"Up", DIK_UP},
        {"Escape", DIK_ESCAPE},
        {"a", DIK_A},
        {"m", DIK_M},
        {"1", DIK_1},
        {"0", DIK_0},
        {"comma", DIK_COMMA},
        {"slash", DIK_SLASH},
        {"Return", DIK_RETURN},
        {"BackSpace", DIK_BACK},
        {"Shift_L", DIK_LSHIFT},
        {"Control_L", DIK_LCONTROL},
        {"F1", DIK_F1},
        {"F12", DIK_F12},
        {"Home", DIK_HOME},
        {"Delete", DIK_DELETE},
        {"KP_Home", DIK_NUMPAD7},
        {"KP_Insert", DIK_NUMPAD0},
        {"KP_Add", DIK_ADD},
        {"KP_Enter", DIK_NUMPADENTER},
        {"KP_Divide", DIK_DIVIDE},
    };
    uint8_t keys[256];
    // The first read opens the layer's X connection. Until some client stays connected, an X server
    // started for the tests resets when xdotool disconnects, forgetting the key it was holding.
    ASSERT_EQ(made.keyboard->GetDeviceState(sizeof(keys), keys), DI_OK);
    for (const Case& c : cases) {
        Xdotool("keydown", c.keysym);
        ReadUntil(made.keyboard, c.code, true, keys);
        Xdotool("keyup", c.keysym);
        EXPECT_EQ(keys[c.code], 0x80) << c.keysym << " held should read as down";
        int down = 0;
        for (uint8_t k : keys) down += (k & 0x80) ? 1 : 0;
        EXPECT_EQ(down, 1) << c.keysym << " held should be the only key down";
        ReadUntil(made.keyboard, c.code, false, keys);
        EXPECT_EQ(keys[c.code], 0) << c.keysym << " released should read as up";
    }
}

TEST_F(Dinput8RealKeysTest, SnapshotSeesSeveralHeldKeysAtOnce)
{
    Made made;
    SetUpKeyboard(made);
    uint8_t keys[256];
    ASSERT_EQ(made.keyboard->GetDeviceState(sizeof(keys), keys), DI_OK);
    Xdotool("keydown", "Right");
    Xdotool("keydown", "space");
    ReadUntil(made.keyboard, DIK_SPACE, true, keys);
    Xdotool("keyup", "space");
    Xdotool("keyup", "Right");
    EXPECT_EQ(keys[DIK_RIGHT], 0x80);
    EXPECT_EQ(keys[DIK_SPACE], 0x80);
    EXPECT_EQ(keys[DIK_LEFT], 0);
}

// Keys held by keycode on an X server of the test's own, whose layout the test changes.
class Dinput8RealKeysLayoutTest : public Dinput8RealKeysTest {
protected:
    void SetUp() override
    {
        Dinput8RealKeysTest::SetUp();
        if (IsSkipped()) return;
        if (std::system("command -v Xvfb setxkbmap >/dev/null 2>&1") != 0)
            GTEST_SKIP() << "needs Xvfb, setxkbmap";
        ASSERT_FALSE(server.Name().empty()) << "Xvfb did not start";
        client = XOpenDisplay(server.Name().c_str());
        ASSERT_NE(client, nullptr);
        sharedDisplay = std::getenv("DISPLAY");
        setenv("DISPLAY", server.Name().c_str(), 1);
        testseam::ResetLayer();  // the keyboard connects again, to this server, at its next read
    }

    void TearDown() override
    {
        testseam::ResetLayer();  // the connections go before the server does
        if (client) XCloseDisplay(client);
        if (!sharedDisplay.empty()) setenv("DISPLAY", sharedDisplay.c_str(), 1);
    }

    static std::vector<int> HeldCodes(const uint8_t (&keys)[256])
    {
        std::vector<int> held;
        for (int code = 0; code < 256; ++code) {
            if (keys[code]) held.push_back(code);
        }
        return held;
    }

    PrivateDisplay server;
    Display* client = nullptr;
    std::string sharedDisplay;
};

TEST_F(Dinput8RealKeysLayoutTest, KeysReadByTheirPlaceOnEveryLayoutAndTheMapFollowsTheServer)
{
    // The keyboard first connects under a German layout, which types "=" on Shift+0 and only dead
    // keys right of 0; French types A on the Q key and "-" on the 6 key. The codes stay the places'.
    ASSERT_EQ(std::system("setxkbmap de"), 0);
    Made made;
    SetUpKeyboard(made);
    uint8_t keys[256];
    auto expectHeldAs = [&](int keycode, int code, const std::string& what) {
        Xdotool("keydown", std::to_string(keycode));
        ReadUntil(made.keyboard, code, true, keys);
        Xdotool("keyup", std::to_string(keycode));
        EXPECT_EQ(HeldCodes(keys), std::vector<int>{code}) << what << ", keycode " << keycode;
        ReadUntil(made.keyboard, code, false, keys);
    };
    const struct {
        int keycode;  // evdev keycodes
        int code;
    } places[] = {
        {21, DIK_EQUALS}, {20, DIK_MINUS},  {19, DIK_0}, {15, DIK_6},       {65, DIK_SPACE},
        {113, DIK_LEFT},  {114, DIK_RIGHT}, {24, DIK_Q}, {94, DIK_OEM_102}, {108, DIK_RMENU},
    };
    for (const char* layout : {"de", "fr", "us"}) {
        ASSERT_EQ(std::system((std::string("setxkbmap ") + layout).c_str()), 0) << layout;
        for (const auto& place : places) expectHeldAs(place.keycode, place.code, layout);
    }
    // Other keycodes put the arrows elsewhere: the map follows the server's announcement, and back.
    ASSERT_EQ(std::system("setxkbmap -keycodes xfree86 us"), 0);
    expectHeldAs(102, DIK_RIGHT, "xfree86 keycodes");
    expectHeldAs(114, DIK_PAUSE, "xfree86 keycodes");
    ASSERT_EQ(std::system("setxkbmap -keycodes evdev us"), 0);
    expectHeldAs(114, DIK_RIGHT, "evdev keycodes again");
}

}  // namespace
