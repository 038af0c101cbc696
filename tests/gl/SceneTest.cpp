// The scene graph against real OpenGL: the nodes' transforms and materials,
// the four lights, the star field and the ball node.
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "app/Game.h"
#include "app/Settings.h"
#include "ball/Ball.h"
#include "scene/Scene.h"
#include "scene/Stars.h"
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

// The positions, or the colours, of what the node sends, in drawing order.
std::vector<std::vector<float>> Sent(kov::ISceneNode& node, int iToken = GL_POINT_TOKEN, bool bColour = false) {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    std::vector<std::vector<float>> Points;
    for (const SFeedbackPrimitive& primitive : CaptureFeedback([&] { node.Draw(); })) {
        for (const SFeedbackVertex& v : primitive.Vertices) {
            if (primitive.iToken == iToken) {
                Points.push_back(bColour ? std::vector<float>{v.r, v.g, v.b} : std::vector<float>{v.x, v.y, v.z});
            }
        }
    }
    return Points;
}

void ExpectNear(const std::vector<float>& Actual, const std::vector<float>& Expected, float fTolerance = 1e-4f) {
    ASSERT_EQ(Actual.size(), Expected.size());
    for (size_t i = 0; i < Actual.size(); ++i) {
        EXPECT_NEAR(Actual[i], Expected[i], fTolerance) << "component " << i;
    }
}

std::vector<float> Light(int iLight, GLenum eName, size_t uCount = 4) {
    std::vector<float> Value(4);
    glGetLightfv(GL_LIGHT0 + iLight, eName, Value.data());
    return {Value.begin(), Value.begin() + uCount};
}

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
    const auto Points = Sent(root);
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

TEST(Scene, LightsAreGivenInWorldCoordinatesWithTheirColoursSpotAndSwitches) {
    AssignSettingsDefaults();
    CSettings& settings = GetSettings();
    SetVector(&settings.vSpotDir, 0.3f, -1.0f, 0.2f);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(3.0, 20.0, 9.0, 1.0, 0.0, -2.0, 0.0, 1.0, 0.0);  // world and eye coordinates differ
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    const auto ToEye = [&m](float x, float y, float z, float w) {
        std::vector<float> Eye(4);
        for (int i = 0; i < 4; ++i) {
            Eye[i] = m[i] * x + m[4 + i] * y + m[8 + i] * z + m[12 + i] * w;
        }
        return Eye;
    };
    kov::CScene scene;
    EXPECT_TRUE(scene.Draw());
    ExpectNear(Light(0, GL_POSITION), ToEye(0, 2.5f, 0, 1));
    ExpectNear(Light(1, GL_POSITION), ToEye(9.5f, 1.5f, 9.5f, 1));
    ExpectNear(Light(2, GL_POSITION), ToEye(-9.5f, 1.5f, -9.5f, 1));
    ExpectNear(Light(3, GL_POSITION), ToEye(1, -2, 1, 0));
    ExpectNear(Light(0, GL_SPOT_DIRECTION), ToEye(0.3f, -1, 0.2f, 0));
    // Ambient, diffuse and specular; only light 0 is a spot, of 90 degrees and exponent 0.5.
    const std::vector<float> COLOURS[4][3] = {{{0.2f, 0.2f, 0.2f, 1}, {1, 1, 1, 1}, {1, 1, 1, 1}},
                                              {{0.5f, 0, 0, 1}, {0.5f, 0, 0, 1}, {0.5f, 0, 0, 1}},
                                              {{0, 0.5f, 0, 1}, {0, 0.5f, 0, 1}, {0, 0.5f, 0, 1}},
                                              {{0.5f, 0.5f, 0.5f, 1}, {0.5f, 0.5f, 0.5f, 1}, {0.5f, 0.5f, 0.5f, 1}}};
    for (int i = 0; i < 4; ++i) {
        for (int k = 0; k < 3; ++k) {
            ExpectNear(Light(i, GL_AMBIENT + k), COLOURS[i][k], 1e-6f);
        }
        ExpectNear({Light(i, GL_SPOT_CUTOFF, 1)[0], Light(i, GL_SPOT_EXPONENT, 1)[0]},
                   {i == 0 ? 90.0f : 180.0f, i == 0 ? 0.5f : 0.0f}, 0.0f);
    }
    // The switches follow the settings, with lighting off too; a cut-off
    // OpenGL refuses keeps the last cone until 180 is reached.
    settings.bLighting = false;
    settings.fSpotCutoff = 91.0f;
    for (int i = 0; i < 4; ++i) {
        settings.bLightOn[i] = i % 2 == 1;
    }
    scene.Draw();
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(glIsEnabled(GL_LIGHT0 + i), settings.bLightOn[i]) << i;
    }
    EXPECT_EQ(Light(0, GL_SPOT_CUTOFF, 1)[0], 90.0f);
    settings.fSpotCutoff = 180.0f;
    scene.Draw();
    EXPECT_EQ(Light(0, GL_SPOT_CUTOFF, 1)[0], 180.0f);
}

