// Under our own Windows API a message-box service of ours, installed in the layer's hooks, takes the
// boxes instead of showing them.
#include "tools/dibcheck/boxrecorder.h"

#include <utility>

#include "shell/platform/platform.h"
#include "shell/platform/winapi/hooks.h"

namespace {

std::vector<std::string> recorded;

int RecordBox(HWND, LPCSTR text, LPCSTR, UINT)
{
    recorded.emplace_back(text);
    return IDOK;  // the loader goes on as after a click
}

}  // namespace

void StartRecordingBoxes()
{
    layer::Hooks hooks = layer::Services();
    hooks.messageBox = RecordBox;
    layer::SetHooks(hooks);
}

std::vector<std::string> TakeRecordedBoxes()
{
    return std::exchange(recorded, {});
}
