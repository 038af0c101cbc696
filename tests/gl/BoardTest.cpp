// The board and the box against real OpenGL: their quads in feedback mode,
// the normal each is lit with, the textures seen from above, and the runs of
// cells a view leaves out.
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "board/Board.h"
#include "board/Box.h"
#include "board/Texture.h"
#include "scene/ViewVolume.h"
#include "support/GlTest.h"
#include "support/TempFile.h"

namespace {

using SVector = std::array<float, 3>;

struct SQuad {
    std::vector<SFeedbackVertex> v;
    SVector vLit;  // the axis whose light alone lights it fully; 0 for none
};

// A node's quads. One white directional light from each axis in turn, on a
// white, purely diffuse material, lights a unit axis normal fully from exactly one.
std::vector<SQuad> QuadsOf(kov::ISceneNode& node) {
    const GLfloat BLACK[4] = {0, 0, 0, 1}, WHITE[4] = {1, 1, 1, 1};
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 0);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, BLACK);
    for (const GLenum eColor : {GL_AMBIENT, GL_DIFFUSE, GL_SPECULAR, GL_EMISSION}) {
        glLightfv(GL_LIGHT0, eColor, eColor == GL_DIFFUSE ? WHITE : BLACK);
        glMaterialfv(GL_FRONT_AND_BACK, eColor, eColor == GL_DIFFUSE ? WHITE : BLACK);
    }
    std::vector<SQuad> Quads;
    for (const SVector& vAxis : {SVector{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}}) {
        const GLfloat POSITION[4] = {vAxis[0], vAxis[1], vAxis[2], 0.0f};
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glLightfv(GL_LIGHT0, GL_POSITION, POSITION);
        const auto Captured = CapturedQuads(CaptureFeedback([&node] { node.Draw(); }));
        Quads.resize(Captured.size(), SQuad{{}, {0, 0, 0}});
        for (size_t i = 0; i < Captured.size(); ++i) {
            Quads[i].v = Captured[i];
            const bool bLit = std::all_of(Captured[i].begin(), Captured[i].end(), [](auto& v) { return v.r > 0.99f; });
            Quads[i].vLit = bLit ? vAxis : Quads[i].vLit;
        }
    }
    glDisable(GL_LIGHTING);
    return Quads;
}

// The axis normal of the side from which the corners run counter-clockwise.
SVector WindingNormal(const std::vector<SFeedbackVertex>& q) {
    const float ax = q[1].x - q[0].x, ay = q[1].y - q[0].y, az = q[1].z - q[0].z;
    const float bx = q[2].x - q[0].x, by = q[2].y - q[0].y, bz = q[2].z - q[0].z;
    const SVector n = {ay * bz - az * by, az * bx - ax * bz, ax * by - ay * bx};
    const float fLength = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    return {std::round(n[0] / fLength), std::round(n[1] / fLength), std::round(n[2] / fLength)};
}

// The texture lies on the quad without shear and spans [0, fMaxS] x [0, fMaxT].
void ExpectTextureSpan(const std::vector<SFeedbackVertex>& q, float fMaxS, float fMaxT, size_t uQuad) {
    const auto S = std::minmax({q[0].s, q[1].s, q[2].s, q[3].s}), T = std::minmax({q[0].t, q[1].t, q[2].t, q[3].t});
    const std::array<float, 6> ACTUAL = {S.first, S.second, T.first, T.second, q[0].s + q[2].s - q[1].s - q[3].s,
                                         q[0].t + q[2].t - q[1].t - q[3].t};
    EXPECT_EQ(ACTUAL, (std::array<float, 6>{0, fMaxS, 0, fMaxT, 0, 0})) << "quad " << uQuad;
}

void LoadBoard(kov::CBoard& board, const std::string& sLevel) {
    const CTempFile File(sLevel, ".txt");
    EXPECT_TRUE(board.LoadLevel(File.Path()));
}

// A 1 x 1 texture per slot whose red is 10 + 40 x the slot, shown unlit.
void MakeSlotTextures(GLuint* pTextures) {
    glDisable(GL_LIGHTING);
    glColor3f(1.0f, 1.0f, 1.0f);
    glGenTextures(TEX_COUNT, pTextures);
    for (int i = 0; i < TEX_COUNT; ++i) {
        const GLubyte ubTexel[4] = {static_cast<GLubyte>(10 + 40 * i), 0, 0, 0};
        glBindTexture(GL_TEXTURE_2D, pTextures[i]);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, ubTexel);
    }
}