TEST(Stars, AThousandDimPointsAroundTheNodeThatNeverHideTheScene) {
    AssignSettingsDefaults();
    kov::ISceneNode root;
    kov::CStars stars;
    stars.SetPosition(3.0f, -2.0f, 7.0f);
    root.Children.push_back(&stars);
    const auto Points = Sent(root), Colours = Sent(root, GL_POINT_TOKEN, true);
    ASSERT_EQ(Points.size(), static_cast<size_t>(STAR_COUNT));
    for (const int i : {0, 1, 999}) {
        ExpectNear(Points[i], {3.0f + stars.vStars[i].x, -2.0f + stars.vStars[i].y, 7.0f + stars.vStars[i].z});
    }
    ExpectNear(Colours[0], {0.1f, 0.1f, 0.2f}, 1e-6f);  // brightening with the index
    ExpectNear(Colours[500], {0.35f, 0.35f, 0.45f}, 1e-6f);
    ExpectNear(Colours[999], {0.5995f, 0.5995f, 0.6995f}, 1e-6f);
    // Smooth points of 3 pixels; lighting comes back only when switched on;
    // the depth buffer is clear for what follows.
    for (const bool bLighting : {false, true}) {
        GetSettings().bLighting = bLighting;
        glDisable(GL_POINT_SMOOTH);
        glEnable(GL_LIGHTING);
        glClearDepth(0.25);
        glClear(GL_DEPTH_BUFFER_BIT);
        glClearDepth(1.0);
        EXPECT_TRUE(stars.Draw());
        GLfloat fDepth = 0.0f;
        glReadPixels(512, 384, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &fDepth);
        EXPECT_EQ(std::make_tuple(glIsEnabled(GL_LIGHTING), glIsEnabled(GL_POINT_SMOOTH), GetInteger(GL_POINT_SIZE),
                                  fDepth),
                  std::make_tuple(GLboolean(bLighting), GLboolean(GL_TRUE), 3, 1.0f));
    }
}

TEST(BallNode, ASphereOfTheRadiusInTheTreeUntexturedWithTheSettingsTessellation) {
    AssignSettingsDefaults();
    kov::CBall ball;
    ball.fRadius = 0.475f;
    ball.SetScale(2.0f, 2.0f, 2.0f);
    ball.SetPosition(1.5f, 0.5f, -2.5f);
    kov::ISceneNode board;
    board.Children.push_back(&ball);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    const auto Vertices = Sent(board, GL_POLYGON_TOKEN);
    const auto Compare = [](size_t k) { return [k](const auto& a, const auto& b) { return a[k] < b[k]; }; };
    EXPECT_NEAR((*std::max_element(Vertices.begin(), Vertices.end(), Compare(0)))[0], 1.5f + 0.475f, 1e-3f);
    EXPECT_NEAR((*std::min_element(Vertices.begin(), Vertices.end(), Compare(1)))[1], 0.025f, 1e-3f);  // afloat
    // GLU draws a fan at each pole and two triangles a slice for every stack between.
    GetSettings().iSlices = 9;
    GetSettings().iStacks = 12;
    EXPECT_EQ(Sent(ball, GL_POLYGON_TOKEN).size(), 3u * 2u * 9u * 11u);
    // The texture the board left bound does not show on the ball.
    GLuint uiTexture = 0;
    glGenTextures(1, &uiTexture);
    glBindTexture(GL_TEXTURE_2D, uiTexture);
    EXPECT_TRUE(ball.Draw());
    EXPECT_EQ(GetInteger(GL_TEXTURE_BINDING_2D), 0);
    EXPECT_TRUE(glIsEnabled(GL_NORMALIZE));
    glDeleteTextures(1, &uiTexture);
}
