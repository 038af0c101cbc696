#include <GL/gl.h>

#include <gtest/gtest.h>

#include <cmath>

#include "board/Board.h"
#include "board/Box.h"
#include "gl/BoardDrawProbe.h"
#include "support/TempFile.h"

namespace {

// The twelve corners of the box around a W x H field: outer bottom, outer top,
// inner top (over the field's border).
enum { B0, B1, B2, B3, U0, U1, U2, U3, I0, I1, I2, I3 };
std::array<SDirection, 12> BoxCorners(float fW, float fH, float fRim, float fBottom, float fTop) {
    const float fX = fW / 2, fZ = fH / 2, fOuterX = fX + fRim, fOuterZ = fZ + fRim;
    return {{{{-fOuterX, fBottom, -fOuterZ}}, {{-fOuterX, fBottom, fOuterZ}}, {{fOuterX, fBottom, fOuterZ}},
             {{fOuterX, fBottom, -fOuterZ}}, {{-fOuterX, fTop, -fOuterZ}}, {{-fOuterX, fTop, fOuterZ}},
             {{fOuterX, fTop, fOuterZ}}, {{fOuterX, fTop, -fOuterZ}}, {{-fX, fTop, -fZ}}, {{-fX, fTop, fZ}},
             {{fX, fTop, fZ}}, {{fX, fTop, -fZ}}}};
}

// The thirteen faces in drawing order: each corner with its s, t, and the normal the face is lit with.
const struct {
    struct {
        int iCorner;
        float s, t;
    } Corners[4];
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
    // The -z inner wall faces into the box, towards +z, like its sisters on -x and +x face inwards.
    {{{B3, 0, 0}, {B0, 0, 5}, {I0, 0.5f, 5}, {I3, 0.5f, 0}}, {{0, 0, 1}}},
};

class CResultNode : public kov::ISceneNode {
public:
    bool Draw() override { return false; }
};

}  // namespace

TEST(BoxDraw, EachBoxHasItsThirteenFacesAsListed) {
    // The width alone sizes rim, bottom and top; unset, the box is sized for a 10 x 10 field.
    const struct {
        int iWidth, iHeight;
        float fRim, fBottom, fTop;
    } CASES[] = {{20, 10, 0.4f, -1.5f, 0.8f}, {40, 10, 0.8f, -2.5f, 1.6f}, {40, 30, 0.8f, -2.5f, 1.6f},
                 {0, 0, 0.2f, -1.0f, 0.4f}};
    for (const auto& Case : CASES) {
        SCOPED_TRACE(testing::Message() << Case.iWidth << " x " << Case.iHeight);
        kov::CBox Box;
        if (Case.iWidth > 0) {
            Box.iWidth = Case.iWidth;
            Box.iHeight = Case.iHeight;
        }
        const float fW = Case.iWidth > 0 ? Case.iWidth : 10.0f, fH = Case.iWidth > 0 ? Case.iHeight : 10.0f;
        const std::array<SDirection, 12> CORNERS = BoxCorners(fW, fH, Case.fRim, Case.fBottom, Case.fTop);
        const std::vector<SQuad> Quads = QuadsOf(Box);
        const std::vector<SDirection> Normals = AxisNormalsOf(Box);
        ASSERT_EQ(Quads.size(), 13u);
        ASSERT_EQ(Normals.size(), 13u);
        for (size_t i = 0; i < 13; ++i) {
            std::array<SExpectedCorner, 4> Expected;
            for (size_t c = 0; c < 4; ++c) {
                const auto& corner = BOX_FACES[i].Corners[c];
                const SDirection& vPoint = CORNERS[corner.iCorner];
                Expected[c] = {vPoint[0], vPoint[1], vPoint[2], corner.s, corner.t};
            }
            ExpectCorners(Quads[i], Expected, i);
            ExpectVector(Normals[i], BOX_FACES[i].vNormal, "lit normal", i);
        }
        EXPECT_NEAR(Quads[5][2].x - Quads[5][0].x, Case.fRim, 1e-4);  // the -x rim, U0 to I1
    }
}

TEST(BoxDraw, TheBoxStaysLevelWhileTheBoardTiltsInside) {
    kov::ISceneNode Root;
    kov::CBox Box;
    kov::CBoard Board;
    const CTempFile Level("2\n2\n..\n..\n", ".txt");
    ASSERT_TRUE(Board.LoadLevel(Level.Path()));
    Box.iWidth = 2;
    Box.iHeight = 2;
    Root.Children.push_back(&Box);
    Box.Children.push_back(&Board);

    const std::vector<SQuad> Flat = QuadsOf(Root);
    Board.fTiltZ = 2.0f;
    Board.fTiltX = -2.0f;
    const std::vector<SQuad> Tilted = QuadsOf(Root);
    ASSERT_EQ(Flat.size(), 13u + 4u);
    ASSERT_EQ(Tilted.size(), Flat.size());
    for (size_t i = 0; i < 13; ++i) {
        for (size_t c = 0; c < 4; ++c) {
            EXPECT_NEAR(Tilted[i][c].x, Flat[i][c].x, 1e-5);
            EXPECT_NEAR(Tilted[i][c].y, Flat[i][c].y, 1e-5);
            EXPECT_NEAR(Tilted[i][c].z, Flat[i][c].z, 1e-5);
        }
    }
    // The board's corner (1, 0, 1) is lifted out of the floor's plane.
    EXPECT_NEAR(Flat[16][2].y, 0.0f, 1e-5);
    EXPECT_GT(std::fabs(Tilted[16][2].y), 0.03f);
}

TEST(BoxDraw, BindsItsTextureAndReturnsWhatItsChildrenReturn) {
    kov::CBox Box;
    glGenTextures(1, &Box.uiTexture);
    glBindTexture(GL_TEXTURE_2D, 0);
    EXPECT_TRUE(Box.Draw());
    GLint iBound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &iBound);
    EXPECT_EQ(static_cast<GLuint>(iBound), Box.uiTexture);

    CResultNode Child;
    Box.Children.push_back(&Child);
    EXPECT_FALSE(Box.Draw());
    glDeleteTextures(1, &Box.uiTexture);
}