// The slot showing on each cell seen from straight above, one pixel a cell,
// the first row first; -1 where none shows.
std::vector<int> SlotsSeenFromAbove(kov::CBoard& board) {
    glViewport(0, 0, board.iWidth, board.iHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-board.iWidth * 0.5, board.iWidth * 0.5, -board.iHeight * 0.5, board.iHeight * 0.5, -10.0, 10.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRotatef(90.0f, 1.0f, 0.0f, 0.0f);  // the first row at the top
    glEnable(GL_TEXTURE_2D);
    glClear(GL_COLOR_BUFFER_BIT);
    board.Draw();
    std::vector<GLubyte> Red(static_cast<size_t>(board.iWidth * board.iHeight));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, board.iWidth, board.iHeight, GL_RED, GL_UNSIGNED_BYTE, Red.data());
    std::vector<int> Slots;
    for (int y = board.iHeight - 1; y >= 0; --y) {
        for (int x = 0; x < board.iWidth; ++x) {
            const int iRed = Red[y * board.iWidth + x];
            Slots.push_back(iRed % 40 == 10 ? iRed / 40 : -1);
        }
    }
    glViewport(0, 0, 1024, 768);
    return Slots;
}

class CFailingNode : public kov::ISceneNode {
public:
    bool Draw() override {
        glBegin(GL_POINTS);
        glVertex3f(1.0f, 0.0f, 0.0f);
        glEnd();
        return false;
    }
};

}  // namespace

TEST(BoardDraw, WallBlocksShowTheirTopAndOpenSidesAndFloorsRunTheTextureOn) {
    const struct {
        const char* szLevel;
        size_t uQuads;
    } CASES[] = {{"1\n1\nX\n", 5}, {"2\n1\nXX\n", 8}, {"1\n2\nX\nX\n", 8}, {"3\n3\nXXX\nX.X\nXXX\n", 25},
                 {"5\n3\n.....\n..X..\n.....\n", 19}, {"0\n0\n", 0}};
    for (const auto& c : CASES) {
        SCOPED_TRACE(c.szLevel);
        kov::CBoard board;
        LoadBoard(board, c.szLevel);
        const std::vector<SQuad> Quads = QuadsOf(board);
        ASSERT_EQ(Quads.size(), c.uQuads);
        for (size_t i = 0; i < Quads.size(); ++i) {
            const auto& q = Quads[i].v;
            EXPECT_EQ(Quads[i].vLit, WindingNormal(q)) << "quad " << i;  // lit on the side it is wound for
            // Touching walls hide the side between them, in the plane x = 0 or z = 0.
            const float fSumX = q[0].x + q[1].x + q[2].x + q[3].x, fSumZ = q[0].z + q[1].z + q[2].z + q[3].z;
            EXPECT_FALSE(c.uQuads == 8 && std::fabs(fSumX) + std::fabs(fSumZ) < 1e-4f) << "quad " << i;
            const bool bFloor = q[0].y == 0.0f && q[2].y == 0.0f;
            if (!bFloor) {
                ExpectTextureSpan(q, 0.5f, 0.5f, i);  // walls: the lower left quarter of the image
            }
            for (const SFeedbackVertex& v : q) {
                // Inside the field, where odd sizes end on half units; floors run the texture on.
                EXPECT_LE(std::fabs(v.x), board.iWidth * 0.5f + 1e-4f);
                EXPECT_LE(std::fabs(v.z), board.iHeight * 0.5f + 1e-4f);
                EXPECT_TRUE(!bFloor || (std::fabs(v.s - v.x) < 1e-4f && std::fabs(v.t + v.z) < 1e-4f)) << i;
            }
        }
    }
}

TEST(BoardDraw, EachCellShowsTheTextureOfItsTileAndTheRespawnCellTheStartMark) {
    kov::CBoard board;
    LoadBoard(board, "5\n3\n.sZX.\n.S.O.\nXXs..\n");
    MakeSlotTextures(board.uiTexture);
    const int W = TEX_WOOD, L = TEX_WALL, H = TEX_HOLE, S = TEX_START, G = TEX_GOAL, V = TEX_SAVE;
    EXPECT_EQ(SlotsSeenFromAbove(board), (std::vector<int>{W, V, G, L, W, W, S, W, H, W, L, L, V, W, W}));
    // The respawn cell moved on to a save cell: the start mark goes with it.
    board.iStartX = 2;
    board.iStartY = 2;
    EXPECT_EQ(SlotsSeenFromAbove(board), (std::vector<int>{W, V, G, L, W, W, V, W, H, W, L, L, S, W, W}));
    board.iStartX = 3;  // on a hole it shows too, but a wall has no floor to carry it
    board.iStartY = 1;
    EXPECT_EQ(SlotsSeenFromAbove(board)[8], S);
    board.iStartY = 0;
    EXPECT_EQ(SlotsSeenFromAbove(board)[3], L);
    glDeleteTextures(TEX_COUNT, board.uiTexture);
}

