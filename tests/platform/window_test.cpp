// The test seam's side of windows and dialogs; the rest is in tests/winapi/user32_window_test.cpp.
#include <gtest/gtest.h>

#include "shell/platform/winapi/testseam/testseam.h"

namespace {

HWND MakeWindow(const char* className)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.cbWndExtra = 8;
    windowClass.lpszClassName = className;
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, className, "layer test", WS_OVERLAPPEDWINDOW, 0, 0, 320, 200, nullptr, nullptr,
                           nullptr, nullptr);
}

TEST(LayerDialogs, MessageBoxesAreRecorded)
{
    testseam::RecordMessageBoxes(true);
    EXPECT_EQ(MessageBoxA(nullptr, "SetPixelFormat failed", "Error", MB_OK), IDOK);
    auto boxes = testseam::TakeMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "SetPixelFormat failed");
    EXPECT_EQ(boxes[0].caption, "Error");
}

}  // namespace

TEST(LayerWindow, ResetLeavesTheLayerAsAFreshProcessHasIt)
{
    HWND hwnd = MakeWindow("Reset");
    ASSERT_NE(hwnd, nullptr);
    PostMessageA(hwnd, WM_USER, 0, 0);
    testseam::RecordMessageBoxes(true);
    testseam::SetClock(1234);

    testseam::ResetLayer();

    EXPECT_FALSE(IsWindow(hwnd)) << "windows are destroyed";
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) << "nothing stays queued";
    EXPECT_NE(MakeWindow("Reset"), nullptr) << "classes are forgotten, so the name is free again";
    EXPECT_NE(timeGetTime(), 1234u) << "the clock is the real one again";
    testseam::ResetLayer();
}

// A test program never shows a modal box: one that would wait for a click ends at once, naming it.
TEST(LayerDialogsDeathTest, AnUnrecordedBoxEndsTheTestProgramNamingTheBox)
{
    testseam::ResetLayer();
    EXPECT_DEATH(MessageBoxA(nullptr, "Out of memory.", "Error", MB_OK),
                 "real message box \"Error: Out of memory");
}
