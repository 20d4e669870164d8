// Under our own Windows API the layer's message-box sink takes the boxes instead of showing them.
#include "tools/dibcheck/boxrecorder.h"

#include <utility>

#include "shell/platform/winapi/messageboxsink.h"
#include "shell/platform/platform.h"

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
    layer::SetMessageBoxSink(RecordBox);
}

std::vector<std::string> TakeRecordedBoxes()
{
    return std::exchange(recorded, {});
}
