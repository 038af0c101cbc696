#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <tuple>
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
    int iLeft = 1 << 30, iBottom = 1 << 30, iRight = -1;
    int iBluePixels = 0;
    int iOtherPixels = 0;  // neither background nor the text's blue
};

// The blue text in the back buffer, and any pixel of another colour.
SBox FindText(int iWidth, int iHeight) {
    using CRgb = std::array<GLubyte, 3>;
    static_assert(sizeof(CRgb) == 3, "pixels are read packed");
    std::vector<CRgb> Pixels(static_cast<size_t>(iWidth) * iHeight);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, iWidth, iHeight, GL_RGB, GL_UNSIGNED_BYTE, Pixels.data());
    SBox box;
    for (size_t i = 0; i < Pixels.size(); ++i) {
        const int x = static_cast<int>(i % iWidth);
        const int y = static_cast<int>(i / iWidth);
        if (Pixels[i] == CRgb{0, 0, 255}) {
            ++box.iBluePixels;
            box.iLeft = std::min(box.iLeft, x);
            box.iRight = std::max(box.iRight, x);
            box.iBottom = std::min(box.iBottom, y);
        } else if (Pixels[i] != CRgb{0, 0, 0}) {
            ++box.iOtherPixels;
        }
    }
    return box;
}

GLint Integer(GLenum eName) {
    GLint iValue = 0;
    glGetIntegerv(eName, &iValue);
    return iValue;
}

std::array<GLfloat, 16> Matrix(GLenum eName) {
    std::array<GLfloat, 16> Values;
    glGetFloatv(eName, Values.data());
    return Values;
}

// Where the text ended: it starts at 90.5 % of the width and 2.5 % below the
// top, and each of its characters is 9 pixels wide.
void ExpectTextEndsAfter(int iCharacters, int iWidth, int iHeight) {
    GLfloat fRaster[4];
    glGetFloatv(GL_CURRENT_RASTER_POSITION, fRaster);
    EXPECT_NEAR(fRaster[0], 0.905f * iWidth + iCharacters * 9, 0.01f);
    EXPECT_NEAR(fRaster[1], 0.975f * iHeight, 0.01f);
    EXPECT_EQ(Integer(GL_CURRENT_RASTER_POSITION_VALID), GL_TRUE);
}

class HudTest : public testing::Test {
protected:
    void SetUp() override {
        AssignSettingsDefaults();
        g_FpsClock.dwTimeMs = 0;
        g_FpsTimer = CTimer(g_FpsClock);
        g_iFrames = g_iFps = 0;
        Clear(1024, 768);
    }

    static void Clear(int iWidth, int iHeight) {
        OnReshape(iWidth, iHeight);
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
};

}  // namespace

TEST_F(HudTest, RateIsBlueTextInTheTopRightCorner) {
    struct SCase {
        int iWidth, iHeight, iFps, iCharacters;
    };
    const SCase CASES[] = {
        {1024, 768, 60, 7}, {1024, 768, 1000, 9}, {1024, 768, -2147483647 - 1, 16}, {800, 600, 0, 6},
    };
    GetSettings().bShowFps = true;
    for (const SCase& c : CASES) {
        SCOPED_TRACE(c.iFps);
        Clear(c.iWidth, c.iHeight);
        g_iFps = c.iFps;
        DrawHud();
        ExpectTextEndsAfter(c.iCharacters, c.iWidth, c.iHeight);
        // The glyphs may start a little right of their origin and are clipped at the window's edge.
        const SBox box = FindText(c.iWidth, c.iHeight);
        const int iLeft = static_cast<int>(0.905f * c.iWidth);
        EXPECT_GT(box.iBluePixels, 50);
        EXPECT_EQ(box.iOtherPixels, 0);
        EXPECT_GE(box.iLeft, iLeft);
        EXPECT_LE(box.iLeft, iLeft + 4);
        EXPECT_LE(box.iRight, iLeft + c.iCharacters * 9);
        EXPECT_GE(box.iRight, std::min(iLeft + (c.iCharacters - 1) * 9, c.iWidth - 9));
        EXPECT_GE(box.iBottom, static_cast<int>(0.975f * c.iHeight) - 4);
    }
}

TEST_F(HudTest, NothingIsWrittenWhileTheSwitchIsOff) {
    g_iFps = 60;
    DrawHud();
    const SBox box = FindText(1024, 768);
    EXPECT_EQ(box.iBluePixels + box.iOtherPixels, 0);
}

TEST_F(HudTest, RateIsTheFramesOfHalfASecondDoubledCountedWhileHidden) {
    for (int i = 0; i < 29; ++i) {
        g_FpsClock.dwTimeMs = static_cast<uint32_t>(i * 17);
        DrawHud();
    }
    EXPECT_EQ(std::make_pair(g_iFrames, g_iFps), std::make_pair(29, 0));  // until the first window has passed
    g_FpsClock.dwTimeMs = 499;
    DrawHud();
    EXPECT_EQ(g_iFps, 0);
    g_FpsClock.dwTimeMs = 500;
    DrawHud();
    EXPECT_EQ(std::make_pair(g_iFrames, g_iFps), std::make_pair(0, 62));
    GetSettings().bShowFps = true;
    DrawHud();
    ExpectTextEndsAfter(7, 1024, 768);  // "FPS: 62" at once

    // A window that ran long still counts as half a second.
    for (int i = 0; i < 8; ++i) {
        DrawHud();
    }
    g_FpsClock.dwTimeMs = 500 + 900;
    DrawHud();
    EXPECT_EQ(std::make_pair(g_iFrames, g_iFps), std::make_pair(0, 20));
}

TEST_F(HudTest, LeavesTheSwitchesOffAndTheMatricesAsTheyWere) {
    const auto MatrixState = [] {
        return std::make_tuple(Matrix(GL_PROJECTION_MATRIX), Matrix(GL_MODELVIEW_MATRIX), Integer(GL_MATRIX_MODE),
                               Integer(GL_PROJECTION_STACK_DEPTH), Integer(GL_MODELVIEW_STACK_DEPTH));
    };
    const GLenum SWITCHES[] = {GL_TEXTURE_2D, GL_DEPTH_TEST, GL_LIGHTING};
    for (bool bShow : {false, true}) {
        GetSettings().bShowFps = bShow;
        for (GLenum eSwitch : SWITCHES) {
            glEnable(eSwitch);
        }
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glFrustum(-1, 1, -1, 1, 1, 50);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glTranslatef(1.0f, 2.0f, 3.0f);
        glPushMatrix();
        glRotatef(30.0f, 0.0f, 1.0f, 0.0f);
        const auto before = MatrixState();

        DrawHud();

        for (GLenum eSwitch : SWITCHES) {
            EXPECT_FALSE(glIsEnabled(eSwitch)) << eSwitch;
        }
        EXPECT_EQ(MatrixState(), before);
        EXPECT_EQ(std::get<2>(before), GL_MODELVIEW);
        glPopMatrix();
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
}
