// The scene node's traversal against real OpenGL: the order of its children
// and of the transforms, and the material it leaves current. The pictures
// cannot show it: the ball it turns is a plain sphere.
#include <gtest/gtest.h>

#include <vector>

#include "scene/SceneNode.h"
#include "support/GlTest.h"

namespace {

// Draws one point at (fX, 0, 0) in its own frame, then its children.
class CPointNode : public kov::ISceneNode {
public:
    explicit CPointNode(float fX = 1.0f, bool bResult = true) : fX(fX), bResult(bResult) {}
    bool Draw() override {
        glBegin(GL_POINTS);
        glVertex3f(fX, 0.0f, 0.0f);
        glEnd();
        return ISceneNode::Draw() && bResult;
    }
    float fX;
    bool bResult;
};

}  // namespace

TEST(SceneNode, ChildrenDrawInOrderScaledThenTurnedAboutZYXThenMovedAndEveryOneDraws) {
    kov::ISceneNode root;
    CPointNode parent(0.0f), first, second(2.0f, false), scaled;
    parent.SetPosition(10.0f, 0.0f, 0.0f);
    first.vRotation = MakeVector(90.0f, 0.0f, 90.0f);  // about z first: (1, 0, 0) lands on (0, 0, 1)
    second.SetPosition(0.0f, 1.0f, 0.0f);
    scaled.SetScale(2.0f, 1.0f, 1.0f);
    scaled.vRotation = MakeVector(0.0f, 0.0f, 90.0f);  // scaled first: (1, 0, 0) lands on (0, 2, 0)
    scaled.SetAmbient(0.4f, 0.2f, 0.0f, 1.0f);
    scaled.SetDiffuse(0.9f, 0.6f, 0.0f, 1.0f);
    scaled.SetSpecular(1.0f, 1.0f, 0.7f, 1.0f);
    scaled.SetShininess(10.0f);
    parent.Children = {&first, &second};
    root.Children = {&parent, &scaled};
    const std::vector<std::vector<float>> POINTS = {{10, 0, 0}, {10, 0, 1}, {12, 1, 0}, {0, 2, 0}};
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const auto Points = CapturePoints([&root] { root.Draw(); });
    for (size_t i = 0; i < POINTS.size(); ++i) {
        ExpectNear(Points.at(i), POINTS[i]);
    }
    EXPECT_FALSE(root.Draw());  // the failing second did not stop its sibling
    EXPECT_EQ(GetInteger(GL_MODELVIEW_STACK_DEPTH), 1);
    // The last node's material stays current, on both faces.
    const std::pair<GLenum, std::vector<float>> MATERIAL[] = {
        {GL_AMBIENT, {0.4f, 0.2f, 0, 1}}, {GL_DIFFUSE, {0.9f, 0.6f, 0, 1}}, {GL_SPECULAR, {1, 1, 0.7f, 1}},
        {GL_SHININESS, {10, 0, 0, 0}},    {GL_EMISSION, {0, 0, 0, 1}}};
    for (const auto& [eName, Expected] : MATERIAL) {
        for (const GLenum eFace : {GL_FRONT, GL_BACK}) {
            std::vector<float> Value(4);
            glGetMaterialfv(eFace, eName, Value.data());
            ExpectNear(Value, Expected, 1e-6f);
        }
    }
}
