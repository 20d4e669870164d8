// The game's window: an 800x600 client area with an OpenGL context, the one main loop, and the
// frame that drives input and game.
#pragma once

#include "shell/iwindow.h"
#include "shell/platform/platform.h"

class ZarnWindow : public IWindow {
public:
    explicit ZarnWindow(IGame* game);
    ~ZarnWindow() override;

    void Run() override;
    void Create() override;
    void Frame(float seconds) override;
    void Shutdown() override;
    void Resize(int width, int height) override;
    int ReservedA() override;
    int ReservedB() override;

    static LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    void InitOpenGL();
    // The one pixel format the game asks for; the tests' GL context asks for the same.
    static PIXELFORMATDESCRIPTOR PixelFormat();
    bool SetupPixelFormat();
    void SetProjection(int width, int height);

protected:
    HWND hwnd;
    HDC hdc;
    HGLRC ghrc;
    RECT clientRect;
    int width;
    int height;
    bool running;
    bool firstFrame;
    double currentTime;
    double previousTime;
    double deltaTime;

private:
    void IdlePass();
    void ReleaseContext();
};
