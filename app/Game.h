#pragma once

#include <GL/gl.h>

// The steps of the main routine that do not belong to the toolkit, so that
// tests and benchmarks set the game up exactly as main does, in this order:
// AssignSettingsDefaults, (window), LoadTextures, BuildScene, StartTimers.

void AssignSettingsDefaults();
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
