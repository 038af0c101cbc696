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

class StarsTest : public testing::Test {
protected:
    void SetUp() override {
        AssignSettingsDefaults();
        OnReshape(1024, 768);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }

    std::vector<SFeedbackVertex> CaptureStars(kov::ISceneNode& node) {
        std::vector<SFeedbackVertex> Points;
        for (const SFeedbackPrimitive& primitive : CaptureFeedback([&] { node.Draw(); })) {
            EXPECT_EQ(primitive.iToken, GL_POINT_TOKEN);
            Points.insert(Points.end(), primitive.Vertices.begin(), primitive.Vertices.end());
        }
        return Points;
    }

    kov::CStars stars;
};

}  // namespace

TEST_F(StarsTest, ThousandPointsBrighteningWithTheIndex) {
    const std::vector<SFeedbackVertex> Points = CaptureStars(stars);
    ASSERT_EQ(Points.size(), static_cast<size_t>(STAR_COUNT));
    const SFeedbackVertex& first = Points.front();
    EXPECT_NEAR(first.r, 0.1f, 1e-6f);
    EXPECT_NEAR(first.g, 0.1f, 1e-6f);
    EXPECT_NEAR(first.b, 0.2f, 1e-6f);
    EXPECT_NEAR(first.a, 1.0f, 1e-6f);
    const SFeedbackVertex& last = Points.back();
    EXPECT_NEAR(last.r, 0.5995f, 1e-6f);
    EXPECT_NEAR(last.g, 0.5995f, 1e-6f);
    EXPECT_NEAR(last.b, 0.6995f, 1e-6f);
    EXPECT_NEAR(Points[500].r, 0.35f, 1e-6f);

    // In the node's own frame the points are the unit vectors (feedback
    // positions come back to about 1e-4).
    EXPECT_NEAR(first.x, 0.62739f, 1e-4f);
    EXPECT_NEAR(first.y, 0.75472f, 1e-4f);
    EXPECT_NEAR(first.z, -0.19177f, 1e-4f);
    EXPECT_NEAR(Points[1].y, -0.82910f, 1e-4f);
}

TEST_F(StarsTest, SkyMovesWithItsNodeWithoutTurning) {
    kov::ISceneNode root;
    root.Children.push_back(&stars);
    stars.SetPosition(3.0f, -2.0f, 7.0f);
    const std::vector<SFeedbackVertex> Points = CaptureStars(root);
    ASSERT_EQ(Points.size(), static_cast<size_t>(STAR_COUNT));
    for (int i : {0, 1, 999}) {
        EXPECT_NEAR(Points[i].x, 3.0f + stars.vStars[i].x, 1e-4f) << i;
        EXPECT_NEAR(Points[i].y, -2.0f + stars.vStars[i].y, 1e-4f) << i;
        EXPECT_NEAR(Points[i].z, 7.0f + stars.vStars[i].z, 1e-4f) << i;
    }
}

TEST_F(StarsTest, SmoothPointsOfThreePixels) {
    glDisable(GL_POINT_SMOOTH);
    glPointSize(1.0f);
    stars.Draw();
    EXPECT_TRUE(glIsEnabled(GL_POINT_SMOOTH));
    GLfloat fSize = 0.0f;
    glGetFloatv(GL_POINT_SIZE, &fSize);
    EXPECT_EQ(fSize, 3.0f);
}

TEST_F(StarsTest, LightingComesBackOnlyWhenSwitchedOn) {
    glEnable(GL_LIGHTING);
    GetSettings().bLighting = false;
    EXPECT_TRUE(stars.Draw());
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));

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
    glLoadIdentity();

    EXPECT_TRUE(stars.Draw());
    ASSERT_EQ(probe.iDraws, 1);
    EXPECT_EQ(probe.fMinDepth, 1.0f);
    EXPECT_FALSE(probe.bLighting);
    EXPECT_NEAR(probe.fColor[0], 0.5995f, 1e-6f);
    EXPECT_NEAR(probe.fColor[1], 0.5995f, 1e-6f);
    EXPECT_NEAR(probe.fColor[2], 0.6995f, 1e-6f);
    stars.Children.clear();
}
