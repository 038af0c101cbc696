#include <GL/gl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "board/Board.h"
#include "board/Texture.h"
#include "gl/BoardDrawProbe.h"
#include "support/TempFile.h"

namespace {

constexpr float PI = 3.14159265f;

class BoardDraw : public testing::Test {
protected:
    void Load(const std::string& sLevel) {
        const CTempFile File(sLevel, ".txt");
        EXPECT_TRUE(Board.LoadLevel(File.Path()));
    }

    kov::CBoard Board;
};

// A node that draws one point at (1, 0, 0) and returns a chosen result.
class CPointNode : public kov::ISceneNode {
public:
    bool Draw() override {
        glBegin(GL_POINTS);
        glVertex3f(1.0f, 0.0f, 0.0f);
        glEnd();
        return bResult;
    }
    bool bResult = true;
};

// One colour per texture slot, each a 1 x 1 texture.
const GLubyte SLOT_COLORS[TEX_COUNT][3] = {
    {255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}, {0, 255, 255}, {255, 0, 255},
};
constexpr int PIXELS_PER_CELL = 20;

// Draws the board seen from straight above into the back buffer, one cell per
// PIXELS_PER_CELL square, and returns the texture slot whose colour shows in
// the middle of each cell, [row][column]; -1 where none does.
std::vector<std::vector<int>> SlotsSeenFromAbove(kov::CBoard& board) {
    glViewport(0, 0, board.iWidth * PIXELS_PER_CELL, board.iHeight * PIXELS_PER_CELL);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-board.iWidth * 0.5, board.iWidth * 0.5, -board.iHeight * 0.5, board.iHeight * 0.5, -10.0, 10.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRotatef(90.0f, 1.0f, 0.0f, 0.0f);  // board y towards the eye; the first row at the top
    glEnable(GL_TEXTURE_2D);  // no lighting, no depth test, white: the context's defaults
    glClear(GL_COLOR_BUFFER_BIT);
    board.Draw();

    std::vector<std::vector<int>> Slots(static_cast<size_t>(board.iHeight), std::vector<int>(board.iWidth, -1));
    for (int y = 0; y < board.iHeight; ++y) {
        for (int x = 0; x < board.iWidth; ++x) {
            GLubyte ubPixel[3] = {};
            glReadPixels((2 * x + 1) * PIXELS_PER_CELL / 2, (2 * (board.iHeight - y) - 1) * PIXELS_PER_CELL / 2, 1, 1,
                         GL_RGB, GL_UNSIGNED_BYTE, ubPixel);
            for (int i = 0; i < TEX_COUNT; ++i) {
                if (std::equal(ubPixel, ubPixel + 3, SLOT_COLORS[i])) {
                    Slots[y][x] = i;
                }
            }
        }
    }
    return Slots;
}

}  // namespace

TEST_F(BoardDraw, ASingleWallDrawsItsTopAndFourSidesAsListed) {
    Load("1\n1\nX\n");
    const std::vector<SQuad> Drawn = QuadsOf(Board);
    ASSERT_EQ(Drawn.size(), 5u);
    // top, -x, +x, -z, +z, each from the lower left quarter of the wall image.
    constexpr float H = 0.5f;
    const std::array<SExpectedCorner, 4> CORNERS[5] = {
        {{{-H, 1, -H, 0, H}, {-H, 1, H, 0, 0}, {H, 1, H, H, 0}, {H, 1, -H, H, H}}},
        {{{-H, 0, -H, H, 0}, {-H, 0, H, 0, 0}, {-H, 1, H, 0, H}, {-H, 1, -H, H, H}}},
        {{{H, 0, H, H, 0}, {H, 0, -H, 0, 0}, {H, 1, -H, 0, H}, {H, 1, H, H, H}}},
        {{{H, 0, -H, H, 0}, {-H, 0, -H, 0, 0}, {-H, 1, -H, 0, H}, {H, 1, -H, H, H}}},
        {{{-H, 0, H, H, 0}, {H, 0, H, 0, 0}, {H, 1, H, 0, H}, {-H, 1, H, H, H}}},
    };
    // Each face is lit with its outward normal and wound counter-clockwise seen from it.
    const SDirection OUTWARD[5] = {{{0, 1, 0}}, {{-1, 0, 0}}, {{1, 0, 0}}, {{0, 0, -1}}, {{0, 0, 1}}};
    const std::vector<SDirection> Lit = AxisNormalsOf(Board);
    ASSERT_EQ(Lit.size(), 5u);
    for (size_t i = 0; i < 5; ++i) {
        ExpectCorners(Drawn[i], CORNERS[i], i);
        ExpectVector(Lit[i], OUTWARD[i], "lit normal", i);
        ExpectVector(WindingNormal(Drawn[i]), OUTWARD[i], "winding", i);
    }
}

