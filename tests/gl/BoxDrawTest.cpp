#include <GL/gl.h>

#include <gtest/gtest.h>

#include <cmath>

#include "board/Board.h"
#include "board/Box.h"
#include "gl/BoardDrawProbe.h"
#include "support/TempFile.h"

namespace {

std::vector<SQuad> QuadsOf(kov::ISceneNode& node) {
    return CaptureQuadsOf([&node] { node.Draw(); });
}

// The twelve corners of the box for a 20 x 10 field: rim 0.4, bottom -1.5, top 0.8.
enum { B0, B1, B2, B3, U0, U1, U2, U3, I0, I1, I2, I3 };
const float BOX_20_BY_10[12][3] = {
    {-10.4f, -1.5f, -5.4f}, {-10.4f, -1.5f, 5.4f}, {10.4f, -1.5f, 5.4f}, {10.4f, -1.5f, -5.4f},
    {-10.4f, 0.8f, -5.4f},  {-10.4f, 0.8f, 5.4f},  {10.4f, 0.8f, 5.4f},  {10.4f, 0.8f, -5.4f},
    {-10.0f, 0.8f, -5.0f},  {-10.0f, 0.8f, 5.0f},  {10.0f, 0.8f, 5.0f},  {10.0f, 0.8f, -5.0f},
};

struct SNamedCorner {
    int iCorner;
    float s, t;
};

// The thirteen faces in drawing order, with the normal each is lit with.
const struct {
    SNamedCorner Corners[4];
    SDirection vNormal;
} BOX_FACES[13] = {
    {{{B0, 0, 0.5f}, {B1, 0, 0}, {B2, 0.5f, 0}, {B3, 0.5f, 0.5f}}, {{0, 1, 0}}},  // bottom plate
    {{{B0, 1, 0}, {B1, 0, 0}, {U1, 0, 1}, {U0, 1, 1}}, {{-1, 0, 0}}},              // outer walls
    {{{B2, 1, 0}, {B3, 0, 0}, {U3, 0, 1}, {U2, 1, 1}}, {{1, 0, 0}}},
    {{{B3, 1, 0}, {B0, 0, 0}, {U0, 0, 1}, {U3, 1, 1}}, {{0, 0, -1}}},
    {{{B1, 1, 0}, {B2, 0, 0}, {U2, 0, 1}, {U1, 1, 1}}, {{0, 0, 1}}},
    {{{U0, 0, 0}, {U1, 0, 5}, {I1, 0.1f, 5}, {I0, 0.1f, 0}}, {{0, 1, 0}}},  // rim -x
    {{{B0, 0, 0}, {B1, 0, 5}, {I1, 0.5f, 5}, {I0, 0.5f, 0}}, {{1, 0, 0}}},  // inner wall -x
    {{{U3, 0, 0}, {U2, 0, 5}, {I2, 0.1f, 5}, {I3, 0.1f, 0}}, {{0, 1, 0}}},  // rim +x
    {{{B3, 0, 0}, {B2, 0, 5}, {I2, 0.5f, 5}, {I3, 0.5f, 0}}, {{-1, 0, 0}}}, // inner wall +x
    {{{U1, 0, 0}, {U2, 0, 5}, {I2, 0.1f, 5}, {I1, 0.1f, 0}}, {{0, 1, 0}}},  // rim +z
    {{{B1, 0, 0}, {B2, 0, 5}, {I2, 0.5f, 5}, {I1, 0.5f, 0}}, {{0, 0, 1}}},  // inner wall +z, as listed
    {{{U3, 0, 0}, {U0, 0, 5}, {I0, 0.1f, 5}, {I3, 0.1f, 0}}, {{0, 1, 0}}},  // rim -z
    {{{B3, 0, 0}, {B0, 0, 5}, {I0, 0.5f, 5}, {I3, 0.5f, 0}}, {{0, 0, 1}}},  // inner wall -z, into the box
};

// Lowest and highest y, and the outer and inner x of the -x rim.
struct SBoxExtent {
    float fBottom;
    float fTop;
    float fOuterX;
    float fInnerX;
};

SBoxExtent ExtentOf(kov::CBox& box) {
    const std::vector<SQuad> Quads = QuadsOf(box);
    EXPECT_EQ(Quads.size(), 13u);
    SBoxExtent extent = {1e9f, -1e9f, 1e9f, -1e9f};
    for (const SQuad& quad : Quads) {
        for (const SFeedbackVertex& v : quad) {
            extent.fBottom = std::fmin(extent.fBottom, v.y);
            extent.fTop = std::fmax(extent.fTop, v.y);
            extent.fOuterX = std::fmin(extent.fOuterX, v.x);
        }
    }
    // The -x rim, face 6, ends at the inner top corners.
    extent.fInnerX = Quads[5][2].x;
    return extent;
}

class CResultNode : public kov::ISceneNode {
public:
    bool Draw() override { return false; }
};

}  // namespace

