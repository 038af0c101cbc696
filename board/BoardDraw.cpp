#include "board/Board.h"

#include <algorithm>
#include <vector>

#include "app/Settings.h"
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

// The top and every side not shared with a neighbouring wall; no bottom.
void DrawWallBlock(const CBoard& board, int x, int y, const float fCorner[CORNER_COUNT][3]) {
    DrawFace(WALL_TOP, fCorner);
    if (!IsWallAt(board, x - 1, y)) {
        DrawFace(WALL_LEFT, fCorner);
    }
    if (!IsWallAt(board, x + 1, y)) {
        DrawFace(WALL_RIGHT, fCorner);
    }
    if (!IsWallAt(board, x, y - 1)) {
        DrawFace(WALL_BACK, fCorner);
    }
    if (!IsWallAt(board, x, y + 1)) {
        DrawFace(WALL_FRONT, fCorner);
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

// The texture slot of cell (x, y). The respawn cell shows the start mark,
// whatever it holds, unless it is a wall.
int CellTexture(const CBoard& board, int x, int y) {
    const int iTile = board.iField[x][y];
    if (iTile == TILE_WALL) {
        return TEX_WALL;
    }
    return x == board.iStartX && y == board.iStartY ? TEX_START : FloorTexture(iTile);
}

// A floor square or a wall block, without binding its texture.
void DrawCell(const CBoard& board, int x, int y) {
    float fCorner[CORNER_COUNT][3];
    FillCorners(x, y, board.iWidth * 0.5f, board.iHeight * 0.5f, fCorner);
    if (board.iField[x][y] == TILE_WALL) {
        DrawWallBlock(board, x, y, fCorner);
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

// Whether the cells may be drawn in any order; the faces of a block keep
// theirs, and ties with the box and the ball go as before whatever the order
// of the cells. With the depth test on, the order decides only between faces
// at equal depth, and faces of different cells come that close only where they
// meet: a floor square and the wall side standing on its edge, or two walls
// along an edge. Filled and seen from above, two such faces overlap in the
// window only behind a nearer face of the wall's own block; from below, and in
// outline, where every shared edge is drawn twice, they may show. Mesa's
// software renderer also rounds a quad one step differently depending on the
// quads sent with it (one that needs clipping takes its whole batch along)
// unless two-sided lighting sends every quad the same way, and a new order
// makes new batches.
bool MayReorderCells(const CViewVolume& view) {
    const CSettings& settings = GetSettings();
    return IsNearestShown(settings) && !settings.bWireframe && settings.bLighting && settings.bTwoSided &&
           view.IsPlaneSeenFromAbove(0.0f);
}

// Walls first, as they hide the floor and walls behind them, from the rows
// nearer the eye; then the floor texture by texture: one bind each.
void DrawGroupedNearFirst(const CBoard& board, const std::vector<SRun>& Runs, const CViewVolume& view) {
    static const int SLOTS[] = {TEX_WALL, TEX_WOOD, TEX_HOLE, TEX_START, TEX_GOAL, TEX_SAVE};
    const float fFront[3] = {0.0f, 0.0f, board.iHeight * 0.5f};
    const float fBack[3] = {0.0f, 0.0f, board.iHeight * -0.5f};
    const bool bFrontFirst = view.IsNearer(fFront, fBack);
    for (const int iSlot : SLOTS) {
        glBindTexture(GL_TEXTURE_2D, board.uiTexture[iSlot]);
        for (size_t i = 0; i < Runs.size(); ++i) {
            const SRun& run = Runs[bFrontFirst ? Runs.size() - 1 - i : i];
            for (int x = run.xBegin; x < run.xEnd; ++x) {
                if (CellTexture(board, x, run.y) == iSlot) {
                    DrawCell(board, x, run.y);
                }
            }
        }
    }
}

}  // namespace

bool CBoard::Draw() {
    glRotatef(fTiltZ, 0.0f, 0.0f, 1.0f);
    glRotatef(fTiltX, 1.0f, 0.0f, 0.0f);

    const CViewVolume view;
    const std::vector<SRun> Runs = VisibleRuns(*this, view);
    if (MayReorderCells(view)) {
        DrawGroupedNearFirst(*this, Runs, view);
    } else {
        // Row by row and cell by cell from the low x end, so that the order
        // of the quads is the same whatever is left out.
        for (const SRun& run : Runs) {
            for (int x = run.xBegin; x < run.xEnd; ++x) {
                glBindTexture(GL_TEXTURE_2D, uiTexture[CellTexture(*this, x, run.y)]);
                DrawCell(*this, x, run.y);
            }
        }
    }
    return ISceneNode::Draw();
}

}  // namespace kov
