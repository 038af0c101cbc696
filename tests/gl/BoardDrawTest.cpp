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

constexpr double PI = 3.141592653589793;

void Load(kov::CBoard& board, const std::string& sLevel) {
    CTempFile file(sLevel, ".txt");
    EXPECT_TRUE(board.LoadLevel(file.Path()));
}

std::vector<SQuad> QuadsOf(kov::CBoard& board) {
    return CaptureQuadsOf([&board] { board.Draw(); });
}

// A node that draws one point at (1, 0, 0) and returns a chosen result.
class CPointNode : public kov::ISceneNode {
public:
    bool Draw() override {
        glBegin(GL_POINTS);
        glVertex3f(1.0f, 0.0f, 0.0f);
        glEnd();
        ISceneNode::Draw();
        return bResult;
    }

    bool bResult = true;
};

// One colour per texture slot, each a 1 x 1 texture.
const GLubyte SLOT_COLORS[TEX_COUNT][3] = {
    {255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}, {0, 255, 255}, {255, 0, 255},
};
constexpr int PIXELS_PER_CELL = 20;

void GiveSlotColors(kov::CBoard* pBoard) {
    glGenTextures(TEX_COUNT, pBoard->uiTexture);
    for (int i = 0; i < TEX_COUNT; ++i) {
        glBindTexture(GL_TEXTURE_2D, pBoard->uiTexture[i]);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, SLOT_COLORS[i]);
    }
}

// Draws the board seen from straight above into the back buffer, one cell per
// PIXELS_PER_CELL square, and returns the texture slot whose colour shows in
// the middle of each cell, [row][column]; -1 where none does.
std::vector<std::vector<int>> SlotsSeenFromAbove(kov::CBoard& board) {
    const int iPixelsX = board.iWidth * PIXELS_PER_CELL;
    const int iPixelsY = board.iHeight * PIXELS_PER_CELL;
    glViewport(0, 0, iPixelsX, iPixelsY);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-board.iWidth * 0.5, board.iWidth * 0.5, -board.iHeight * 0.5, board.iHeight * 0.5, -10.0, 10.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRotatef(90.0f, 1.0f, 0.0f, 0.0f);  // board y towards the eye; the first row at the top
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glColor3f(1.0f, 1.0f, 1.0f);
    glDrawBuffer(GL_BACK);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    board.Draw();
    glFinish();

    std::vector<GLubyte> Pixels(static_cast<size_t>(iPixelsX * iPixelsY * 3));
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, iPixelsX, iPixelsY, GL_RGB, GL_UNSIGNED_BYTE, Pixels.data());
    std::vector<std::vector<int>> Slots(static_cast<size_t>(board.iHeight), std::vector<int>(board.iWidth, -1));
    for (int y = 0; y < board.iHeight; ++y) {
        for (int x = 0; x < board.iWidth; ++x) {
            const int iPixelX = x * PIXELS_PER_CELL + PIXELS_PER_CELL / 2;
            const int iPixelY = (board.iHeight - 1 - y) * PIXELS_PER_CELL + PIXELS_PER_CELL / 2;
            const GLubyte* pPixel = &Pixels[static_cast<size_t>((iPixelY * iPixelsX + iPixelX) * 3)];
            for (int i = 0; i < TEX_COUNT; ++i) {
                if (std::equal(pPixel, pPixel + 3, SLOT_COLORS[i])) {
                    Slots[y][x] = i;
                }
            }
        }
    }
    return Slots;
}

}  // namespace

