// Keeps the loader's message boxes from showing while dibcheck loads a file, and hands their texts
// back so that dibcheck can print them. Each platform has its own way; the build picks the file.
#pragma once

#include <string>
#include <vector>

void StartRecordingBoxes();
std::vector<std::string> TakeRecordedBoxes();
