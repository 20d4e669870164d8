// Test doubles for the shell: a game and an input device that record what the window asks of them.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "shell/igame.h"
#include "shell/iinput.h"

struct CallLog {
    std::vector<std::string> calls;
    std::vector<float> frameSeconds;
    std::vector<std::pair<int, int>> sizes;
    bool contextCurrentAtShutdown = true;
};

class RecordingGame : public IGame {
public:
    explicit RecordingGame(CallLog& log) : log_(log) {}
    bool Init() override
    {
        log_.calls.push_back("Init");
        return initResult;
    }
    void Update(float seconds) override
    {
        log_.calls.push_back("Update");
        log_.frameSeconds.push_back(seconds);
        if (onUpdate) onUpdate(static_cast<int>(log_.frameSeconds.size()));
    }
    void Shutdown() override;
    void Resize(int width, int height) override
    {
        log_.calls.push_back("Resize");
        log_.sizes.emplace_back(width, height);
    }

    bool initResult = true;
    std::function<void(int frame)> onUpdate;  // called after each frame is recorded, with its number

private:
    CallLog& log_;
};

class RecordingInput : public IInput {
public:
    explicit RecordingInput(CallLog& log) : log_(log) {}
    void Update() override { log_.calls.push_back("Input"); }
    bool InitInput() override { return true; }
    bool InitDevices() override { return true; }
    void Release() override {}
    bool IsMouseButtonDown(int) override { return false; }
    float GetMouseX() override { return 0; }
    float GetMouseY() override { return 0; }
    float GetMouseWheel() override { return 0; }

private:
    CallLog& log_;
};