TEST(BoardDraw, ASingleWallDrawsItsTopAndFourSidesAsListed) {
    kov::CBoard board;
    Load(board, "1\n1\nX\n");
    const std::vector<SQuad> Quads = QuadsOf(board);
    ASSERT_EQ(Quads.size(), 5u);
    // top, -x, +x, -z, +z, each from the lower left quarter of the wall image.
    ExpectCorners(Quads[0], {{{-0.5f, 1, -0.5f, 0, 0.5f}, {-0.5f, 1, 0.5f, 0, 0}, {0.5f, 1, 0.5f, 0.5f, 0},
                              {0.5f, 1, -0.5f, 0.5f, 0.5f}}}, 0);
    ExpectCorners(Quads[1], {{{-0.5f, 0, -0.5f, 0.5f, 0}, {-0.5f, 0, 0.5f, 0, 0}, {-0.5f, 1, 0.5f, 0, 0.5f},
                              {-0.5f, 1, -0.5f, 0.5f, 0.5f}}}, 1);
    ExpectCorners(Quads[2], {{{0.5f, 0, 0.5f, 0.5f, 0}, {0.5f, 0, -0.5f, 0, 0}, {0.5f, 1, -0.5f, 0, 0.5f},
                              {0.5f, 1, 0.5f, 0.5f, 0.5f}}}, 2);
    ExpectCorners(Quads[3], {{{0.5f, 0, -0.5f, 0.5f, 0}, {-0.5f, 0, -0.5f, 0, 0}, {-0.5f, 1, -0.5f, 0, 0.5f},
                              {0.5f, 1, -0.5f, 0.5f, 0.5f}}}, 3);
    ExpectCorners(Quads[4], {{{-0.5f, 0, 0.5f, 0.5f, 0}, {0.5f, 0, 0.5f, 0, 0}, {0.5f, 1, 0.5f, 0, 0.5f},
                              {-0.5f, 1, 0.5f, 0.5f, 0.5f}}}, 4);

    // Each face is lit with its outward normal and wound counter-clockwise seen from it.
    const SDirection OUTWARD[5] = {{{0, 1, 0}}, {{-1, 0, 0}}, {{1, 0, 0}}, {{0, 0, -1}}, {{0, 0, 1}}};
    const std::vector<SDirection> Normals = CaptureAxisNormalsOf([&] { board.Draw(); });
    ASSERT_EQ(Normals.size(), 5u);
    for (size_t i = 0; i < 5; ++i) {
        ExpectDirection(Normals[i], OUTWARD[i], "lit normal", i);
        ExpectDirection(WindingNormal(Quads[i]), OUTWARD[i], "winding", i);
    }
}

TEST(BoardDraw, NeighbouringWallsHideTheSidesTheyShare) {
    // Side by side along x the blocks touch in the plane x = 0, one behind the other in z = 0.
    const struct {
        const char* szLevel;
        int iAxis;
    } PAIRS[] = {{"2\n1\nXX\n", 0}, {"1\n2\nX\nX\n", 2}};
    for (const auto& pair : PAIRS) {
        kov::CBoard board;
    Load(board, pair.szLevel);
        const std::vector<SQuad> Quads = QuadsOf(board);
        EXPECT_EQ(Quads.size(), 8u) << pair.szLevel;
        for (const SQuad& quad : Quads) {
            bool bInSharedPlane = true;
            for (const SFeedbackVertex& v : quad) {
                const float fCoordinate = pair.iAxis == 0 ? v.x : v.z;
                bInSharedPlane = bInSharedPlane && std::fabs(fCoordinate) < 1e-5f;
            }
            EXPECT_FALSE(bInSharedPlane) << pair.szLevel;
        }
    }
    // A ring of walls around one floor cell: eight tops, twelve border sides,
    // four sides facing the floor, and the floor.
    kov::CBoard ring;
    Load(ring, "3\n3\nXXX\nX.X\nXXX\n");
    EXPECT_EQ(QuadsOf(ring).size(), 25u);
}

TEST(BoardDraw, AnOddFieldIsCentredOnHalfUnitsWithTheFloorTextureRunningOn) {
    kov::CBoard board;
    Load(board, "5\n3\n.....\n.....\n.....\n");
    const std::vector<SQuad> Quads = QuadsOf(board);
    ASSERT_EQ(Quads.size(), 15u);
    float fMinX = 1e9f, fMaxX = -1e9f, fMinZ = 1e9f, fMaxZ = -1e9f;
    for (size_t i = 0; i < Quads.size(); ++i) {
        for (const SFeedbackVertex& v : Quads[i]) {
            fMinX = std::fmin(fMinX, v.x);
            fMaxX = std::fmax(fMaxX, v.x);
            fMinZ = std::fmin(fMinZ, v.z);
            fMaxZ = std::fmax(fMaxZ, v.z);
            EXPECT_NEAR(v.y, 0.0f, 1e-5);
            EXPECT_NEAR(v.s, v.x, 1e-5);
            EXPECT_NEAR(v.t, -v.z, 1e-5);
        }
        ExpectDirection(WindingNormal(Quads[i]), {{0, 1, 0}}, "winding", i);
    }
    EXPECT_NEAR(fMinX, -2.5f, 1e-4);
    EXPECT_NEAR(fMaxX, 2.5f, 1e-4);
    EXPECT_NEAR(fMinZ, -1.5f, 1e-4);
    EXPECT_NEAR(fMaxZ, 1.5f, 1e-4);
    // Rows run along z from the first line of the file, columns along x; corners F0 to F3.
    ExpectCorners(Quads[0], {{{-2.5f, 0, -1.5f, -2.5f, 1.5f}, {-2.5f, 0, -0.5f, -2.5f, 0.5f},
                              {-1.5f, 0, -0.5f, -1.5f, 0.5f}, {-1.5f, 0, -1.5f, -1.5f, 1.5f}}}, 0);
    ExpectCorners(Quads[1], {{{-1.5f, 0, -1.5f, -1.5f, 1.5f}, {-1.5f, 0, -0.5f, -1.5f, 0.5f},
                              {-0.5f, 0, -0.5f, -0.5f, 0.5f}, {-0.5f, 0, -1.5f, -0.5f, 1.5f}}}, 1);
    for (const SDirection& vNormal : CaptureAxisNormalsOf([&] { board.Draw(); })) {
        ExpectDirection(vNormal, {{0, 1, 0}}, "lit normal", 0);
    }
}

