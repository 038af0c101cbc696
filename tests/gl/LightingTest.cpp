#include <GL/gl.h>
#include <GL/glu.h>

#include <gtest/gtest.h>

#include "app/Game.h"
#include "app/Settings.h"
#include "scene/Scene.h"

namespace {

struct SMatrix {
    GLfloat m[16];  // column-major, as OpenGL keeps it
};

SMatrix CurrentModelview() {
    SMatrix matrix;
    glGetFloatv(GL_MODELVIEW_MATRIX, matrix.m);
    return matrix;
}

// matrix * (x, y, z, w)
void Transform(const SMatrix& matrix, const float* pIn, float* pOut) {
    for (int row = 0; row < 4; ++row) {
        pOut[row] = 0.0f;
        for (int col = 0; col < 4; ++col) {
            pOut[row] += matrix.m[col * 4 + row] * pIn[col];
        }
    }
}

void ExpectLightValue(GLenum eLight, GLenum eName, const float* pExpected, int iCount = 4) {
    GLfloat fValue[4] = {};
    glGetLightfv(eLight, eName, fValue);
    for (int i = 0; i < iCount; ++i) {
        EXPECT_NEAR(fValue[i], pExpected[i], 1e-4) << "light " << eLight - GL_LIGHT0 << " parameter " << eName
                                                   << " component " << i;
    }
}

// A view that is not the identity, so world and eye coordinates differ.
void LoadTestView() {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(3.0, 20.0, 9.0, 1.0, 0.0, -2.0, 0.0, 1.0, 0.0);
}

class LightingTest : public testing::Test {
protected:
    void SetUp() override { AssignSettingsDefaults(); }

    kov::CScene scene;
};

}  // namespace

TEST_F(LightingTest, LightsAreGivenInWorldCoordinatesUnderTheView) {
    CSettings& settings = GetSettings();
    SetVector(&settings.vSpotDir, 0.3f, -1.0f, 0.2f);
    LoadTestView();
    const SMatrix view = CurrentModelview();
    EXPECT_TRUE(scene.Draw());

    // OpenGL keeps positions in eye coordinates: the view times the world position.
    const float WORLD_POSITIONS[4][4] = {
        {0.0f, 2.5f, 0.0f, 1.0f}, {9.5f, 1.5f, 9.5f, 1.0f}, {-9.5f, 1.5f, -9.5f, 1.0f}, {1.0f, -2.0f, 1.0f, 0.0f}};
    for (int i = 0; i < 4; ++i) {
        float fEye[4];
        Transform(view, WORLD_POSITIONS[i], fEye);
        ExpectLightValue(GL_LIGHT0 + i, GL_POSITION, fEye);
    }
    const float WORLD_SPOT[4] = {0.3f, -1.0f, 0.2f, 0.0f};
    float fEyeSpot[4];
    Transform(view, WORLD_SPOT, fEyeSpot);
    ExpectLightValue(GL_LIGHT0, GL_SPOT_DIRECTION, fEyeSpot, 3);
}

TEST_F(LightingTest, ColoursSpotAndSwitchesFollowTheSettings) {
    LoadTestView();
    scene.Draw();
    const float WHITE[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    const float DIM[4] = {0.2f, 0.2f, 0.2f, 1.0f};
    const float RED[4] = {0.5f, 0.0f, 0.0f, 1.0f};
    const float GREEN[4] = {0.0f, 0.5f, 0.0f, 1.0f};
    const float GREY[4] = {0.5f, 0.5f, 0.5f, 1.0f};
    ExpectLightValue(GL_LIGHT0, GL_AMBIENT, DIM);
    ExpectLightValue(GL_LIGHT0, GL_DIFFUSE, WHITE);
    ExpectLightValue(GL_LIGHT0, GL_SPECULAR, WHITE);
    for (GLenum eName : {GL_AMBIENT, GL_DIFFUSE, GL_SPECULAR}) {
        ExpectLightValue(GL_LIGHT1, eName, RED);
        ExpectLightValue(GL_LIGHT2, eName, GREEN);
        ExpectLightValue(GL_LIGHT3, eName, GREY);
    }
    GLfloat fValue = 0.0f;
    glGetLightfv(GL_LIGHT0, GL_SPOT_CUTOFF, &fValue);
    EXPECT_FLOAT_EQ(fValue, 90.0f);
    glGetLightfv(GL_LIGHT0, GL_SPOT_EXPONENT, &fValue);
    EXPECT_FLOAT_EQ(fValue, 0.5f);
    glGetLightfv(GL_LIGHT1, GL_SPOT_CUTOFF, &fValue);
    EXPECT_FLOAT_EQ(fValue, 180.0f);  // never set: no cone
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT1));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT2));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT3));

    CSettings& settings = GetSettings();
    settings.bLightOn[0] = false;
    settings.bLightOn[2] = true;
    settings.bLightOn[3] = true;
    settings.bLighting = false;  // the lights are still set up and switched
    settings.fSpotExponent = 3.5f;
    scene.Draw();
    EXPECT_FALSE(glIsEnabled(GL_LIGHT0));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT1));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT2));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT3));
    glGetLightfv(GL_LIGHT0, GL_SPOT_EXPONENT, &fValue);
    EXPECT_FLOAT_EQ(fValue, 3.5f);
}

TEST_F(LightingTest, ACutOffOpenGLRefusesKeepsTheLastConeUntil180) {
    LoadTestView();
    scene.Draw();
    while (glGetError() != GL_NO_ERROR) {
    }
    GetSettings().fSpotCutoff = 91.0f;
    scene.Draw();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_INVALID_VALUE));
    GLfloat fValue = 0.0f;
    glGetLightfv(GL_LIGHT0, GL_SPOT_CUTOFF, &fValue);
    EXPECT_FLOAT_EQ(fValue, 90.0f);

    GetSettings().fSpotCutoff = 180.0f;
    scene.Draw();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    glGetLightfv(GL_LIGHT0, GL_SPOT_CUTOFF, &fValue);
    EXPECT_FLOAT_EQ(fValue, 180.0f);
}

TEST_F(LightingTest, AnEmptySceneStillSetsUpTheLights) {
    GetSettings().bLightOn[1] = true;
    glDisable(GL_LIGHT1);
    LoadTestView();
    EXPECT_TRUE(scene.Draw());
    EXPECT_TRUE(glIsEnabled(GL_LIGHT1));
}