TEST_F(BoardDraw, NeighbouringWallsHideTheSidesTheyShare) {
    // Side by side along x the blocks touch in the plane x = 0, one behind the other in z = 0.
    for (const bool bAlongX : {true, false}) {
        Load(bAlongX ? "2\n1\nXX\n" : "1\n2\nX\nX\n");
        const std::vector<SQuad> Drawn = QuadsOf(Board);
        EXPECT_EQ(Drawn.size(), 8u) << bAlongX;
        for (const SQuad& quad : Drawn) {
            EXPECT_TRUE(std::any_of(quad.begin(), quad.end(), [bAlongX](const SFeedbackVertex& v) {
                return std::fabs(bAlongX ? v.x : v.z) >= 1e-5f;
            })) << bAlongX;
        }
    }
    // A ring of walls around one floor cell: eight tops, twelve border sides,
    // four sides facing the floor, and the floor.
    Load("3\n3\nXXX\nX.X\nXXX\n");
    EXPECT_EQ(QuadsOf(Board).size(), 25u);
    Load("0\n0\n");
    EXPECT_TRUE(QuadsOf(Board).empty());
}

TEST_F(BoardDraw, AnOddFieldIsCentredOnHalfUnitsWithTheFloorTextureRunningOn) {
    Load("5\n3\n.....\n.....\n.....\n");
    const std::vector<SQuad> Drawn = QuadsOf(Board);
    const std::vector<SDirection> Lit = AxisNormalsOf(Board);
    ASSERT_EQ(Drawn.size(), 15u);
    ASSERT_EQ(Lit.size(), 15u);
    for (size_t i = 0; i < Drawn.size(); ++i) {
        for (const SFeedbackVertex& v : Drawn[i]) {
            EXPECT_LE(std::fabs(v.x), 2.5f + 1e-4f);
            EXPECT_LE(std::fabs(v.z), 1.5f + 1e-4f);
            EXPECT_NEAR(v.y, 0.0f, 1e-5);
            EXPECT_NEAR(v.s, v.x, 1e-5);
            EXPECT_NEAR(v.t, -v.z, 1e-5);
        }
        ExpectVector(WindingNormal(Drawn[i]), {{0, 1, 0}}, "winding", i);
        ExpectVector(Lit[i], {{0, 1, 0}}, "lit normal", i);
    }
    // Rows run along z from the first line of the file, columns along x;
    // corners F0 to F3. The field spans -2.5 to 2.5 by -1.5 to 1.5.
    ExpectCorners(Drawn[0], {{{-2.5f, 0, -1.5f, -2.5f, 1.5f}, {-2.5f, 0, -0.5f, -2.5f, 0.5f},
                              {-1.5f, 0, -0.5f, -1.5f, 0.5f}, {-1.5f, 0, -1.5f, -1.5f, 1.5f}}}, 0);
    ExpectCorners(Drawn[1], {{{-1.5f, 0, -1.5f, -1.5f, 1.5f}, {-1.5f, 0, -0.5f, -1.5f, 0.5f},
                              {-0.5f, 0, -0.5f, -0.5f, 0.5f}, {-0.5f, 0, -1.5f, -0.5f, 1.5f}}}, 1);
    ExpectCorners(Drawn[14], {{{1.5f, 0, 0.5f, 1.5f, -0.5f}, {1.5f, 0, 1.5f, 1.5f, -1.5f},
                               {2.5f, 0, 1.5f, 2.5f, -1.5f}, {2.5f, 0, 0.5f, 2.5f, -0.5f}}}, 14);
}

