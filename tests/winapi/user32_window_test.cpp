// Windows, extra bytes, the queue and default processing. Windows sends many more messages than ours
// (non-client, position, activation): the tests watch only those the game handles.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "shell/platform/platform.h"
#include "tests/support/underwine.h"

namespace {

const std::vector<UINT> kWatched = {WM_CREATE,     WM_SIZE,       WM_CLOSE, WM_DESTROY,
                                    WM_SYSKEYDOWN, WM_SYSCOMMAND, WM_USER};
std::vector<UINT> gSeen;

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (std::find(kWatched.begin(), kWatched.end(), message) != kWatched.end()) gSeen.push_back(message);
    if (message == WM_CREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        EXPECT_EQ(create->lpCreateParams, reinterpret_cast<void*>(0x1234));
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// A window with the given client size, made as the game makes its own.
HWND MakeWindow(const char* className, int extraBytes)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = RecordingProc;
    windowClass.cbWndExtra = extraBytes;
    windowClass.lpszClassName = className;
    RegisterClassA(&windowClass);
    RECT frame = {0, 0, 320, 200};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    return CreateWindowExA(0, className, "layer test", WS_OVERLAPPEDWINDOW, 0, 0, frame.right - frame.left,
                           frame.bottom - frame.top, nullptr, nullptr, nullptr,
                           reinterpret_cast<void*>(0x1234));
}

// Dispatches every queued message, as the game's loop does.
void DispatchQueued()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

// Windows sends the first WM_SIZE of a window made hidden when it is first shown; ours sends it before
// CreateWindowExA returns. The game, which shows its window before its first frame, sees the same.
TEST(Window, CreationSendsCreateThenSizeByTheTimeTheWindowShows)
{
    gSeen.clear();
    HWND hwnd = MakeWindow("CreateOrder", 8);
    ASSERT_NE(hwnd, nullptr);
    ShowWindow(hwnd, SW_SHOWNORMAL);
    EXPECT_EQ(gSeen, (std::vector<UINT>{WM_CREATE, WM_SIZE}));
    RECT client;
    ASSERT_TRUE(GetClientRect(hwnd, &client));
    EXPECT_EQ(client.right, 320);
    EXPECT_EQ(client.bottom, 200);
    EXPECT_EQ(CreateWindowExA(0, "NoSuchClass", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr),
              nullptr);
}

TEST(Window, PeekTakesExactlyOneMessageAndQuitComesLast)
{
    HWND hwnd = MakeWindow("Queue", 8);
    DispatchQueued();
    PostQuitMessage(3);
    PostMessageA(hwnd, WM_USER, 1, 0);
    PostMessageA(hwnd, WM_USER, 2, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.wParam, 1u) << "a peek without removal leaves the message first";
    std::vector<std::pair<UINT, WPARAM>> taken;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        taken.emplace_back(msg.message, msg.wParam);
        if (msg.message == WM_QUIT) break;
    }
    std::vector<std::pair<UINT, WPARAM>> expected = {{WM_USER, 1}, {WM_USER, 2}, {WM_QUIT, 3}};
    EXPECT_EQ(taken, expected);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST(Window, ExtraBytesHoldAWholePointerAndRefuseSlotsOutsideThem)
{
    HWND wide = MakeWindow("PointerExtra", sizeof(void*));
    const LONG_PTR pointer = static_cast<LONG_PTR>(0x7ffd12345678LL);  // does not fit in 32 bits
    SetWindowLongPtrA(wide, 0, pointer);
    EXPECT_EQ(GetWindowLongPtrA(wide, 0), pointer);

    HWND narrow = MakeWindow("NarrowExtra", 4);
    EXPECT_EQ(SetWindowLongPtrA(narrow, 0, pointer), 0);
    EXPECT_EQ(GetWindowLongPtrA(narrow, 0), 0) << "a pointer must not be written past 4 extra bytes";
    EXPECT_EQ(GetWindowLongPtrA(wide, 4), 0);
    EXPECT_EQ(GetWindowLongPtrA(nullptr, 0), 0);
}

TEST(Window, DefaultProcessingOfCloseDestroysTheWindow)
{
    HWND hwnd = MakeWindow("DefaultClose", 8);
    SendMessageA(hwnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_FALSE(PostMessageA(hwnd, WM_USER, 0, 0));
}

TEST(Window, DefaultProcessingTurnsAltF4IntoACloseRequest)
{
    HWND hwnd = MakeWindow("AltF4", 8);
    DispatchQueued();
    gSeen.clear();
    MSG msg = {};
    msg.hwnd = hwnd;
    msg.message = WM_SYSKEYDOWN;
    msg.wParam = VK_F4;
    msg.lParam = 1 | (1 << 29);  // one press, with alt held
    EXPECT_TRUE(TranslateMessage(&msg));
    DispatchMessageA(&msg);
    DispatchQueued();
    EXPECT_EQ(gSeen, (std::vector<UINT>{WM_SYSKEYDOWN, WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY}));
    EXPECT_FALSE(IsWindow(hwnd));
}

TEST(Dialogs, FormattingIsBoundedAt1024Bytes)
{
    char buffer[1100];
    std::memset(buffer, 'x', sizeof(buffer));
    std::string longName(2000, 'n');
    int written = wsprintfA(buffer, "Failed to open DIB file %s.\n", longName.c_str());
    // Windows' documentation: the characters stored, not counting the terminator. Wine counts it.
    EXPECT_EQ(written, UnderWine() ? 1024 : 1023)
        << "wsprintfA writes at most 1024 bytes with the terminator";
    EXPECT_EQ(buffer[1023], '\0');
    EXPECT_EQ(buffer[1024], 'x');
    EXPECT_EQ(wsprintfA(buffer, "%.5s|%d", "abcdefgh", 42), 8);
    EXPECT_STREQ(buffer, "abcde|42");
}

}  // namespace