TEST(BoardDraw, TiltsAboutZThenXCarryingItsChildrenAndReturnsTheirResult) {
    kov::CBoard board;
    LoadBoard(board, "4\n4\n....\n....\n....\n....\n");
    CFailingNode child;
    board.Children.push_back(&child);
    board.fTiltZ = 2.0f;
    board.fTiltX = -2.0f;
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    bool bResult = true;
    const std::vector<SFeedbackPrimitive> Primitives = CaptureFeedback([&] { bResult = board.Draw(); });
    EXPECT_FALSE(bResult);
    // glRotatef about z, then about x: a point turns about x (by -2 degrees) first.
    const float c = std::cos(2.0f * 3.14159265f / 180.0f), s = std::sin(2.0f * 3.14159265f / 180.0f);
    const auto Turn = [c, s](float x, float y, float z) {
        const float y1 = y * c + z * s;
        return std::array<float, 3>{x * c - y1 * s, x * s + y1 * c, z * c - y * s};
    };
    const SFeedbackVertex vFar = CapturedQuads(Primitives)[15][2];   // the last cell's corner (2, 0, 2)
    const SFeedbackVertex& vPoint = Primitives.back().Vertices[0];   // the child's (1, 0, 0)
    const std::array<float, 3> EXPECTED[2] = {Turn(2, 0, 2), Turn(1, 0, 0)};
    for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR((&vFar.x)[k], EXPECTED[0][k], 1e-4) << k;
        EXPECT_NEAR((&vPoint.x)[k], EXPECTED[1][k], 1e-4) << k;
    }
}

TEST(BoardDraw, RunsOfCellsOutsideTheViewAreLeftOutWithoutChangingThePicture) {
    kov::CBoard board;
    std::string sLevel = "100\n100\n";
    for (int i = 0; i < 100 * 100; ++i) {
        sLevel += (i * 7 + i / 100 * 3) % 11 == 0 ? 'X' : ".sZO"[(i + i / 100) % 4];
        sLevel += i % 100 == 99 ? "\n" : "";
    }
    LoadBoard(board, sLevel);
    MakeSlotTextures(board.uiTexture);
    board.fTiltZ = 1.5f;
    // The reference: the same commands recorded while the whole board lies in
    // view, so that nothing is left out, and played back under the real view.
    const GLuint uiWhole = glGenLists(1);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-100.0, 100.0, -100.0, 100.0, -100.0, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glNewList(uiWhole, GL_COMPILE);
    board.Draw();
    glEndList();
    // Zoomed in and shifted off the centre.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, 1024.0 / 768.0, 0.1, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(14.0, 7.0, 22.0, 9.0, 0.0, 12.0, 0.0, 1.0, 0.0);
    const float fMin[3] = {-50, 0, -50}, fMax[3] = {-40, 1, -49};  // the far corner's run
    ASSERT_TRUE(CViewVolume().IsBoxOutside(fMin, fMax));
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);
    std::vector<GLubyte> Pictures[2];
    for (int i = 0; i < 2; ++i) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glPushMatrix();
        i == 0 ? static_cast<void>(board.Draw()) : glCallList(uiWhole);
        glPopMatrix();
        Pictures[i] = ReadWindow();
    }
    EXPECT_TRUE(Pictures[0] == Pictures[1]);
    EXPECT_GT(std::count(Pictures[0].begin(), Pictures[0].end(), 10), 100000);  // much wooden floor shows
    glDisable(GL_DEPTH_TEST);
    glDeleteLists(uiWhole, 1);
    glDeleteTextures(TEX_COUNT, board.uiTexture);
}

TEST(ViewVolume, LeavesOutOnlyBoxesWhollyBeyondOnePlane) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, 1024.0 / 768.0, 0.1, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(0.0, 23.54, 8.42, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);  // the start view
    const struct {
        float fMin[3], fMax[3];
        bool bOutside;
    } CASES[] = {{{-10, 0, -10}, {-9, 1, -9}, false}, {{-60, 0, 0}, {-5, 1, 1}, false}, {{-60, 0, 0}, {-50, 1, 1}, true},
                 {{50, 0, 0}, {60, 1, 1}, true},      {{-5, 0, 40}, {5, 1, 41}, true},  {{-5, 0, -200}, {5, 1, -190}, true},
                 {{-5, 40, 0}, {5, 41, 1}, true},     {{-1, 22, 7}, {1, 25, 10}, false}};
    const CViewVolume view;
    for (const auto& c : CASES) {
        EXPECT_EQ(view.IsBoxOutside(c.fMin, c.fMax), c.bOutside) << c.fMin[0] << ", " << c.fMin[1] << ", " << c.fMin[2];
    }
}

