#include <GL/gl.h>

#include <algorithm>
#include <array>
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
        glDisable(GL_LIGHTING);
        ball.fRadius = 0.475f;
    }

    std::vector<SFeedbackVertex> CaptureVertices(kov::ISceneNode& node, size_t* puPolygons = nullptr) {
        std::vector<SFeedbackVertex> Vertices;
        size_t uPolygons = 0;
        for (const SFeedbackPrimitive& primitive : CaptureFeedback([&] { node.Draw(); })) {
            uPolygons += primitive.iToken == GL_POLYGON_TOKEN ? 1 : 0;
            Vertices.insert(Vertices.end(), primitive.Vertices.begin(), primitive.Vertices.end());
        }
        if (puPolygons != nullptr) {
            *puPolygons = uPolygons;
        }
        return Vertices;
    }

    kov::CBall ball;
};

}  // namespace

TEST(BallNode, ConstructorValues) {
    const kov::CBall ball;
    EXPECT_EQ(ball.fRadius, 1.0f);
    EXPECT_EQ(ball.dVelocityX, 0.0);
    EXPECT_EQ(ball.dVelocityZ, 0.0);
    EXPECT_NE(ball.pQuadric, nullptr);
    const std::array<float, 4> SPECULAR = {0.95f, 0.95f, 0.95f, 1.0f};
    EXPECT_TRUE(std::equal(SPECULAR.begin(), SPECULAR.end(), ball.fSpecular));
    EXPECT_EQ(ball.fDiffuse[0], 0.8f);  // the rest is the node's default
    EXPECT_EQ(ball.fShininess, 50.0f);
}

TEST_F(BallNodeTest, DrawnUntexturedInThePlainColourWithNormalisedNormals) {
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
    glDisable(GL_NORMALIZE);
    glDisable(GL_DEPTH_TEST);
    glColor3f(1.0f, 1.0f, 1.0f);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-1.0, 1.0, -1.0, 1.0, -2.0, 2.0);
    glMatrixMode(GL_MODELVIEW);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);

    EXPECT_TRUE(ball.Draw());
    GLint iBound = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &iBound);
    EXPECT_EQ(iBound, 0);
    EXPECT_TRUE(glIsEnabled(GL_NORMALIZE));
    std::array<GLubyte, 3> Centre = {};
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(512, 384, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, Centre.data());
    EXPECT_EQ(Centre, (std::array<GLubyte, 3>{255, 255, 255}));
    glDeleteTextures(1, &uiTexture);
}

TEST_F(BallNodeTest, SphereOfHalfTheRadiusScaledByTwoInTheTree) {
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    for (const SFeedbackVertex& v : CaptureVertices(ball)) {
        ASSERT_NEAR(std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z), 0.2375f, 2e-4f);
    }

    ball.SetScale(2.0f, 2.0f, 2.0f);
    ball.SetPosition(1.5f, 0.5f, -2.5f);
    kov::ISceneNode board;
    board.Children.push_back(&ball);
    float fMaxX = -1e9f;
    float fMinY = 1e9f;
    for (const SFeedbackVertex& v : CaptureVertices(board)) {
        fMaxX = std::max(fMaxX, v.x);
        fMinY = std::min(fMinY, v.y);
    }
    EXPECT_NEAR(fMaxX, 1.5f + 0.475f, 1e-3f);
    EXPECT_NEAR(fMinY, 0.025f, 1e-3f);  // floating just above the floor
}

TEST_F(BallNodeTest, TessellationFollowsTheSettingsAtEveryDraw) {
    // GLU draws a fan of triangles at each pole and a strip of quads (two
    // triangles each) for every stack between: 2 * slices * (stacks - 1).
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    const struct {
        int iSlices, iStacks;
    } SIZES[] = {{32, 32}, {8, 8}, {16, 8}, {16, 12}, {9, 9}};
    for (const auto& size : SIZES) {
        GetSettings().iSlices = size.iSlices;
        GetSettings().iStacks = size.iStacks;
        size_t uPolygons = 0;
        CaptureVertices(ball, &uPolygons);
        EXPECT_EQ(uPolygons, 2u * size.iSlices * (size.iStacks - 1)) << size.iSlices << "x" << size.iStacks;
    }
}
