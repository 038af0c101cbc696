#include <GL/gl.h>

#include <cmath>

#include <gtest/gtest.h>

#include "app/Camera.h"

namespace {

// The z component of the screen's up direction in the world (the second row of the view's rotation).
float ScreenUpZ() {
    GLfloat fMatrix[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, fMatrix);
    return fMatrix[9];
}

void ApplyFresh(CCamera& camera, int x, int y, int w, int h, double dist) {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    camera.Apply(x, y, w, h, dist);
}

}  // namespace

TEST(Camera, StartsHighAboveTheBoardOnItsPlusZSide) {
    const CViewControl view;
    EXPECT_EQ(view.iButton, -1);
    EXPECT_EQ(view.iAngleX, 0);
    EXPECT_EQ(view.iAngleY, 150);
    EXPECT_EQ(view.fDistance, 25.0f);
    EXPECT_EQ(view.iWindowWidth, 1024);
    EXPECT_EQ(view.iWindowHeight, 768);

    CCamera camera;
    ApplyFresh(camera, view.iAngleX, view.iAngleY, view.iWindowWidth, view.iWindowHeight, view.fDistance);
    EXPECT_NEAR(camera.GetEyeX(), 0.0f, 1e-5);
    EXPECT_NEAR(camera.GetEyeY(), 23.54f, 0.005);
    EXPECT_NEAR(camera.GetEyeZ(), 8.42f, 0.005);
    EXPECT_NEAR(Length(camera.vOffset), 25.0f, 1e-4);
    EXPECT_EQ(camera.GetUpY(), 1.0f);

    // The look-at puts the centre straight ahead on the view axis.
    GLfloat fMatrix[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, fMatrix);
    EXPECT_NEAR(fMatrix[12], 0.0f, 1e-4);
    EXPECT_NEAR(fMatrix[13], 0.0f, 1e-4);
    EXPECT_NEAR(fMatrix[14], -25.0f, 1e-4);
}

TEST(Camera, EyeFollowsTheCentre) {
    CCamera camera;
    SetVector(&camera.vCenter, 2.0f, 0.0f, -1.5f);
    ApplyFresh(camera, 0, 150, 1024, 768, 25.0);
    EXPECT_NEAR(camera.GetEyeX(), 2.0f, 1e-5);
    EXPECT_NEAR(camera.GetEyeZ(), 8.42f - 1.5f, 0.005);
}

TEST(Camera, AFullWindowWidthTurnsOnceAroundTheVerticalAxis) {
    CCamera camera;
    ApplyFresh(camera, 256, 0, 1024, 768, 10.0);  // a quarter turn: from +z round to -x
    EXPECT_NEAR(camera.GetEyeX(), -10.0f, 1e-4);
    EXPECT_NEAR(camera.GetEyeZ(), 0.0f, 1e-4);
    ApplyFresh(camera, 1024, 0, 1024, 768, 10.0);
    EXPECT_NEAR(camera.GetEyeX(), 0.0f, 1e-4);
    EXPECT_NEAR(camera.GetEyeZ(), 10.0f, 1e-4);
}

TEST(Camera, UpsideDownBetweenAQuarterAndThreeQuartersOfATurn) {
    CCamera camera;
    const int H = 768;
    struct SCase {
        int iAngleY;
        float fUpY;
    };
    const SCase CASES[] = {{0, 1.0f},     {191, 1.0f},    {192, 1.0f},  {193, -1.0f}, {384, -1.0f},
                           {575, -1.0f},  {576, -1.0f},   {577, 1.0f},  {767, 1.0f}};
    for (const SCase& c : CASES) {
        ApplyFresh(camera, 0, c.iAngleY, 1024, H, 25.0);
        EXPECT_EQ(camera.GetUpY(), c.fUpY) << "iAngleY " << c.iAngleY;
    }

    // Looking down just before and just after the top, the top of the screen points the same way
    // (towards -z) instead of jumping by half a turn.
    ApplyFresh(camera, 0, 190, 1024, H, 25.0);
    EXPECT_LT(ScreenUpZ(), -0.99f);
    ApplyFresh(camera, 0, 194, 1024, H, 25.0);
    EXPECT_LT(ScreenUpZ(), -0.99f);
}

TEST(Camera, AWindowWithoutSizeGivesNoNaN) {
    CCamera camera;
    for (const int iSize : {0, -5}) {
        ApplyFresh(camera, 300, 200, iSize, iSize, 25.0);
        EXPECT_FALSE(std::isnan(camera.GetEyeX()));
        EXPECT_FALSE(std::isnan(camera.GetEyeY()));
        EXPECT_FALSE(std::isnan(camera.GetEyeZ()));
        EXPECT_NEAR(Length(camera.vOffset), 25.0f, 1e-4);
        GLfloat fMatrix[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, fMatrix);
        for (const GLfloat fValue : fMatrix) {
            EXPECT_TRUE(std::isfinite(fValue));
        }
    }
}