TEST_F(BoardDraw, TiltsAboutZThenXAndCarriesItsChildren) {
    Load("4\n4\n....\n....\n....\n....\n");
    CPointNode Child;
    Board.Children.push_back(&Child);
    Board.fTiltZ = 2.0f;
    Board.fTiltX = -2.0f;
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    bool bResult = false;
    const std::vector<SFeedbackPrimitive> Primitives = CaptureFeedback([&] { bResult = Board.Draw(); });
    EXPECT_TRUE(bResult);

    // glRotatef about z and then about x: a point is turned about x (by -2 degrees) first.
    const float fCos = std::cos(2.0f * PI / 180.0f), fSin = std::sin(2.0f * PI / 180.0f);
    const auto TurnX = [&](const SDirection& v) {
        return SDirection{v[0], v[1] * fCos + v[2] * fSin, v[2] * fCos - v[1] * fSin};
    };
    const auto TurnZ = [&](const SDirection& v) {
        return SDirection{v[0] * fCos - v[1] * fSin, v[0] * fSin + v[1] * fCos, v[2]};
    };
    const std::vector<SQuad> Drawn = CapturedQuads(Primitives);
    ASSERT_EQ(Drawn.size(), 16u);
    const SFeedbackVertex& vFar = Drawn[15][2];
    ExpectVector({vFar.x, vFar.y, vFar.z}, TurnZ(TurnX({2, 0, 2})), "far corner", 15);
    EXPECT_GT(std::fabs(vFar.x - TurnX(TurnZ({2, 0, 2}))[0]), 1e-3);
    ASSERT_EQ(Primitives.back().iToken, GL_POINT_TOKEN);
    const SFeedbackVertex& vPoint = Primitives.back().Vertices[0];
    ExpectVector({vPoint.x, vPoint.y, vPoint.z}, TurnZ(TurnX({1, 0, 0})), "the child's point", 0);

    Child.bResult = false;
    EXPECT_FALSE(Board.Draw());
}

TEST_F(BoardDraw, EachCellShowsTheTextureOfItsTileAndTheRespawnCellTheStartMark) {
    Load("5\n3\n.sZX.\n.S.O.\nXXs..\n");
    glGenTextures(TEX_COUNT, Board.uiTexture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (int i = 0; i < TEX_COUNT; ++i) {
        glBindTexture(GL_TEXTURE_2D, Board.uiTexture[i]);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, SLOT_COLORS[i]);
    }
    const int W = TEX_WOOD, L = TEX_WALL, H = TEX_HOLE, S = TEX_START, G = TEX_GOAL, V = TEX_SAVE;
    using SRows = std::vector<std::vector<int>>;
    EXPECT_EQ(SlotsSeenFromAbove(Board), (SRows{{W, V, G, L, W}, {W, S, W, H, W}, {L, L, V, W, W}}));

    // The ball has entered the save cell at (2, 2): it shows the start mark, the file's start the save mark.
    Board.iStartX = 2;
    Board.iStartY = 2;
    EXPECT_EQ(SlotsSeenFromAbove(Board), (SRows{{W, V, G, L, W}, {W, V, W, H, W}, {L, L, S, W, W}}));

    // The start mark goes on the respawn cell whatever it holds ...
    Board.iStartX = 3;
    Board.iStartY = 1;
    EXPECT_EQ(SlotsSeenFromAbove(Board)[1][3], S);
    // ... but a wall has no floor to carry it.
    Board.iStartY = 0;
    EXPECT_EQ(SlotsSeenFromAbove(Board), (SRows{{W, V, G, L, W}, {W, V, W, H, W}, {L, L, V, W, W}}));
    glDeleteTextures(TEX_COUNT, Board.uiTexture);
}
