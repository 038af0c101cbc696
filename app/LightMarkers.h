#pragma once

// The workbench's light markers, switched by F2: where each light is, in its
// colour, solid while it is on and hollow while off; the directional light as
// an arrow towards the board's centre; the spot's direction and the curve where
// its cone meets the floor; a ring round the light the light keys move.

extern bool g_bShowLightMarkers;

// Draws the markers when they are shown, over the scene, in world coordinates:
// the modelview matrix must hold the camera's view alone. Leaves the GL state
// as it found it.
void DrawLightMarkers();
