#pragma once

// Counts the frame, renews the frame rate every half second and, when the
// switch is on, writes "FPS: %i" in the top right corner. Leaves texturing,
// depth test and lighting off; the next frame switches them again.
void DrawHud();
