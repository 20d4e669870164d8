// On Windows the loader's message boxes are real dialogs. A hook on this thread sees each dialog as it
// is about to be activated, takes the message box's text and closes it with OK at once, so dibcheck
// never waits for a click.
#include "tools/dibcheck/boxrecorder.h"

#include <cstring>

#include "shell/platform/platform.h"

namespace {

// The dialog class of message boxes, and the control that holds their text.
const char kDialogClass[] = "#32770";
const int kBoxTextControl = 0xFFFF;

HHOOK hook = nullptr;
std::vector<std::string> texts;

LRESULT CALLBACK WatchForBoxes(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE) {
        HWND dialog = reinterpret_cast<HWND>(wParam);
        char className[sizeof kDialogClass + 1] = "";
        if (GetClassNameA(dialog, className, sizeof className) > 0 &&
            std::strcmp(className, kDialogClass) == 0) {
            char text[1024] = "";
            GetDlgItemTextA(dialog, kBoxTextControl, text, sizeof text);
            texts.push_back(text);
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        }
    }
    return CallNextHookEx(hook, code, wParam, lParam);
}

}  // namespace

void StartRecordingBoxes()
{
    if (!hook) hook = SetWindowsHookExA(WH_CBT, WatchForBoxes, nullptr, GetCurrentThreadId());
}

std::vector<std::string> TakeRecordedBoxes()
{
    std::vector<std::string> taken;
    taken.swap(texts);
    return taken;
}