TEST(BoardDraw, TiltsAboutZThenXAndCarriesItsChildren) {
    kov::CBoard board;
    Load(board, "4\n4\n....\n....\n....\n....\n");
    CPointNode child;
    board.Children.push_back(&child);
    board.fTiltZ = 2.0f;
    board.fTiltX = -2.0f;
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const std::vector<SFeedbackPrimitive> Primitives = CaptureFeedback([&] { board.Draw(); });

    using SPoint = std::array<double, 3>;
    const auto TurnX = [](const SPoint& v, double dDegrees) {
        const double d = dDegrees * PI / 180.0;
        return SPoint{v[0], v[1] * std::cos(d) - v[2] * std::sin(d), v[1] * std::sin(d) + v[2] * std::cos(d)};
    };
    const auto TurnZ = [](const SPoint& v, double dDegrees) {
        const double d = dDegrees * PI / 180.0;
        return SPoint{v[0] * std::cos(d) - v[1] * std::sin(d), v[0] * std::sin(d) + v[1] * std::cos(d), v[2]};
    };
    const auto ExpectAt = [](const SFeedbackVertex& v, const SPoint& vExpected) {
        EXPECT_NEAR(v.x, vExpected[0], 1e-4);
        EXPECT_NEAR(v.y, vExpected[1], 1e-4);
        EXPECT_NEAR(v.z, vExpected[2], 1e-4);
    };
    // glRotatef about z and then about x: a point is turned about x first.
    const std::vector<SQuad> Quads = CapturedQuads(Primitives);
    ASSERT_EQ(Quads.size(), 16u);
    const SPoint FAR_CORNER = {2.0, 0.0, 2.0};
    ExpectAt(Quads[15][2], TurnZ(TurnX(FAR_CORNER, -2.0), 2.0));
    const SPoint vOtherOrder = TurnX(TurnZ(FAR_CORNER, 2.0), -2.0);
    EXPECT_GT(std::fabs(Quads[15][2].x - vOtherOrder[0]), 1e-3);

    const SFeedbackPrimitive& point = Primitives.back();
    ASSERT_EQ(point.iToken, GL_POINT_TOKEN);
    ExpectAt(point.Vertices[0], TurnZ(TurnX({1.0, 0.0, 0.0}, -2.0), 2.0));
}

TEST(BoardDraw, ReturnsWhatItsChildrenReturn) {
    kov::CBoard board;
    Load(board, "0\n0\n");
    EXPECT_TRUE(board.Draw());
    EXPECT_TRUE(QuadsOf(board).empty());
    CPointNode child;
    child.bResult = false;
    board.Children.push_back(&child);
    EXPECT_FALSE(board.Draw());
}

TEST(BoardDraw, EachCellShowsTheTextureOfItsTileAndTheRespawnCellTheStartMark) {
    kov::CBoard board;
    Load(board, "5\n3\n.sZX.\n.S.O.\nXXs..\n");
    GiveSlotColors(&board);
    const int W = TEX_WOOD, L = TEX_WALL, H = TEX_HOLE, S = TEX_START, G = TEX_GOAL, V = TEX_SAVE;
    using SRows = std::vector<std::vector<int>>;
    EXPECT_EQ(SlotsSeenFromAbove(board), (SRows{{W, V, G, L, W}, {W, S, W, H, W}, {L, L, V, W, W}}));

    // The ball has entered the save cell at (2, 2): it shows the start mark, the file's start the save mark.
    board.iStartX = 2;
    board.iStartY = 2;
    EXPECT_EQ(SlotsSeenFromAbove(board), (SRows{{W, V, G, L, W}, {W, V, W, H, W}, {L, L, S, W, W}}));

    // The start mark goes on the respawn cell whatever it holds ...
    board.iStartX = 3;
    board.iStartY = 1;
    EXPECT_EQ(SlotsSeenFromAbove(board)[1][3], S);
    // ... but a wall has no floor to carry it.
    board.iStartX = 3;
    board.iStartY = 0;
    EXPECT_EQ(SlotsSeenFromAbove(board), (SRows{{W, V, G, L, W}, {W, V, W, H, W}, {L, L, V, W, W}}));
    glDeleteTextures(TEX_COUNT, board.uiTexture);
}
