// What a game must do for the window that drives it.
#pragma once

class IGame {
public:
    virtual bool Init() = 0;
    virtual void Update(float seconds) = 0;
    virtual void Shutdown() = 0;
    virtual void Resize(int width, int height) = 0;
    // The entry point deletes the game through this interface, so the destructor must be virtual.
    virtual ~IGame() = default;
};
