// A window that owns the rendering context, runs the main loop and drives the game.
#pragma once

#include "shell/igame.h"

class IWindow {
public:
    explicit IWindow(IGame* game) : game_(game) {}
    virtual ~IWindow() { game_ = nullptr; }

    virtual void Run() = 0;
    virtual void Create() = 0;
    virtual void Frame(float seconds) = 0;
    virtual void Shutdown() = 0;
    virtual void Resize(int width, int height) = 0;
    virtual int ReservedA() = 0;
    virtual int ReservedB() = 0;

    // The window reaches its game only through these, each checking that there is one.
    bool InitGame();
    void UpdateGame(float seconds);
    void ShutdownGame();
    void ResizeGame(int width, int height);

protected:
    IGame* game_;  // not owned: the entry point owns the game
};
