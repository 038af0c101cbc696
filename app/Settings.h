#pragma once

#include "math/Vector.h"

constexpr int LIGHT_COUNT = 4;

// Everything the player can switch or nudge at run time, apart from the board
// tilt and the view. The record starts zeroed; the main routine assigns the
// defaults as its first act.
class CSettings {
public:
    int iSlices;
    int iStacks;
    bool bSmooth;
    bool bLocalViewer;
    bool bDepthTest;
    bool bTwoSided;
    bool bAmbient;
    bool bPerspective;
    bool bShowFps;
    bool bWireframe;
    bool bLighting;
    bool bTextures;
    float fAspect;
    float fSpotCutoff;
    float fSpotExponent;
    float fNear;
    float fFar;
    CVector3 vSpotDir;
    bool bLightOn[LIGHT_COUNT];
    CVector3 vLightPos[LIGHT_COUNT];
    int iLight;
};

// The one settings record. Readers call this afresh instead of keeping the reference.
CSettings& GetSettings();

// True when the depth test lets the nearest surface win: it is on, and the
// near plane lies before the far one. The other way round the depth range is
// inverted and the farthest surface wins, where the frame's shortcuts, which
// count on the nearest one, do not hold.
bool IsNearestShown(const CSettings& settings);
