// Whole frames of the game, set up as main does, against reference pictures:
// every face, normal and texture coordinate of the box and the board, the
// textures of the tiles, the stars, the ball, the lights, the overlay and the F1 panel. The
// views show the box from above and from below, the workbench's switches and lights, the orthographic
// strip, the wire-frame without depth test and the panel. After a change of the picture that is
// meant, KOV_UPDATE_PICTURES=1 writes the references anew; look at them.
#include <gtest/gtest.h>
#include <stb/stb_image.h>
#include <stb/stb_image_write.h>

#include <cstdlib>
#include <functional>
#include <numeric>
#include <string>

#include "app/Game.h"
#include "app/Globals.h"
#include "app/Panel.h"
#include "app/Settings.h"
#include "ball/BallMotion.h"
#include "support/GlTest.h"

namespace {

constexpr int WIDTH = 512, HEIGHT = 384;

// The frame's pixels, top row first as the picture files store them. The
// frame before it leaves the state every frame finds, whatever the test before.
std::vector<GLubyte> DrawPicture() {
    DrawFrame();
    DrawFrame();
    std::vector<GLubyte> Pixels(WIDTH * HEIGHT * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    for (int y = 0; y < HEIGHT; ++y) {
        glReadPixels(0, HEIGHT - 1 - y, WIDTH, 1, GL_RGB, GL_UNSIGNED_BYTE, &Pixels[y * WIDTH * 3]);
    }
    return Pixels;
}

}  // namespace

TEST(Picture, EveryViewLooksAsItsReference) {
    const std::pair<const char*, std::function<void(CSettings&)>> VIEWS[] = {
        {"start", [](CSettings& s) { s.bShowFps = true; }},
        {"below", [](CSettings&) { g_ViewControl.iAngleX = g_ViewControl.iAngleY = 700; }},
        {"workbench", [](CSettings& s) {
             s.bLightOn[1] = s.bLightOn[2] = s.bLightOn[3] = true;
             SetVector(&s.vLightPos[1], 3.0f, 1.5f, 3.0f);
             SetVector(&s.vSpotDir, 0.3f, -1.0f, 0.2f);
             s.fSpotCutoff = 30.0f;
             s.fSpotExponent = 5.0f;
             s.bSmooth = s.bTwoSided = s.bAmbient = false;
             s.iSlices = s.iStacks = 9;
             g_Board.fTiltZ = 2.0f;
             g_Board.fTiltX = -1.5f;
             g_ViewControl.iAngleX = 100;
         }},
        {"strip", [](CSettings& s) {
             s.bPerspective = s.bLighting = false;
             g_ViewControl.iAngleX = 300;
             g_ViewControl.iAngleY = 60;
         }},
        {"wire", [](CSettings& s) {
             s.bWireframe = true;
             s.bDepthTest = s.bTextures = false;
             g_ViewControl.iAngleX = 600;
         }},
        {"panel", [](CSettings& s) { s.bWireframe = g_bShowPanel = true; }},
    };
    static CManualClock s_Clock;  // no time passes: the ball stays put, the rate stays 0
    g_FrameTimer = g_FpsTimer = CTimer(s_Clock);
    LoadTextures();
    BuildScene();
    OnReshape(WIDTH, HEIGHT);
    for (const auto& [szName, fnSetUp] : VIEWS) {
        AssignSettingsDefaults();
        g_ViewControl = CViewControl();  // the angles of a 1024 x 768 window
        g_Board.fTiltZ = g_Board.fTiltX = 0.0f;
        PlaceBallOnRespawnCell();
        SetVector(&g_Ball.vRotation, 0.0f, 0.0f, 0.0f);
        g_Ball.dVelocityX = g_Ball.dVelocityZ = 0.0;
        g_iFps = 0;
        fnSetUp(GetSettings());
        const std::vector<GLubyte> Pixels = DrawPicture();
        g_bShowPanel = false;
        if (std::string(szName) == "start") {
            GetSettings().bTwoSided = false;  // every face is seen from its front: a few edge pixels may differ
            const std::vector<GLubyte> OneSided = DrawPicture();
            EXPECT_LE(std::inner_product(Pixels.begin(), Pixels.end(), OneSided.begin(), 0, std::plus<>(),
                                         [](int a, int b) { return std::abs(a - b) > 12 ? 1 : 0; }), 10);
        }
        const std::string sPath = std::string(KOV_SOURCE_DIR "/tests/data/pictures/") + szName + ".png";
        if (std::getenv("KOV_UPDATE_PICTURES") != nullptr) {
            stbi_write_png(sPath.c_str(), WIDTH, HEIGHT, 3, Pixels.data(), WIDTH * 3);
        }
        int iWidth = 0, iHeight = 0, iChannels = 0;
        stbi_uc* pReference = stbi_load(sPath.c_str(), &iWidth, &iHeight, &iChannels, 3);
        ASSERT_TRUE(pReference != nullptr && iWidth == WIDTH && iHeight == HEIGHT) << sPath;
        int iDiffering = 0;
        for (size_t i = 0; i < Pixels.size(); ++i) {
            iDiffering += std::abs(Pixels[i] - pReference[i]) > 2 ? 1 : 0;
        }
        stbi_image_free(pReference);
        EXPECT_EQ(iDiffering, 0) << szName;
    }
    g_FrameTimer = g_FpsTimer = CTimer();
}
