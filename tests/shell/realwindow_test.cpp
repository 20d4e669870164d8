// The window as the X server and a window manager see it.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "shell/platform/winapi/testseam/testseam.h"
#include "shell/shellglobals.h"
#include "shell/zarnwindow.h"
#include "tests/shell/doubles.h"
#include "tests/support/x11window.h"

namespace {

std::string XwininfoOutput(const char* title)
{
    std::string command = std::string("xwininfo -name '") + title + "' 2>&1";
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return output;
    char buffer[256];
    while (fgets(buffer, sizeof(buffer), pipe)) output += buffer;
    pclose(pipe);
    return output;
}

TEST(RealWindow, ShowsItsTitleAndClientSizeAndClosesOnAWindowManagerRequest)
{
    CallLog log;
    RecordingGame game(log);
    RecordingInput input(log);
    gInstance = GetModuleHandleA(nullptr);
    gInput = &input;
    ZarnWindow window(&game);

    std::string xwininfo;
    bool closeSent = false;
    game.onUpdate = [&](int frame) {
        if (frame == 3) xwininfo = XwininfoOutput("SkellanWindow");
        if (frame == 4) closeSent = RequestXWindowClose("SkellanWindow");
        if (frame > 2000) PostQuitMessage(0);  // the request never arrived: fail below, do not hang
    };
    window.Run();

    EXPECT_NE(xwininfo.find("Width: 800"), std::string::npos) << xwininfo;
    EXPECT_NE(xwininfo.find("Height: 600"), std::string::npos) << xwininfo;
    EXPECT_NE(xwininfo.find("Map State: IsViewable"), std::string::npos) << xwininfo;
    EXPECT_TRUE(closeSent);
    EXPECT_EQ(std::count(log.calls.begin(), log.calls.end(), "Shutdown"), 1);
    EXPECT_LT(log.frameSeconds.size(), 2000u);
    gInput = nullptr;
}

}  // namespace
