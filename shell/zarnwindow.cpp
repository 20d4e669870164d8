#include "shell/zarnwindow.h"

#include <cstdint>

#include "shell/gameassert.h"
#include "shell/platform/gl.h"
#include "shell/shellglobals.h"

namespace {

const char* const kClassName = "WindowClass";
const char* const kTitle = "SkellanWindow";
const DWORD kWindowStyle = WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
const DWORD kExtendedStyle = WS_EX_APPWINDOW | WS_EX_WINDOWEDGE;
const double kMillisecondsToSeconds = 0.001;

// The window's extra bytes hold the object's address, so they must fit a whole pointer.
const int kObjectSlot = 0;

double ReadClock()
{
    return static_cast<double>(timeGetTime());
}

}  // namespace

ZarnWindow::ZarnWindow(IGame* game) : IWindow(game)
{
    hwnd = nullptr;
    hdc = nullptr;
    ghrc = nullptr;
    width = 800;
    height = 600;
    currentTime = ReadClock();
    previousTime = ReadClock();
    deltaTime = 0.001;
    firstFrame = true;
    Create();
}

ZarnWindow::~ZarnWindow()
{
    // Later messages to the platform window reach only default processing.
    SetWindowLongPtrA(hwnd, kObjectSlot, 0);
}

void ZarnWindow::Create()
{
    running = false;

    WNDCLASSA wcex = {};
    wcex.style = CS_HREDRAW | CS_VREDRAW;
    wcex.lpfnWndProc = StaticWndProc;
    wcex.cbClsExtra = 0;
    wcex.cbWndExtra = sizeof(ZarnWindow*);
    wcex.hInstance = gInstance;
    wcex.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    wcex.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wcex.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<intptr_t>(COLOR_WINDOW + 1));
    wcex.lpszMenuName = nullptr;
    wcex.lpszClassName = kClassName;
    RegisterClassA(&wcex);

    RECT glwindow = {0, 0, width, height};
    AdjustWindowRect(&glwindow, kWindowStyle, FALSE);

    hwnd = CreateWindowExA(kExtendedStyle, kClassName, kTitle, kWindowStyle, 0, 0,
                           glwindow.right - glwindow.left, glwindow.bottom - glwindow.top, nullptr, nullptr,
                           gInstance, this);
    GAME_ASSERT(hwnd);

    ZarnWindow* pThis = reinterpret_cast<ZarnWindow*>(GetWindowLongPtrA(hwnd, kObjectSlot));
    GAME_ASSERT(pThis == this);

    InitOpenGL();
    InitGame();
}

LRESULT CALLBACK ZarnWindow::StaticWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* window = reinterpret_cast<ZarnWindow*>(GetWindowLongPtrA(hwnd, kObjectSlot));
    if (window) return window->WndProc(hwnd, message, wParam, lParam);
    if (message == WM_CREATE) {
        // The creation parameter is the object itself; from here on every message reaches it.
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, kObjectSlot, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT ZarnWindow::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
        case WM_SIZE:
            GetClientRect(window, &clientRect);
            Resize(clientRect.right - clientRect.left, clientRect.bottom - clientRect.top);
            return DefWindowProcA(window, message, wParam, lParam);
        case WM_CLOSE:
            // Not passed on: the platform window stays until the process ends.
            running = false;
            Shutdown();
            return 0;
        case WM_DEVICECHANGE:
            // A controller may have come or gone: the input object looks again at its next frame.
            gDevicesChanged = true;
            return DefWindowProcA(window, message, wParam, lParam);
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

void ZarnWindow::Run()
{
    ShowWindow(hwnd, SW_SHOWNORMAL);
    UpdateWindow(hwnd);
    SetFocus(hwnd);
    running = true;

    MSG msg;
    while (running) {
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) break;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        } else {
            IdlePass();
        }
    }
}

// A pass that found no message: measure the time since the last one and run a frame, except on
// the first, whose interval covers all of start-up.
void ZarnWindow::IdlePass()
{
    timeBeginPeriod(1);
    previousTime = currentTime;
    currentTime = ReadClock();
    // The readings are whole 32-bit clock values; their unsigned difference survives the clock's wrap.
    uint32_t elapsedMs = static_cast<uint32_t>(currentTime) - static_cast<uint32_t>(previousTime);
    deltaTime = static_cast<double>(elapsedMs) * kMillisecondsToSeconds;
    if (firstFrame) {
        firstFrame = false;
        return;
    }
    Frame(static_cast<float>(deltaTime));
}

void ZarnWindow::Frame(float seconds)
{
    gInput->Update();
    UpdateGame(seconds);
    SwapBuffers(hdc);
}

void ZarnWindow::Resize(int newWidth, int newHeight)
{
    SetProjection(newWidth, newHeight);
    ResizeGame(newWidth, newHeight);
}

void ZarnWindow::Shutdown()
{
    ReleaseContext();
    UnregisterClassA(kClassName, gInstance);
    PostQuitMessage(0);
    ShutdownGame();
}

int ZarnWindow::ReservedA()
{
    return -1;
}

int ZarnWindow::ReservedB()
{
    return -1;
}

void ZarnWindow::InitOpenGL()
{
    hdc = GetDC(hwnd);
    bool pixformatsuccess = SetupPixelFormat();
    GAME_ASSERT(pixformatsuccess);
    ghrc = wglCreateContext(hdc);
    GAME_ASSERT(ghrc);
    wglMakeCurrent(hdc, ghrc);
    SetProjection(width, height);
    glewInit();

    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    // These act on the default texture: no texture has been created yet.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
}

PIXELFORMATDESCRIPTOR ZarnWindow::PixelFormat()
{
    PIXELFORMATDESCRIPTOR pfd = {};
    pfd.nSize = sizeof(PIXELFORMATDESCRIPTOR);
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = 32;
    pfd.cDepthBits = 32;
    pfd.cAccumBits = 0;
    pfd.cStencilBits = 0;
    pfd.dwLayerMask = 0;
    return pfd;
}

bool ZarnWindow::SetupPixelFormat()
{
    PIXELFORMATDESCRIPTOR pfd = PixelFormat();
    int format = ChoosePixelFormat(hdc, &pfd);
    if (format == 0) {
        MessageBoxA(nullptr, "ChoosePixelFormat failed", "Error", MB_OK);
        return false;
    }
    if (!SetPixelFormat(hdc, format, &pfd)) {
        MessageBoxA(nullptr, "SetPixelFormat failed", "Error", MB_OK);
        return false;
    }
    return true;
}

void ZarnWindow::SetProjection(int newWidth, int newHeight)
{
    if (newHeight == 0) newHeight = 1;
    glViewport(0, 0, newWidth, newHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, static_cast<double>(newWidth) / static_cast<double>(newHeight), 1.0, 10000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

// Handles keep their released values afterwards; nothing uses them again.
void ZarnWindow::ReleaseContext()
{
    if (ghrc) {
        wglMakeCurrent(nullptr, nullptr);
        wglDeleteContext(ghrc);
    }
    if (hdc) ReleaseDC(hwnd, hdc);
}
