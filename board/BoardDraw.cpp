#include "board/Board.h"

#include <algorithm>
#include <vector>

#include "board/Face.h"
#include "board/Texture.h"
#include "scene/ViewVolume.h"

namespace kov {

namespace {

// Cells are tested against the view in runs of this many along a row. On a
// large level most of the field lies outside the window, and sending it would
// cost more than the test.
constexpr int CULL_SPAN = 10;

// The eight corners of a cell: F on the floor, T on the wall top.
enum { F0, F1, F2, F3, T0, T1, T2, T3, CORNER_COUNT };

// Each face uses the lower left quarter of the wall image; corners run
// counter-clockwise seen from outside.
const SFace WALL_TOP = {{0, 1, 0}, {{T0, 0.0f, 0.5f}, {T1, 0.0f, 0.0f}, {T2, 0.5f, 0.0f}, {T3, 0.5f, 0.5f}}};
const SFace WALL_LEFT = {{-1, 0, 0}, {{F0, 0.5f, 0.0f}, {F1, 0.0f, 0.0f}, {T1, 0.0f, 0.5f}, {T0, 0.5f, 0.5f}}};
const SFace WALL_RIGHT = {{1, 0, 0}, {{F2, 0.5f, 0.0f}, {F3, 0.0f, 0.0f}, {T3, 0.0f, 0.5f}, {T2, 0.5f, 0.5f}}};
const SFace WALL_BACK = {{0, 0, -1}, {{F3, 0.5f, 0.0f}, {F0, 0.0f, 0.0f}, {T0, 0.0f, 0.5f}, {T3, 0.5f, 0.5f}}};
const SFace WALL_FRONT = {{0, 0, 1}, {{F1, 0.5f, 0.0f}, {F2, 0.0f, 0.0f}, {T2, 0.0f, 0.5f}, {T1, 0.5f, 0.5f}}};

// Corners of cell (x, y), centred so that the field's middle is the origin.
void FillCorners(int x, int y, float fHalfWidth, float fHalfHeight, float fCorner[CORNER_COUNT][3]) {
    static const int OFFSETS[4][2] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};
    for (int i = 0; i < 4; ++i) {
        const float fX = static_cast<float>(x + OFFSETS[i][0]) - fHalfWidth;
        const float fZ = static_cast<float>(y + OFFSETS[i][1]) - fHalfHeight;
        float* pFloor = fCorner[F0 + i];
        float* pTop = fCorner[T0 + i];
        pFloor[0] = pTop[0] = fX;
        pFloor[1] = 0.0f;
        pTop[1] = 1.0f;
        pFloor[2] = pTop[2] = fZ;
    }
}

// The floor texture runs on from cell to cell: (s, t) is (x, -z) of the corner.
void DrawFloor(const float fCorner[CORNER_COUNT][3]) {
    glBegin(GL_QUADS);
    glNormal3f(0.0f, 1.0f, 0.0f);
    for (int i = F0; i <= F3; ++i) {
        glTexCoord2f(fCorner[i][0], -fCorner[i][2]);
        glVertex3fv(fCorner[i]);
    }
    glEnd();
}

// Outside the field there are no walls, so the border sides are always drawn.
bool IsWallAt(const CBoard& board, int x, int y) {
    return x >= 0 && y >= 0 && x < board.iWidth && y < board.iHeight && board.iField[x][y] == TILE_WALL;
}

// The faces of a wall block in the tree's order; a side is left out where a
// wall stands next to it (dx, dy), the top never. No bottom.
const struct {
    const SFace& face;
    int dx, dy;
} WALL_FACES[] = {{WALL_TOP, 0, 0}, {WALL_LEFT, -1, 0}, {WALL_RIGHT, 1, 0}, {WALL_BACK, 0, -1}, {WALL_FRONT, 0, 1}};
constexpr int WALL_FACE_COUNT = sizeof(WALL_FACES) / sizeof(WALL_FACES[0]);

void DrawWallBlock(const CBoard& board, int x, int y, const float fCorner[CORNER_COUNT][3], bool bReverse) {
    for (int i = 0; i < WALL_FACE_COUNT; ++i) {
        const auto& side = WALL_FACES[bReverse ? WALL_FACE_COUNT - 1 - i : i];
        if ((side.dx == 0 && side.dy == 0) || !IsWallAt(board, x + side.dx, y + side.dy)) {
            DrawFace(side.face, fCorner);
        }
    }
}

int FloorTexture(int iTile) {
    switch (iTile) {
        case TILE_GOAL:
            return TEX_GOAL;
        case TILE_HOLE:
            return TEX_HOLE;
        case TILE_SAVE:
            return TEX_SAVE;
        default:
            return TEX_WOOD;
    }
}

// The texture slot cell (x, y) is drawn with. The respawn cell shows the
// start mark, whatever it holds, unless it is a wall.
int CellTexture(const CBoard& board, int x, int y) {
    const int iTile = board.iField[x][y];
    if (iTile == TILE_WALL) {
        return TEX_WALL;
    }
    return x == board.iStartX && y == board.iStartY ? TEX_START : FloorTexture(iTile);
}

void DrawCell(const CBoard& board, int x, int y, bool bReverse) {
    float fCorner[CORNER_COUNT][3];
    FillCorners(x, y, board.iWidth * 0.5f, board.iHeight * 0.5f, fCorner);
    if (board.iField[x][y] == TILE_WALL) {
        DrawWallBlock(board, x, y, fCorner, bReverse);
    } else {
        DrawFloor(fCorner);
    }
}

// Cells xBegin to xEnd - 1 of row y.
struct SRun {
    int y, xBegin, xEnd;
};

// The runs of the field that can reach the window, row by row from the low
// x end.
std::vector<SRun> VisibleRuns(const CBoard& board, const CViewVolume& view) {
    const float fHalfWidth = static_cast<float>(board.iWidth) * 0.5f;
    const float fHalfHeight = static_cast<float>(board.iHeight) * 0.5f;
    std::vector<SRun> Runs;
    for (int y = 0; y < board.iHeight; ++y) {
        for (int xSpan = 0; xSpan < board.iWidth; xSpan += CULL_SPAN) {
            const int xEnd = std::min(xSpan + CULL_SPAN, board.iWidth);
            const float fMin[3] = {xSpan - fHalfWidth, 0.0f, y - fHalfHeight};
            const float fMax[3] = {xEnd - fHalfWidth, 1.0f, y + 1 - fHalfHeight};
            if (!view.IsBoxOutside(fMin, fMax)) {
                Runs.push_back({y, xSpan, xEnd});
            }
        }
    }
    return Runs;
}

// The order of the tree: a texture bound for every cell.
void DrawInTreeOrder(const CBoard& board, const std::vector<SRun>& Runs) {
    for (const SRun& run : Runs) {
        for (int x = run.xBegin; x < run.xEnd; ++x) {
            glBindTexture(GL_TEXTURE_2D, board.uiTexture[CellTexture(board, x, run.y)]);
            DrawCell(board, x, run.y, false);
        }
    }
}

// Walls first, as they hide the floor behind them, then the floor texture by
// texture: one bind each. Each group runs in reverse, so that under GL_LEQUAL
// the tree's first of two equal depths wins. Between the groups the order
// changes, which can decide a tie only where faces of different cells meet:
// a floor square and the wall side standing on its edge. Filled and seen from
// above, those two never overlap in the window but where the wall's own block
// lies nearer; from below, and in outline where every shared edge is drawn
// twice, they do.
void DrawGroupedNearFirst(const CBoard& board, const std::vector<SRun>& Runs) {
    static const int SLOTS[] = {TEX_WALL, TEX_WOOD, TEX_HOLE, TEX_START, TEX_GOAL, TEX_SAVE};
    for (const int iSlot : SLOTS) {
        glBindTexture(GL_TEXTURE_2D, board.uiTexture[iSlot]);
        for (auto itRun = Runs.rbegin(); itRun != Runs.rend(); ++itRun) {
            for (int x = itRun->xEnd - 1; x >= itRun->xBegin; --x) {
                if (CellTexture(board, x, itRun->y) == iSlot) {
                    DrawCell(board, x, itRun->y, true);
                }
            }
        }
    }
}

// Whether the parent draws after this board under GL_LEQUAL (see CBox) and
// the grouped order gives the same picture. Mesa's software renderer also
// rounds a quad by one step differently depending on the quads it is sent
// with (one needing clipping takes its whole batch along) unless two-sided
// lighting sends every quad the same way; grouping changes the batches.
bool MayGroupNearFirst(const CBoard& board, const CViewVolume& view) {
    GLint iDepthFunc = 0, iTwoSided = 0;
    GLint iPolygonMode[2] = {};
    glGetIntegerv(GL_DEPTH_FUNC, &iDepthFunc);
    glGetIntegerv(GL_LIGHT_MODEL_TWO_SIDE, &iTwoSided);
    glGetIntegerv(GL_POLYGON_MODE, iPolygonMode);
    const float fMin[3] = {board.iWidth * -0.5f, 0.0f, board.iHeight * -0.5f};
    const float fMax[3] = {board.iWidth * 0.5f, 1.0f, board.iHeight * 0.5f};
    return iDepthFunc == GL_LEQUAL && glIsEnabled(GL_LIGHTING) && iTwoSided && iPolygonMode[0] == GL_FILL &&
           iPolygonMode[1] == GL_FILL && view.IsFloorSeenFromAbove() && view.IsBoxBeforeFar(fMin, fMax);
}

}  // namespace

bool CBoard::Draw() {
    glRotatef(fTiltZ, 0.0f, 0.0f, 1.0f);
    glRotatef(fTiltX, 1.0f, 0.0f, 0.0f);

    const CViewVolume view;
    const std::vector<SRun> Runs = VisibleRuns(*this, view);
    if (MayGroupNearFirst(*this, view)) {
        DrawGroupedNearFirst(*this, Runs);
        glDepthFunc(GL_LESS);  // the children tie as in the tree: the board wins
    } else {
        glDepthFunc(GL_LESS);  // also under a parent that draws after the board
        DrawInTreeOrder(*this, Runs);
    }
    return ISceneNode::Draw();
}

}  // namespace kov