TEST(BoxDraw, ATwentyByTenBoxHasItsThirteenFacesAsListed) {
    kov::CBox box;
    box.iWidth = 20;
    box.iHeight = 10;
    const std::vector<SQuad> Quads = QuadsOf(box);
    ASSERT_EQ(Quads.size(), 13u);
    for (size_t i = 0; i < 13; ++i) {
        std::array<SExpectedCorner, 4> Expected;
        for (size_t c = 0; c < 4; ++c) {
            const SNamedCorner& corner = BOX_FACES[i].Corners[c];
            const float* pPoint = BOX_20_BY_10[corner.iCorner];
            Expected[c] = {pPoint[0], pPoint[1], pPoint[2], corner.s, corner.t};
        }
        ExpectCorners(Quads[i], Expected, i);
    }
}

TEST(BoxDraw, EachFaceIsLitWithItsNormal) {
    kov::CBox box;
    box.iWidth = 20;
    box.iHeight = 10;
    const std::vector<SDirection> Normals = CaptureAxisNormalsOf([&box] { box.Draw(); });
    ASSERT_EQ(Normals.size(), 13u);
    for (size_t i = 0; i < 13; ++i) {
        ExpectDirection(Normals[i], BOX_FACES[i].vNormal, "lit normal", i);
    }
    // The -z inner wall faces into the box, towards +z, like its sisters on -x and +x face inwards.
    ExpectDirection(Normals[12], {{0, 0, 1}}, "inner wall -z", 12);
}

TEST(BoxDraw, TheWidthAloneSizesRimBottomAndTop) {
    kov::CBox box;
    box.iWidth = 40;
    box.iHeight = 10;
    const SBoxExtent wide = ExtentOf(box);
    EXPECT_NEAR(wide.fBottom, -2.5f, 1e-4);
    EXPECT_NEAR(wide.fTop, 1.6f, 1e-4);
    EXPECT_NEAR(wide.fInnerX - wide.fOuterX, 0.8f, 1e-4);
    EXPECT_NEAR(wide.fInnerX, -20.0f, 1e-4);

    box.iHeight = 30;
    const SBoxExtent deep = ExtentOf(box);
    EXPECT_NEAR(deep.fBottom, wide.fBottom, 1e-4);
    EXPECT_NEAR(deep.fTop, wide.fTop, 1e-4);
    EXPECT_NEAR(deep.fInnerX - deep.fOuterX, 0.8f, 1e-4);

    // Unset, the box is sized for a 10 x 10 field.
    kov::CBox fresh;
    const SBoxExtent standard = ExtentOf(fresh);
    EXPECT_NEAR(standard.fBottom, -1.0f, 1e-4);
    EXPECT_NEAR(standard.fTop, 0.4f, 1e-4);
    EXPECT_NEAR(standard.fOuterX, -5.2f, 1e-4);
}

TEST(BoxDraw, TheBoxStaysLevelWhileTheBoardTiltsInside) {
    kov::ISceneNode root;
    kov::CBox box;
    kov::CBoard board;
    CTempFile level("2\n2\n..\n..\n", ".txt");
    ASSERT_TRUE(board.LoadLevel(level.Path()));
    box.iWidth = 2;
    box.iHeight = 2;
    root.Children.push_back(&box);
    box.Children.push_back(&board);

    const std::vector<SQuad> Level = QuadsOf(root);
    board.fTiltZ = 2.0f;
    board.fTiltX = -2.0f;
    const std::vector<SQuad> Tilted = QuadsOf(root);
    ASSERT_EQ(Level.size(), 13u + 4u);
    ASSERT_EQ(Tilted.size(), Level.size());
    for (size_t i = 0; i < 13; ++i) {
        for (size_t c = 0; c < 4; ++c) {
            EXPECT_NEAR(Tilted[i][c].x, Level[i][c].x, 1e-5);
            EXPECT_NEAR(Tilted[i][c].y, Level[i][c].y, 1e-5);
            EXPECT_NEAR(Tilted[i][c].z, Level[i][c].z, 1e-5);
        }
    }
    // The board's corner (1, 0, 1) is lifted out of the floor's plane.
    EXPECT_NEAR(Level[16][2].y, 0.0f, 1e-5);
    EXPECT_GT(std::fabs(Tilted[16][2].y), 0.03f);
}

TEST(BoxDraw, BindsItsTextureAndReturnsWhatItsChildrenReturn) {
    kov::CBox box;
    GLuint uiName = 0;
    glGenTextures(1, &uiName);
    box.uiTexture = uiName;
    glBindTexture(GL_TEXTURE_2D, 0);
    EXPECT_TRUE(box.Draw());
    GLint iBound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &iBound);
    EXPECT_EQ(static_cast<GLuint>(iBound), uiName);

    CResultNode child;
    box.Children.push_back(&child);
    EXPECT_FALSE(box.Draw());
    glDeleteTextures(1, &uiName);
}
