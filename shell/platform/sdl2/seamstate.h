// The state behind testing.h, shared by the layer's service files. Not for game code or tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "shell/platform/sdl2/testing.h"

namespace testseam {

struct SeamState {
    bool clockSet = false;
    uint32_t clock = 0;
    bool recordMessageBoxes = false;
    std::vector<MessageBoxRecord> messageBoxes;
    bool recordSounds = false;
    std::vector<std::string> sounds;
    bool keyboardSet = false;
    uint8_t keys[256] = {};
    bool keyboardLost = false;
    bool recordInputCalls = false;
    std::vector<std::string> inputCalls;
    std::vector<std::string> failingInputCalls;
    bool swapPacing = true;
};

SeamState& State();

}  // namespace testseam
