// The light markers against real OpenGL, in whole frames: each lands where its
// light projects, in the light's colour, whatever the switches, the tilt and
// the view; the selected light has the ring; the picture without them stays
// the same to the pixel.
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "app/Game.h"
#include "app/Globals.h"
#include "app/LightMarkers.h"
#include "app/Settings.h"
#include "ball/BallMotion.h"
#include "support/GlTest.h"

namespace {

using CColor = std::array<int, 3>;
const CColor WHITE = {255, 255, 255}, RED = {128, 0, 0}, GREEN = {0, 128, 0}, GREY = {128, 128, 128};
const CColor YELLOW = {255, 217, 77};

struct SFrame {
    std::vector<GLubyte> Pixels;  // bottom row first
    GLdouble dModelview[16], dProjection[16];
    GLint iViewport[4];

    std::array<int, 2> Project(const CVector3& v) const {
        GLdouble x, y, z;
        gluProject(v.x, v.y, v.z, dModelview, dProjection, iViewport, &x, &y, &z);
        return {int(std::floor(x)), int(std::floor(y))};
    }
    CColor At(int x, int y) const {
        const GLubyte* p = &Pixels[(y * 1024 + x) * 3];
        return {p[0], p[1], p[2]};
    }
};

SFrame Draw(bool bMarkers) {
    g_bShowLightMarkers = bMarkers;
    SFrame frame;
    DrawFrame();
    frame.Pixels = ReadWindow();
    glGetDoublev(GL_MODELVIEW_MATRIX, frame.dModelview);
    glGetDoublev(GL_PROJECTION_MATRIX, frame.dProjection);
    glGetIntegerv(GL_VIEWPORT, frame.iViewport);
    g_bShowLightMarkers = false;
    return frame;
}

bool Near(const CColor& a, const CColor& b) {
    return std::abs(a[0] - b[0]) <= 1 && std::abs(a[1] - b[1]) <= 1 && std::abs(a[2] - b[2]) <= 1;
}

// The pixels within iRadius of where v projects that the markers made colour c.
int Marked(const SFrame& With, const SFrame& Without, const CVector3& v, int iRadius, const CColor& c) {
    const auto [x0, y0] = With.Project(v);
    int iCount = 0;
    for (int y = std::max(0, y0 - iRadius); y <= std::min(767, y0 + iRadius); ++y) {
        for (int x = std::max(0, x0 - iRadius); x <= std::min(1023, x0 + iRadius); ++x) {
            iCount += Near(With.At(x, y), c) && !Near(Without.At(x, y), c) ? 1 : 0;
        }
    }
    return iCount;
}

}  // namespace

