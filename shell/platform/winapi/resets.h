// Puts each of the layer's services back as a fresh process has it, for tests (testseam::ResetLayer).
// Objects still live are released: windows destroyed, files closed, sections freed.
#pragma once

namespace layer {

void ResetWindows();
void ResetMessageQueue();
void ResetGdiObjects();

namespace backend {

void ResetGl();
void ResetKeyboard();
void ResetPads();
void ResetSound();
void ResetFiles();

}  // namespace backend
}  // namespace layer
