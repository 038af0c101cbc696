#include <GL/gl.h>

#include <algorithm>
#include <vector>

#include <gtest/gtest.h>

#include "app/Game.h"
#include "app/Globals.h"
#include "app/Hud.h"
#include "app/Settings.h"

namespace {

// A millisecond clock that stands still until the test moves it.
class CManualClock : public IClockSource {
public:
    bool QueryFrequency(int64_t*) const override { return false; }
    int64_t QueryCounter() const override { return 0; }
    uint32_t GetTimeMs() const override { return dwTimeMs; }

    uint32_t dwTimeMs = 0;
};

CManualClock g_FpsClock;

struct SBox {
    int iLeft = 1 << 30, iBottom = 1 << 30, iRight = -1, iTop = -1;
    int iBluePixels = 0;
    int iOtherPixels = 0;  // neither background nor the text's blue
};

// The pixels of the back buffer, sorted into blue text and anything else.
SBox FindText(int iWidth, int iHeight) {
    std::vector<unsigned char> Pixels(static_cast<size_t>(iWidth) * iHeight * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, iWidth, iHeight, GL_RGB, GL_UNSIGNED_BYTE, Pixels.data());
    SBox box;
    for (int y = 0; y < iHeight; ++y) {
        for (int x = 0; x < iWidth; ++x) {
            const unsigned char* pRgb = &Pixels[(static_cast<size_t>(y) * iWidth + x) * 3];
            if (pRgb[0] == 0 && pRgb[1] == 0 && pRgb[2] == 0) {
                continue;
            }
            if (pRgb[0] != 0 || pRgb[1] != 0 || pRgb[2] != 255) {
                ++box.iOtherPixels;
                continue;
            }
            ++box.iBluePixels;
            box.iLeft = std::min(box.iLeft, x);
            box.iRight = std::max(box.iRight, x);
            box.iBottom = std::min(box.iBottom, y);
            box.iTop = std::max(box.iTop, y);
        }
    }
    return box;
}

class HudTest : public testing::Test {
protected:
    void SetUp() override {
        AssignSettingsDefaults();
        OnReshape(1024, 768);
        g_FpsClock.dwTimeMs = 0;
        g_FpsTimer = CTimer(g_FpsClock);
        g_iFrames = 0;
        g_iFps = 0;
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }

    static void RasterPosition(float* pfPosition) { glGetFloatv(GL_CURRENT_RASTER_POSITION, pfPosition); }
};

}  // namespace

TEST_F(HudTest, RateIsBlueTextInTheTopRightCorner) {
    GetSettings().bShowFps = true;
    g_iFps = 60;
    DrawHud();
    const SBox box = FindText(1024, 768);
    EXPECT_GT(box.iBluePixels, 50);
    EXPECT_EQ(box.iOtherPixels, 0);
    // "FPS: 60" starts at 90.5 % of the width and 2.5 % below the top:
    // seven characters of 9 pixels from (926.72, 748.8).
    EXPECT_GE(box.iLeft, 926);
    EXPECT_LE(box.iLeft, 930);
    EXPECT_LE(box.iRight, 926 + 7 * 9);
    EXPECT_GE(box.iRight, 926 + 6 * 9);
    EXPECT_GE(box.iBottom, 748 - 4);
    EXPECT_LE(box.iTop, 767);

    GLfloat fRaster[4];
    RasterPosition(fRaster);
    EXPECT_NEAR(fRaster[0], 926.72f + 7 * 9, 0.01f);
    EXPECT_NEAR(fRaster[1], 748.8f, 0.01f);
    GLint iValid = 0;
    glGetIntegerv(GL_CURRENT_RASTER_POSITION_VALID, &iValid);
    EXPECT_EQ(iValid, GL_TRUE);
}

TEST_F(HudTest, LongerRateStartsAtTheSamePlace) {
    GetSettings().bShowFps = true;
    g_iFps = 1000;
    DrawHud();
    GLfloat fRaster[4];
    RasterPosition(fRaster);
    EXPECT_NEAR(fRaster[0], 926.72f + 9 * 9, 0.01f);  // "FPS: 1000"
    EXPECT_GE(FindText(1024, 768).iLeft, 926);

    g_iFps = -2147483647 - 1;  // the longest an int can write: 16 characters
    DrawHud();
    RasterPosition(fRaster);
    EXPECT_NEAR(fRaster[0], 926.72f + 16 * 9, 0.01f);
}

