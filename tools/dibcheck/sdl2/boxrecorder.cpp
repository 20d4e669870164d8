// On Linux our layer's recording switch takes the boxes instead of showing them.
#include "tools/dibcheck/boxrecorder.h"

#include "shell/platform/sdl2/testing.h"

void StartRecordingBoxes()
{
    testseam::RecordMessageBoxes(true);
}

std::vector<std::string> TakeRecordedBoxes()
{
    std::vector<std::string> texts;
    for (const testseam::MessageBoxRecord& box : testseam::TakeMessageBoxes()) texts.push_back(box.text);
    return texts;
}