TEST(BoxDraw, ThirteenFacesSizedByTheWidthEachLitAsListed) {
    const struct {
        int iWidth, iHeight;
        float fRim, fBottom, fTop;
    } CASES[] = {{20, 10, 0.4f, -1.5f, 0.8f}, {40, 30, 0.8f, -2.5f, 1.6f}, {0, 0, 0.2f, -1.0f, 0.4f}};  // 0: unset
    // In drawing order: bottom plate, outer walls, then rim and inner wall by turns, and their normals.
    const char* const KINDS = "BOOOORIRIRIRI";
    const SVector NORMALS[13] = {{0, 1, 0}, {-1, 0, 0}, {1, 0, 0}, {0, 0, -1}, {0, 0, 1}, {0, 1, 0}, {1, 0, 0},
                                 {0, 1, 0}, {-1, 0, 0}, {0, 1, 0}, {0, 0, 1},  {0, 1, 0}, {0, 0, 1}};
    for (const auto& c : CASES) {
        kov::CBox box;
        box.iWidth = c.iWidth > 0 ? c.iWidth : box.iWidth;
        box.iHeight = c.iWidth > 0 ? c.iHeight : box.iHeight;
        const float fX = box.iWidth * 0.5f, fZ = box.iHeight * 0.5f;
        const std::vector<SQuad> Quads = QuadsOf(box);
        ASSERT_EQ(Quads.size(), 13u);
        for (size_t i = 0; i < 13; ++i) {
            const char cKind = KINDS[i];
            EXPECT_EQ(Quads[i].vLit, NORMALS[i]) << c.iWidth << ": face " << i;
            ExpectTextureSpan(Quads[i].v, cKind == 'O' ? 1.0f : cKind == 'R' ? 0.1f : 0.5f,
                              cKind == 'O' ? 1.0f : cKind == 'B' ? 0.5f : 5.0f, i);
            for (const SFeedbackVertex& v : Quads[i].v) {
                // Every corner is an outer bottom, an outer top or an inner top one.
                const auto At = [](float fValue, float fExpected) { return std::fabs(fValue - fExpected) < 1e-4f; };
                const bool bOuter = At(std::fabs(v.x), fX + c.fRim) && At(std::fabs(v.z), fZ + c.fRim);
                const bool bInner = At(std::fabs(v.x), fX) && At(std::fabs(v.z), fZ);
                const bool bBottom = At(v.y, c.fBottom), bTop = At(v.y, c.fTop);
                EXPECT_TRUE(bOuter ? bBottom != bTop : bInner && bTop) << c.iWidth << ": face " << i;
                EXPECT_TRUE((cKind != 'B' || bBottom) && (cKind != 'R' || bTop) && (cKind != 'I' || bInner == bTop))
                    << c.iWidth << ": face " << i;  // inner walls run from the outer bottom up to the rim
            }
        }
    }
}

TEST(BoxDraw, StaysLevelWhileTheBoardTiltsInsideBindsItsTextureAndReturnsTheChildren) {
    kov::ISceneNode root;
    kov::CBox box;
    kov::CBoard board;
    LoadBoard(board, "2\n2\n..\n..\n");
    box.iWidth = box.iHeight = 2;
    root.Children.push_back(&box);
    box.Children.push_back(&board);
    const std::vector<SQuad> Flat = QuadsOf(root);
    board.fTiltZ = 2.0f;
    const std::vector<SQuad> Tilted = QuadsOf(root);
    ASSERT_EQ(Tilted.size(), 13u + 4u);
    for (size_t i = 0; i < 13; ++i) {
        EXPECT_EQ(Tilted[i].v[2].y, Flat[i].v[2].y) << i;
    }
    EXPECT_GT(std::fabs(Tilted[16].v[2].y), 0.03f);  // the board's corner (1, 0, 1) lifts
    glGenTextures(1, &box.uiTexture);
    CFailingNode child;
    box.Children = {&child};
    EXPECT_FALSE(box.Draw());
    EXPECT_EQ(static_cast<GLuint>(GetInteger(GL_TEXTURE_BINDING_2D)), box.uiTexture);
    glDeleteTextures(1, &box.uiTexture);
}
