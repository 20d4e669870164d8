// Puts each of the neutral parts' services back as a fresh process has it, for tests
// (testseam::ResetLayer); a backend's own state has backend::Reset. Objects still live are released:
// windows destroyed, files closed, sections freed.
#pragma once

namespace layer {

void ResetWindows();
void ResetMessageQueue();
void ResetGdiObjects();
void ResetFiles();

}  // namespace layer
