#include <GL/gl.h>

#include <algorithm>
#include <vector>

#include <gtest/gtest.h>

#include "app/Game.h"
#include "app/Settings.h"
#include "scene/Stars.h"
#include "support/Feedback.h"

namespace {

// Hung below the stars: records what it finds when its turn comes.
class CProbeNode : public kov::ISceneNode {
public:
    bool Draw() override {
        ++iDraws;
        bLighting = glIsEnabled(GL_LIGHTING);
        glGetFloatv(GL_CURRENT_COLOR, fColor);
        std::vector<GLfloat> Depth(64 * 64);
        glReadPixels(480, 352, 64, 64, GL_DEPTH_COMPONENT, GL_FLOAT, Depth.data());
        fMinDepth = *std::min_element(Depth.begin(), Depth.end());
        return ISceneNode::Draw();
    }

    int iDraws = 0;
    GLboolean bLighting = GL_TRUE;
    GLfloat fColor[4] = {};
    GLfloat fMinDepth = -1.0f;
};

void ExpectColour(float r, float g, float b, float fExpectR, float fExpectG, float fExpectB) {
    EXPECT_NEAR(r, fExpectR, 1e-6f);
    EXPECT_NEAR(g, fExpectG, 1e-6f);
    EXPECT_NEAR(b, fExpectB, 1e-6f);
}

class StarsTest : public testing::Test {
protected:
    void SetUp() override {
        AssignSettingsDefaults();
        OnReshape(1024, 768);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }

    kov::CStars stars;
};

}  // namespace

TEST_F(StarsTest, ThousandPointsMovingWithTheNodeAndBrighteningWithTheIndex) {
    kov::ISceneNode root;
    root.Children.push_back(&stars);
    stars.SetPosition(3.0f, -2.0f, 7.0f);
    std::vector<SFeedbackVertex> Points;
    for (const SFeedbackPrimitive& primitive : CaptureFeedback([&] { root.Draw(); })) {
        EXPECT_EQ(primitive.iToken, GL_POINT_TOKEN);
        Points.insert(Points.end(), primitive.Vertices.begin(), primitive.Vertices.end());
    }
    ASSERT_EQ(Points.size(), static_cast<size_t>(STAR_COUNT));
    // Feedback positions come back to about 1e-4; the sky does not turn.
    for (int i : {0, 1, 999}) {
        EXPECT_NEAR(Points[i].x, 3.0f + stars.vStars[i].x, 1e-4f) << i;
        EXPECT_NEAR(Points[i].y, -2.0f + stars.vStars[i].y, 1e-4f) << i;
        EXPECT_NEAR(Points[i].z, 7.0f + stars.vStars[i].z, 1e-4f) << i;
    }
    ExpectColour(Points[0].r, Points[0].g, Points[0].b, 0.1f, 0.1f, 0.2f);
    EXPECT_NEAR(Points[0].a, 1.0f, 1e-6f);
    ExpectColour(Points[999].r, Points[999].g, Points[999].b, 0.5995f, 0.5995f, 0.6995f);
    EXPECT_NEAR(Points[500].r, 0.35f, 1e-6f);
}

TEST_F(StarsTest, SmoothPointsOfThreePixelsAndLightingBackOnlyWhenSwitchedOn) {
    glDisable(GL_POINT_SMOOTH);
    glPointSize(1.0f);
    glEnable(GL_LIGHTING);
    GetSettings().bLighting = false;
    EXPECT_TRUE(stars.Draw());
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_POINT_SMOOTH));
    GLfloat fSize = 0.0f;
    glGetFloatv(GL_POINT_SIZE, &fSize);
    EXPECT_EQ(fSize, 3.0f);

    GetSettings().bLighting = true;
    glDisable(GL_LIGHTING);
    EXPECT_TRUE(stars.Draw());
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
}

TEST_F(StarsTest, ChildrenFindTheDepthClearedAndTheLastStarsColour) {
    CProbeNode probe;
    stars.Children.push_back(&probe);
    GetSettings().bLighting = false;
    glEnable(GL_DEPTH_TEST);
    glClearDepth(0.25);
    glClear(GL_DEPTH_BUFFER_BIT);
    glClearDepth(1.0);
    // A view that puts the sky in the window, so the points do write depth.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-0.1, 0.1, -0.075, 0.075, 0.1, 10.0);
    glMatrixMode(GL_MODELVIEW);

    EXPECT_TRUE(stars.Draw());
    ASSERT_EQ(probe.iDraws, 1);
    EXPECT_EQ(probe.fMinDepth, 1.0f);
    EXPECT_FALSE(probe.bLighting);
    ExpectColour(probe.fColor[0], probe.fColor[1], probe.fColor[2], 0.5995f, 0.5995f, 0.6995f);
    stars.Children.clear();
}
