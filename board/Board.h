#pragma once

#include <GL/gl.h>

#include "scene/SceneNode.h"

// Tile codes of the board cells. 3 is not assigned.
constexpr int TILE_WOOD = 0;
constexpr int TILE_WALL = 1;
constexpr int TILE_HOLE = 2;
constexpr int TILE_GOAL = 4;
constexpr int TILE_SAVE = 5;

// The grid's capacity in columns and rows.
constexpr int BOARD_MAX_SIZE = 100;

constexpr int BOARD_TEXTURE_COUNT = 6;

// The level the game reads at start, relative to the working directory.
constexpr const char* LEVEL_FILE_NAME = "data/field.txt";

namespace kov {

// The labyrinth: the field size, the tile grid indexed [column][row], the
// textures it is drawn with, its tilt and the ball's respawn cell. The board
// frame has its origin at the centre of the field, x along the columns, z
// along the rows, y up, one unit per cell.
class CBoard : public ISceneNode {
public:
    // Reads "data/field.txt"; main refuses to start when that failed.
    CBoard();

    // Replaces the level with the one in the file. On failure the board is
    // empty, iLoadError holds the reason and the result is false.
    bool LoadLevel(const char* szFileName);

    // Tilts the frame, draws the floor squares and wall blocks, then the children.
    bool Draw() override;

    int iWidth;
    int iHeight;
    int iField[BOARD_MAX_SIZE][BOARD_MAX_SIZE];
    GLuint uiTexture[BOARD_TEXTURE_COUNT];
    float fTiltZ;  // degrees about the board's z axis
    float fTiltX;  // degrees about the board's x axis
    int iStartX;   // the respawn cell
    int iStartY;
    int iLoadError;  // errno or FILE_NOT_REGULAR of the last failed load, 0 after a good one
};

}  // namespace kov
