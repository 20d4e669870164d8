// What the SDL2 backend's window events (user32_events.cpp) tell the frame pacer behind SwapBuffers
// (opengl32.cpp).
#pragma once

namespace layer::sdl2 {

// The window is on another display, or a display was added, removed or turned.
void NoteDisplayChanged();
// The window is shown again after it was hidden or minimised.
void NoteWindowShown();

}  // namespace layer::sdl2
