#pragma once

#include <GL/gl.h>

// The steps of the main routine, so that tests and benchmarks set the game up
// exactly as main does, in this order: AssignSettingsDefaults,
// OpenGameWindow, LoadTextures, BuildScene, StartTimers. Main alone registers
// the callbacks and enters the event loop.

void AssignSettingsDefaults();
// Initialises the toolkit and opens the game's window (1024 x 768 at 0, 0,
// RGB, double-buffered, with a depth buffer, titled "KOV Arbeit"), whose GL
// context is then current.
void OpenGameWindow(int* pArgc, char** argv);
void LoadTextures();  // the six texture slots; needs the window's GL context
void BuildScene();    // links the node tree, hands out sizes and textures, places the ball
void StartTimers();

// The frame loop's toolkit callbacks.
void OnDisplay();
void OnReshape(int w, int h);
void OnIdle();

// glEnable(cap) when bOn, else glDisable(cap).
void SetEnabled(GLenum cap, bool bOn);

// One frame without the buffer swap: the simulation step and the whole picture.
void DrawFrame();
