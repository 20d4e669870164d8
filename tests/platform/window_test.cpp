#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "shell/platform/winapi/testseam/testseam.h"

namespace {

std::vector<UINT> gSeen;

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    gSeen.push_back(message);
    if (message == WM_CREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        EXPECT_EQ(create->lpCreateParams, reinterpret_cast<void*>(0x1234));
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

HWND MakeWindow(const char* className, int extraBytes)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = RecordingProc;
    windowClass.cbWndExtra = extraBytes;
    windowClass.lpszClassName = className;
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, className, "layer test", WS_OVERLAPPEDWINDOW, 0, 0, 320, 200, nullptr, nullptr,
                           nullptr, reinterpret_cast<void*>(0x1234));
}

TEST(LayerWindow, CreationSendsCreateThenSizeBeforeReturning)
{
    gSeen.clear();
    HWND hwnd = MakeWindow("CreateOrder", 8);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(gSeen, (std::vector<UINT>{WM_CREATE, WM_SIZE}));
    RECT client;
    ASSERT_TRUE(GetClientRect(hwnd, &client));
    EXPECT_EQ(client.right, 320);
    EXPECT_EQ(client.bottom, 200);
    EXPECT_EQ(CreateWindowExA(0, "NoSuchClass", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr),
              nullptr);
}

TEST(LayerWindow, PeekTakesExactlyOneMessageAndQuitComesLast)
{
    HWND hwnd = MakeWindow("Queue", 8);
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

TEST(LayerWindow, ExtraBytesHoldAWholePointerAndRefuseSlotsOutsideThem)
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

TEST(LayerWindow, DefaultProcessingOfCloseDestroysTheWindow)
{
    HWND hwnd = MakeWindow("DefaultClose", 8);
    SendMessageA(hwnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_FALSE(PostMessageA(hwnd, WM_USER, 0, 0));
}

TEST(LayerWindow, DefaultProcessingTurnsAltF4IntoACloseRequest)
{
    HWND hwnd = MakeWindow("AltF4", 8);
    gSeen.clear();
    MSG msg = {};
    msg.hwnd = hwnd;
    msg.message = WM_SYSKEYDOWN;
    msg.wParam = VK_F4;
    msg.lParam = 1 | (1 << 29);
    EXPECT_TRUE(TranslateMessage(&msg));
    DispatchMessageA(&msg);
    EXPECT_EQ(gSeen, (std::vector<UINT>{WM_SYSKEYDOWN, WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY}));
    EXPECT_FALSE(IsWindow(hwnd));
}

TEST(LayerDialogs, MessageBoxesAreRecordedAndFormattingIsBounded)
{
    testseam::RecordMessageBoxes(true);
    EXPECT_EQ(MessageBoxA(nullptr, "SetPixelFormat failed", "Error", MB_OK), IDOK);
    auto boxes = testseam::TakeMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "SetPixelFormat failed");
    EXPECT_EQ(boxes[0].caption, "Error");

    char buffer[1100];
    std::memset(buffer, 'x', sizeof(buffer));
    std::string longName(2000, 'n');
    int written = wsprintfA(buffer, "Failed to open DIB file %s.\n", longName.c_str());
    EXPECT_EQ(written, 1023) << "wsprintfA writes at most 1024 bytes with the terminator";
    EXPECT_EQ(buffer[1023], '\0');
    EXPECT_EQ(buffer[1024], 'x');
    EXPECT_EQ(wsprintfA(buffer, "%.5s|%d", "abcdefgh", 42), 8);
    EXPECT_STREQ(buffer, "abcde|42");
}

}  // namespace

TEST(LayerWindow, ResetLeavesTheLayerAsAFreshProcessHasIt)
{
    HWND hwnd = MakeWindow("Reset", 8);
    ASSERT_NE(hwnd, nullptr);
    PostMessageA(hwnd, WM_USER, 0, 0);
    testseam::RecordMessageBoxes(true);
    testseam::SetClock(1234);

    testseam::ResetLayer();

    EXPECT_FALSE(IsWindow(hwnd)) << "windows are destroyed";
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) << "nothing stays queued";
    EXPECT_NE(MakeWindow("Reset", 8), nullptr) << "classes are forgotten, so the name is free again";
    EXPECT_NE(timeGetTime(), 1234u) << "the clock is the real one again";
    testseam::ResetLayer();
}

// A test program never shows a modal box: one that would wait for a click ends at once, naming it.
TEST(LayerDialogsDeathTest, AnUnrecordedBoxEndsTheTestProgramNamingTheBox)
{
    testseam::ResetLayer();
    EXPECT_DEATH(MessageBoxA(nullptr, "Out of memory.", "Error", MB_OK), "real message box \"Error: Out of memory");
}
