// The game: builds the world, runs its rules once per frame and draws it.
#pragma once

#include "shell/igame.h"

class ShaderApp : public IGame {
public:
    ShaderApp() = default;
    ~ShaderApp() override;  // releases the world objects at the end of the run

    bool Init() override;
    void Update(float seconds) override;
    void Shutdown() override;
    void Resize(int width, int height) override;
    virtual void SetupLighting();
    virtual void DrawScene();
    virtual void ResetGame();
    virtual void UpdateBricks();

    // The frame's parts, so that a benchmark can time the backdrop alone in the game's own frame.
    void BeginFrame();
    void DrawBackdrop();
    void EndFrame();
};
