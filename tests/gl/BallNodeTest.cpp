#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "app/Game.h"
#include "app/Settings.h"
#include "ball/Ball.h"
#include "support/Feedback.h"

namespace {

class BallNodeTest : public testing::Test {
protected:
    void SetUp() override {
        AssignSettingsDefaults();
        OnReshape(1024, 768);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }

    std::vector<SFeedbackPrimitive> CaptureBall() {
        glDisable(GL_LIGHTING);
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
        return CaptureFeedback([&] { ball.Draw(); });
    }

    static size_t CountPolygons(const std::vector<SFeedbackPrimitive>& Primitives) {
        size_t uCount = 0;
        for (const SFeedbackPrimitive& primitive : Primitives) {
            if (primitive.iToken == GL_POLYGON_TOKEN) {
                ++uCount;
            }
        }
        return uCount;
    }

    kov::CBall ball;
};

}  // namespace

TEST_F(BallNodeTest, ConstructorValues) {
    EXPECT_EQ(ball.fRadius, 1.0f);
    EXPECT_EQ(ball.dVelocityX, 0.0);
    EXPECT_EQ(ball.dVelocityZ, 0.0);
    EXPECT_NE(ball.pQuadric, nullptr);
    EXPECT_EQ(ball.fSpecular[0], 0.95f);
    EXPECT_EQ(ball.fSpecular[1], 0.95f);
    EXPECT_EQ(ball.fSpecular[2], 0.95f);
    EXPECT_EQ(ball.fSpecular[3], 1.0f);
    EXPECT_EQ(ball.fDiffuse[0], 0.8f);  // the rest is the node's default
    EXPECT_EQ(ball.fShininess, 50.0f);
}

TEST_F(BallNodeTest, DrawnUntexturedWithNormalisedNormals) {
    GLuint uiTexture = 0;
    glGenTextures(1, &uiTexture);
    glBindTexture(GL_TEXTURE_2D, uiTexture);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_NORMALIZE);
    EXPECT_TRUE(ball.Draw());
    GLint iBound = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &iBound);
    EXPECT_EQ(iBound, 0);
    EXPECT_TRUE(glIsEnabled(GL_NORMALIZE));
    glDeleteTextures(1, &uiTexture);
}

TEST_F(BallNodeTest, TexturingOnStillShowsThePlainColour) {
    // The board leaves its last texture bound: a red one here.
    const GLubyte RED[4 * 3] = {255, 0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0};
    GLuint uiTexture = 0;
    glGenTextures(1, &uiTexture);
    glBindTexture(GL_TEXTURE_2D, uiTexture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 2, 2, 0, GL_RGB, GL_UNSIGNED_BYTE, RED);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glColor3f(1.0f, 1.0f, 1.0f);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-1.0, 1.0, -1.0, 1.0, -2.0, 2.0);
    glMatrixMode(GL_MODELVIEW);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);

    ball.Draw();
    GLubyte ubCentre[3] = {};
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(512, 384, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, ubCentre);
    EXPECT_EQ(ubCentre[0], 255);
    EXPECT_EQ(ubCentre[1], 255);
    EXPECT_EQ(ubCentre[2], 255);
    glDeleteTextures(1, &uiTexture);
}

TEST_F(BallNodeTest, SphereOfHalfTheRadiusInItsOwnFrame) {
    ball.fRadius = 0.475f;
    const std::vector<SFeedbackPrimitive> Primitives = CaptureBall();
    float fMin = 1e9f;
    float fMax = 0.0f;
    for (const SFeedbackPrimitive& primitive : Primitives) {
        for (const SFeedbackVertex& v : primitive.Vertices) {
            const float fDistance = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
            fMin = std::min(fMin, fDistance);
            fMax = std::max(fMax, fDistance);
        }
    }
    EXPECT_NEAR(fMin, 0.2375f, 2e-4f);
    EXPECT_NEAR(fMax, 0.2375f, 2e-4f);
}

TEST_F(BallNodeTest, ScaledByTwoInTheTreeItHasTheFullRadius) {
    ball.fRadius = 0.475f;
    ball.SetScale(2.0f, 2.0f, 2.0f);
    ball.SetPosition(1.5f, 0.5f, -2.5f);
    kov::ISceneNode board;
    board.Children.push_back(&ball);
    glDisable(GL_LIGHTING);
    float fMaxX = -1e9f;
    float fMinY = 1e9f;
    for (const SFeedbackPrimitive& primitive : CaptureFeedback([&] { board.Draw(); })) {
        for (const SFeedbackVertex& v : primitive.Vertices) {
            fMaxX = std::max(fMaxX, v.x);
            fMinY = std::min(fMinY, v.y);
        }
    }
    EXPECT_NEAR(fMaxX, 1.5f + 0.475f, 1e-3f);
    EXPECT_NEAR(fMinY, 0.025f, 1e-3f);  // floating just above the floor
}

TEST_F(BallNodeTest, TessellationFollowsTheSettingsAtEveryDraw) {
    // GLU draws a fan of triangles at each pole and a strip of quads (two
    // triangles each) for every stack between: 2 * slices * (stacks - 1).
    CSettings& settings = GetSettings();
    EXPECT_EQ(CountPolygons(CaptureBall()), 2u * 32 * 31);
    struct SCase {
        int iSlices, iStacks;
    };
    for (const SCase& c : {SCase{8, 8}, SCase{16, 8}, SCase{16, 12}, SCase{9, 9}}) {
        settings.iSlices = c.iSlices;
        settings.iStacks = c.iStacks;
        EXPECT_EQ(CountPolygons(CaptureBall()), 2u * c.iSlices * (c.iStacks - 1)) << c.iSlices << "x" << c.iStacks;
    }
}
