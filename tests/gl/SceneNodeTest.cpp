#include <GL/gl.h>

#include <gtest/gtest.h>

#include "scene/SceneNode.h"
#include "support/Feedback.h"

namespace {

// A node that draws one point at (1, 0, 0) in its own frame and reports a chosen result.
class CPointNode : public kov::ISceneNode {
public:
    explicit CPointNode(bool bResult = true, float fX = 1.0f) : bResult(bResult), fX(fX) {}

    bool Draw() override {
        ++iDraws;
        glBegin(GL_POINTS);
        glVertex3f(fX, 0.0f, 0.0f);
        glEnd();
        ISceneNode::Draw();
        return bResult;
    }

    bool bResult;
    float fX;
    int iDraws = 0;
};

std::vector<SFeedbackVertex> CapturePoints(kov::ISceneNode& root) {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    std::vector<SFeedbackVertex> Points;
    for (const SFeedbackPrimitive& primitive : CaptureFeedback([&] { root.Draw(); })) {
        EXPECT_EQ(primitive.iToken, GL_POINT_TOKEN);
        Points.insert(Points.end(), primitive.Vertices.begin(), primitive.Vertices.end());
    }
    return Points;
}

void ExpectPoint(const SFeedbackVertex& v, float x, float y, float z) {
    EXPECT_NEAR(v.x, x, 1e-4);
    EXPECT_NEAR(v.y, y, 1e-4);
    EXPECT_NEAR(v.z, z, 1e-4);
}

}  // namespace

TEST(SceneNode, EmptyNodeDrawsNothingAndSucceeds) {
    kov::ISceneNode root;
    EXPECT_TRUE(root.Draw());
    EXPECT_TRUE(CapturePoints(root).empty());
}

TEST(SceneNode, RotatesAboutZThenXThenTranslates) {
    kov::ISceneNode root;
    CPointNode child;
    child.vRotation = MakeVector(90.0f, 0.0f, 90.0f);
    root.Children.push_back(&child);
    auto Points = CapturePoints(root);
    ASSERT_EQ(Points.size(), 1u);
    ExpectPoint(Points[0], 0.0f, 0.0f, 1.0f);  // the other order would give (0, 1, 0)

    child.SetPosition(3.0f, -2.0f, 5.0f);
    Points = CapturePoints(root);
    ASSERT_EQ(Points.size(), 1u);
    ExpectPoint(Points[0], 3.0f, -2.0f, 6.0f);
}

TEST(SceneNode, ScalesBeforeRotating) {
    kov::ISceneNode root;
    CPointNode child;
    child.SetScale(2.0f, 1.0f, 1.0f);
    child.vRotation = MakeVector(0.0f, 0.0f, 90.0f);
    root.Children.push_back(&child);
    const auto Points = CapturePoints(root);
    ASSERT_EQ(Points.size(), 1u);
    ExpectPoint(Points[0], 0.0f, 2.0f, 0.0f);
}

TEST(SceneNode, ChildrenDrawInOrderUnderTheirParentsTransform) {
    kov::ISceneNode root;
    CPointNode parent(true, 0.0f);
    CPointNode first(true, 1.0f);
    CPointNode second(true, 2.0f);
    parent.SetPosition(10.0f, 0.0f, 0.0f);
    parent.Children.push_back(&first);
    parent.Children.push_back(&second);
    second.SetPosition(0.0f, 1.0f, 0.0f);
    root.Children.push_back(&parent);
    const auto Points = CapturePoints(root);
    ASSERT_EQ(Points.size(), 3u);
    ExpectPoint(Points[0], 10.0f, 0.0f, 0.0f);
    ExpectPoint(Points[1], 11.0f, 0.0f, 0.0f);
    ExpectPoint(Points[2], 12.0f, 1.0f, 0.0f);  // a sibling's translation does not leak
}

TEST(SceneNode, AFailingChildDoesNotStopItsSiblings) {
    kov::ISceneNode root;
    CPointNode failing(false);
    CPointNode after(true);
    root.Children.push_back(&failing);
    root.Children.push_back(&after);
    EXPECT_FALSE(root.Draw());
    EXPECT_EQ(failing.iDraws, 1);
    EXPECT_EQ(after.iDraws, 1);
}

TEST(SceneNode, RestoresTheModelviewMatrixAfterEachChild) {
    kov::ISceneNode root;
    CPointNode child;
    child.SetPosition(1.0f, 2.0f, 3.0f);
    child.vRotation = MakeVector(10.0f, 20.0f, 30.0f);
    root.Children.push_back(&child);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    GLint iDepthBefore = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &iDepthBefore);
    root.Draw();
    GLint iDepthAfter = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &iDepthAfter);
    GLfloat fMatrix[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, fMatrix);
    EXPECT_EQ(iDepthBefore, iDepthAfter);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(fMatrix[i], (i % 5 == 0) ? 1.0f : 0.0f);
    }
}

TEST(SceneNode, DefaultsAndTheLastNodesMaterialStayCurrent) {
    kov::ISceneNode root;
    CPointNode plain;
    CPointNode shiny;
    shiny.SetAmbient(0.4f, 0.2f, 0.0f, 1.0f);
    shiny.SetDiffuse(0.9f, 0.6f, 0.0f, 1.0f);
    shiny.SetSpecular(1.0f, 1.0f, 1.0f, 1.0f);
    shiny.SetShininess(10.0f);
    root.Children.push_back(&plain);
    root.Children.push_back(&shiny);

    EXPECT_EQ(plain.vScale, MakeVector(1.0f, 1.0f, 1.0f));
    EXPECT_EQ(plain.vPosition, MakeVector(0.0f, 0.0f, 0.0f));
    EXPECT_FLOAT_EQ(plain.fDiffuse[0], 0.8f);
    EXPECT_FLOAT_EQ(plain.fEmission[3], 1.0f);
    EXPECT_FLOAT_EQ(plain.fShininess, 50.0f);

    root.Draw();
    GLfloat fValue[4];
    glGetMaterialfv(GL_FRONT, GL_AMBIENT, fValue);
    EXPECT_FLOAT_EQ(fValue[0], 0.4f);
    EXPECT_FLOAT_EQ(fValue[1], 0.2f);
    glGetMaterialfv(GL_BACK, GL_DIFFUSE, fValue);
    EXPECT_FLOAT_EQ(fValue[1], 0.6f);
    glGetMaterialfv(GL_FRONT, GL_SPECULAR, fValue);
    EXPECT_FLOAT_EQ(fValue[2], 1.0f);
    glGetMaterialfv(GL_FRONT, GL_SHININESS, fValue);
    EXPECT_FLOAT_EQ(fValue[0], 10.0f);
    glGetMaterialfv(GL_FRONT, GL_EMISSION, fValue);
    EXPECT_FLOAT_EQ(fValue[0], 0.0f);
}

TEST(Feedback, QuadsComeBackWhole) {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const auto Quads = CapturedQuads(CaptureFeedback([] {
        glBegin(GL_QUADS);
        glVertex3f(0, 0, 0);
        glVertex3f(0, 0, 1);
        glVertex3f(1, 0, 1);
        glVertex3f(1, 0, 0);
        glEnd();
    }));
    ASSERT_EQ(Quads.size(), 1u);
    ASSERT_EQ(Quads[0].size(), 4u);
    EXPECT_NEAR(Quads[0][2].x, 1.0f, 1e-4);
    EXPECT_NEAR(Quads[0][2].z, 1.0f, 1e-4);
}