TEST(LightMarkers, LandOnTheirLightsInTheirColoursWhateverTheSwitchesAndLeaveThePictureWithoutThemAlone) {
    static CManualClock s_Clock;  // the ball stays put
    g_FrameTimer = g_FpsTimer = CTimer(s_Clock);
    g_Scene.RootNode.Children.clear();
    g_Box.Children.clear();
    g_Board.Children.clear();
    LoadTextures();
    BuildScene();
    OnReshape(1024, 768);
    const struct {
        std::string sName;
        int iLight;
        float fCutoff;
        std::function<void(CSettings&)> fnSetUp;
    } ROWS[] = {
        {"start view", 0, 30.0f, [](CSettings&) {}},
        {"unlit, untextured, no depth test", 1, 45.0f,
         [](CSettings& s) { s.bLighting = s.bTextures = s.bDepthTest = false; }},
        {"wire-frame, flat, orthographic, refused cut-off", 2, 120.0f,
         [](CSettings& s) { s.bWireframe = true; s.bSmooth = s.bPerspective = false; }},
        {"tilted, orbited, no cone", 3, 180.0f, [](CSettings&) {
             g_Board.fTiltZ = 2.0f;
             g_Board.fTiltX = -2.0f;
             g_ViewControl.iAngleX = 128;
             g_ViewControl.iAngleY = 200;
         }},
    };
    const CVector3 vFrom = MakeVector(1.0f, 2.0f, 1.0f);  // of the directional light, above the board
    const CVector3 vUnitFrom = vFrom / Length(vFrom);
    for (const auto& row : ROWS) {
        AssignSettingsDefaults();
        g_ViewControl = CViewControl();
        g_Board.fTiltZ = g_Board.fTiltX = 0.0f;
        CSettings& s = GetSettings();
        SetVector(&s.vLightPos[0], 1.0f, 3.0f, -2.0f);
        SetVector(&s.vLightPos[1], -3.0f, 1.5f, 3.0f);
        SetVector(&s.vLightPos[2], -4.0f, 1.5f, -1.0f);
        s.vLightPos[3] = vFrom;
        s.bLightOn[1] = s.bLightOn[3] = true;  // the white spot on, the green light off
        s.iLight = row.iLight;
        s.fSpotCutoff = row.fCutoff;
        row.fnSetUp(s);

        Draw(false);  // the state each frame finds, whatever the frame before
        const SFrame Without = Draw(false);
        const SFrame With = Draw(true);
        EXPECT_TRUE(Draw(false).Pixels == Without.Pixels) << row.sName << ": the markers left a trace";
        // Solid while on; hollow while off, its outline near by.
        EXPECT_GT(Marked(With, Without, s.vLightPos[0], 1, WHITE), 0) << row.sName;
        EXPECT_GT(Marked(With, Without, s.vLightPos[1], 1, RED), 0) << row.sName;
        const auto [x2, y2] = With.Project(s.vLightPos[2]);
        EXPECT_EQ(With.At(x2, y2), Without.At(x2, y2)) << row.sName << ": the light that is off is filled";
        EXPECT_GT(Marked(With, Without, s.vLightPos[2], 12, GREEN), 0) << row.sName;
        // The arrow lies on the line from its light's direction to the board's centre.
        for (const float fDistance : {2.0f, 4.0f}) {
            EXPECT_GT(Marked(With, Without, fDistance * vUnitFrom, 1, GREY), 0) << row.sName << " " << fDistance;
        }
        // The spot's direction down to the floor, and the cone's edge there: a
        // circle 3 * tan(cut-off) round the point below it, and none from 90 on.
        EXPECT_GT(Marked(With, Without, MakeVector(1.0f, 1.5f, -2.0f), 1, WHITE), 0) << row.sName;
        const bool bCone = row.fCutoff < 90.0f;
        const float fRadius = 3.0f * std::tan((bCone ? row.fCutoff : 45.0f) * 3.14159265f / 180.0f);
        for (const auto& [fX, fZ] : {std::make_pair(fRadius, 0.0f), {-fRadius, 0.0f}, {0.0f, fRadius}, {0.0f, -fRadius}}) {
            const int iMarked = Marked(With, Without, MakeVector(1.0f + fX, 0.0f, -2.0f + fZ), 1, WHITE);
            EXPECT_EQ(iMarked > 0, bCone) << row.sName << ": the cone's edge at " << fX << ", " << fZ;
        }
        // The ring round the selected light alone; round the directional light's arrow at its tail.
        for (int i = 0; i < LIGHT_COUNT; ++i) {
            const CVector3 vRing = i == 3 ? 5.0f * vUnitFrom : s.vLightPos[i];
            EXPECT_EQ(Marked(With, Without, vRing, 25, YELLOW) > 0, i == row.iLight) << row.sName << ": ring " << i;
        }
    }
    // The state as found, with the switches the tree may leave on.
    const std::vector<GLenum> STATE = {GL_LIGHTING, GL_TEXTURE_2D, GL_DEPTH_TEST, GL_CULL_FACE, GL_BLEND,
                                       GL_POLYGON_MODE, GL_LINE_WIDTH, GL_CURRENT_COLOR};
    const auto GetState = [&] {
        std::vector<GLfloat> Values;
        for (const GLenum eName : STATE) {
            GLfloat f[4] = {};
            glGetFloatv(eName, f);
            Values.insert(Values.end(), f, f + 4);
        }
        return Values;
    };
    glEnable(GL_CULL_FACE);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    const std::vector<GLfloat> Before = GetState();
    g_bShowLightMarkers = true;
    DrawLightMarkers();
    g_bShowLightMarkers = false;
    EXPECT_EQ(GetState(), Before);
    glDisable(GL_CULL_FACE);
    g_FrameTimer = g_FpsTimer = CTimer();
}
