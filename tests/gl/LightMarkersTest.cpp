// The light markers in whole frames against real OpenGL: each lands where its
// light projects, in its colour, through the switches, a tilt and an orbit; a
// ring marks the selected light; frames without them stay the same.
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>

#include "app/Game.h"
#include "app/Globals.h"
#include "app/LightMarkers.h"
#include "app/Settings.h"
#include "support/GlTest.h"

namespace {

using CPixels = std::vector<GLubyte>;
using CColor = std::array<int, 3>;

CPixels Draw(bool bMarkers) {
    g_bShowLightMarkers = bMarkers;
    DrawFrame();
    g_bShowLightMarkers = false;
    return ReadWindow();
}

// The pixels within iRadius of where v projects in this frame that are colour c with the markers only.
int Marked(const CPixels& With, const CPixels& Without, const CVector3& v, int iRadius, const CColor& c) {
    GLdouble dModelview[16], dProjection[16], x, y, z;
    GLint iViewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, dModelview);
    glGetDoublev(GL_PROJECTION_MATRIX, dProjection);
    glGetIntegerv(GL_VIEWPORT, iViewport);
    gluProject(v.x, v.y, v.z, dModelview, dProjection, iViewport, &x, &y, &z);
    const auto Is = [&c](const CPixels& p, int k) {
        return std::abs(p[k] - c[0]) <= 1 && std::abs(p[k + 1] - c[1]) <= 1 && std::abs(p[k + 2] - c[2]) <= 1;
    };
    int iCount = 0;
    for (int j = int(y) - iRadius; j <= int(y) + iRadius; ++j) {
        for (int i = int(x) - iRadius; i <= int(x) + iRadius; ++i) {
            const int k = (std::clamp(j, 0, 767) * 1024 + std::clamp(i, 0, 1023)) * 3;
            iCount += Is(With, k) && !Is(Without, k) ? 1 : 0;
        }
    }
    return iCount;
}

}  // namespace

TEST(LightMarkers, LandOnTheirLightsInTheirColoursWhateverTheSwitchesAndLeaveTheRestAsFound) {
    static CManualClock s_Clock;  // the ball stays put on the tilted board
    g_FrameTimer = g_FpsTimer = CTimer(s_Clock);
    g_Scene.RootNode.Children.clear();
    g_Box.Children.clear();
    g_Board.Children.clear();
    LoadTextures();
    BuildScene();
    OnReshape(1024, 768);
    // The selected light and the cut-off of each view, and what else it changes.
    const std::tuple<int, float, std::function<void(CSettings&)>> VIEWS[] = {
        {0, 30.0f, [](CSettings&) {}},
        {1, 45.0f, [](CSettings& s) { s.bLighting = s.bTextures = s.bDepthTest = false; }},
        {2, 120.0f, [](CSettings& s) { s.bWireframe = true; s.bSmooth = s.bPerspective = false; }},
        {3, 180.0f, [](CSettings&) { g_Board.fTiltZ = g_Board.fTiltX = 2.0f; g_ViewControl.iAngleX = 128; }},
    };
    const CVector3 vFrom = MakeVector(1.0f, 2.0f, 1.0f) / std::sqrt(6.0f);  // the directional light's, unit
    for (const auto& [iLight, fCutoff, fnSetUp] : VIEWS) {
        SCOPED_TRACE(iLight);
        AssignSettingsDefaults();
        g_ViewControl = CViewControl();
        CSettings& s = GetSettings();
        SetVector(&s.vLightPos[0], 1.0f, 3.0f, -2.0f);
        SetVector(&s.vLightPos[1], -3.0f, 1.5f, 3.0f);
        SetVector(&s.vLightPos[2], -4.0f, 1.5f, -1.0f);
        s.vLightPos[3] = vFrom;
        s.bLightOn[1] = s.bLightOn[3] = true;  // the green light stays off
        s.iLight = iLight;
        s.fSpotCutoff = fCutoff;
        fnSetUp(s);
        Draw(false);  // the state every frame finds
        const CPixels Without = Draw(false), With = Draw(true);
        EXPECT_TRUE(Draw(false) == Without) << "the markers left a trace";
        // Solid while on, hollow while off.
        EXPECT_GT(Marked(With, Without, s.vLightPos[0], 1, {255, 255, 255}), 0);
        EXPECT_GT(Marked(With, Without, s.vLightPos[1], 1, {128, 0, 0}), 0);
        EXPECT_EQ(Marked(With, Without, s.vLightPos[2], 1, {0, 128, 0}), 0);
        EXPECT_GT(Marked(With, Without, s.vLightPos[2], 12, {0, 128, 0}), 0);
        // The arrow from the directional light's side towards the board's centre.
        EXPECT_GT(Marked(With, Without, 2.0f * vFrom, 1, {128, 128, 128}), 0);
        EXPECT_GT(Marked(With, Without, 4.0f * vFrom, 1, {128, 128, 128}), 0);
        // The spot's direction down to the floor; the cone's edge there below 90 degrees only.
        EXPECT_GT(Marked(With, Without, MakeVector(1.0f, 1.5f, -2.0f), 1, {255, 255, 255}), 0);
        const float fRadius = 3.0f * std::tan(std::min(fCutoff, 45.0f) * 3.14159265f / 180.0f);
        for (const auto& [fX, fZ] : {std::make_pair(fRadius, 0.0f), {0.0f, -fRadius}}) {
            const CVector3 vEdge = MakeVector(1.0f + fX, 0.0f, -2.0f + fZ);
            EXPECT_EQ(Marked(With, Without, vEdge, 1, {255, 255, 255}) > 0, fCutoff < 90.0f) << fX << ", " << fZ;
        }
        // The ring: round the selected light, for the directional one round its arrow's tail.
        for (int i = 0; i < LIGHT_COUNT; ++i) {
            const CVector3 vRing = i == 3 ? 5.0f * vFrom : s.vLightPos[i];
            EXPECT_EQ(Marked(With, Without, vRing, 25, {255, 217, 77}) > 0, i == iLight) << "ring " << i;
        }
    }
    // What the tree leaves switched on stays so.
    for (const GLenum e : {GL_CULL_FACE, GL_LIGHTING, GL_TEXTURE_2D, GL_DEPTH_TEST}) {
        glEnable(e);
    }
    g_bShowLightMarkers = true;
    DrawLightMarkers();
    g_bShowLightMarkers = false;
    GLfloat fLineWidth = 0.0f;
    glGetFloatv(GL_LINE_WIDTH, &fLineWidth);
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE) && glIsEnabled(GL_LIGHTING) && glIsEnabled(GL_TEXTURE_2D) &&
                glIsEnabled(GL_DEPTH_TEST) && fLineWidth == 1.0f);
    glDisable(GL_CULL_FACE);
    g_FrameTimer = g_FpsTimer = CTimer();
}
