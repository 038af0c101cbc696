#pragma once

#include <GL/gl.h>

// Texture slots, indices into g_Textures.
constexpr int TEX_WOOD = 0;
constexpr int TEX_WALL = 1;
constexpr int TEX_HOLE = 2;
constexpr int TEX_START = 3;
constexpr int TEX_GOAL = 4;
constexpr int TEX_SAVE = 5;
constexpr int TEX_COUNT = 6;

// Filter set-ups of LoadTexture.
constexpr int TEX_MODE_MIPMAP = 0;   // linear, mip-mapped minification
constexpr int TEX_MODE_LINEAR = 1;
constexpr int TEX_MODE_NEAREST = 2;

// Fills slot iSlot of g_Textures from a BMP file. A file that fails to load
// shows its one message and leaves the slot as it was. Needs a current GL
// context; leaves the new texture bound.
void LoadTexture(int iSlot, const char* szFileName, int iMode);
