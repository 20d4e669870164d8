// The six faces of an axis-aligned box with one corner at the local origin, in the current colour.
#pragma once

// Faces in the order z = 0, x = width, z = depth, x = 0, y = height, y = 0, each its own quad.
void DrawBoxFaces(float width, float height, float depth);
