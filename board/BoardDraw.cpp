#include "board/Board.h"

#include <algorithm>

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
    glBindTexture(GL_TEXTURE_2D, board.uiTexture[TEX_WALL]);
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

// Cells xBegin to xEnd - 1 of row y: a floor square or a wall block each.
void DrawCells(const CBoard& board, int y, int xBegin, int xEnd, float fHalfWidth, float fHalfHeight) {
    float fCorner[CORNER_COUNT][3];
    for (int x = xBegin; x < xEnd; ++x) {
        FillCorners(x, y, fHalfWidth, fHalfHeight, fCorner);
        const int iTile = board.iField[x][y];
        if (iTile == TILE_WALL) {
            DrawWallBlock(board, x, y, fCorner);
        } else {
            // The respawn cell shows the start mark, whatever it holds.
            const bool bRespawn = x == board.iStartX && y == board.iStartY;
            glBindTexture(GL_TEXTURE_2D, board.uiTexture[bRespawn ? TEX_START : FloorTexture(iTile)]);
            DrawFloor(fCorner);
        }
    }
}

}  // namespace

bool CBoard::Draw() {
    glRotatef(fTiltZ, 0.0f, 0.0f, 1.0f);
    glRotatef(fTiltX, 1.0f, 0.0f, 0.0f);

    const CViewVolume view;
    const float fHalfWidth = static_cast<float>(iWidth) * 0.5f;
    const float fHalfHeight = static_cast<float>(iHeight) * 0.5f;
    // Row by row and cell by cell from the low x end, so that the order of
    // the quads is the same whatever is left out.
    for (int y = 0; y < iHeight; ++y) {
        for (int xSpan = 0; xSpan < iWidth; xSpan += CULL_SPAN) {
            const int xEnd = std::min(xSpan + CULL_SPAN, iWidth);
            const float fMin[3] = {xSpan - fHalfWidth, 0.0f, y - fHalfHeight};
            const float fMax[3] = {xEnd - fHalfWidth, 1.0f, y + 1 - fHalfHeight};
            if (!view.IsBoxOutside(fMin, fMax)) {
                DrawCells(*this, y, xSpan, xEnd, fHalfWidth, fHalfHeight);
            }
        }
    }
    return ISceneNode::Draw();
}

}  // namespace kov
