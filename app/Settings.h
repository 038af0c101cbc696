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