TEST_F(HudTest, TextStaysInTheCornerOfAResizedWindow) {
    OnReshape(800, 600);
    GetSettings().bShowFps = true;
    DrawHud();
    GLfloat fRaster[4];
    RasterPosition(fRaster);
    EXPECT_NEAR(fRaster[0], 0.905f * 800 + 6 * 9, 0.01f);  // "FPS: 0"
    EXPECT_NEAR(fRaster[1], 0.975f * 600, 0.01f);
}

TEST_F(HudTest, NothingIsWrittenWhileTheSwitchIsOff) {
    g_iFps = 60;
    DrawHud();
    const SBox box = FindText(1024, 768);
    EXPECT_EQ(box.iBluePixels, 0);
    EXPECT_EQ(box.iOtherPixels, 0);
}

TEST_F(HudTest, RateIsTheFramesOfHalfASecondDoubled) {
    for (int i = 0; i < 29; ++i) {
        g_FpsClock.dwTimeMs = static_cast<uint32_t>(i * 17);
        DrawHud();
    }
    EXPECT_EQ(g_iFrames, 29);
    EXPECT_EQ(g_iFps, 0);  // until the first window has passed
    g_FpsClock.dwTimeMs = 499;
    DrawHud();
    EXPECT_EQ(g_iFps, 0);
    g_FpsClock.dwTimeMs = 500;
    DrawHud();
    EXPECT_EQ(g_iFps, 62);
    EXPECT_EQ(g_iFrames, 0);

    // A window that ran long still counts as half a second.
    for (int i = 0; i < 9; ++i) {
        DrawHud();
    }
    g_FpsClock.dwTimeMs = 500 + 900;
    DrawHud();
    EXPECT_EQ(g_iFps, 20);
    EXPECT_EQ(g_iFrames, 0);
}

TEST_F(HudTest, FramesAreCountedWhileTheTextIsHidden) {
    for (int i = 0; i < 30; ++i) {
        DrawHud();
    }
    g_FpsClock.dwTimeMs = 600;
    DrawHud();
    EXPECT_EQ(g_iFps, 62);
    GetSettings().bShowFps = true;
    DrawHud();
    GLfloat fRaster[4];
    RasterPosition(fRaster);
    EXPECT_NEAR(fRaster[0], 926.72f + 7 * 9, 0.01f);  // "FPS: 62" at once
}

TEST_F(HudTest, LeavesTheSwitchesOffAndTheMatricesAsTheyWere) {
    for (bool bShow : {false, true}) {
        GetSettings().bShowFps = bShow;
        glEnable(GL_TEXTURE_2D);
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_LIGHTING);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glFrustum(-1, 1, -1, 1, 1, 50);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glTranslatef(1.0f, 2.0f, 3.0f);
        glPushMatrix();
        glRotatef(30.0f, 0.0f, 1.0f, 0.0f);
        GLfloat fProjection[16];
        GLfloat fModelview[16];
        GLint iProjectionDepth = 0;
        GLint iModelviewDepth = 0;
        glGetFloatv(GL_PROJECTION_MATRIX, fProjection);
        glGetFloatv(GL_MODELVIEW_MATRIX, fModelview);
        glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &iProjectionDepth);
        glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &iModelviewDepth);

        DrawHud();

        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
        EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
        EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
        GLint iMode = 0;
        glGetIntegerv(GL_MATRIX_MODE, &iMode);
        EXPECT_EQ(iMode, GL_MODELVIEW);
        GLint iDepth = 0;
        glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &iDepth);
        EXPECT_EQ(iDepth, iProjectionDepth);
        glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &iDepth);
        EXPECT_EQ(iDepth, iModelviewDepth);
        GLfloat fAfter[16];
        glGetFloatv(GL_PROJECTION_MATRIX, fAfter);
        for (int i = 0; i < 16; ++i) {
            EXPECT_EQ(fAfter[i], fProjection[i]) << i;
        }
        glGetFloatv(GL_MODELVIEW_MATRIX, fAfter);
        for (int i = 0; i < 16; ++i) {
            EXPECT_EQ(fAfter[i], fModelview[i]) << i;
        }
        glPopMatrix();
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
}
