#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "board/Board.h"

// One of the two size lines, as it was written.
struct SLevelSize {
    bool bNumber = false;        // the line starts with a number ("%i" syntax)
    long long llValue = 0;       // that number, 0 without one
    std::string sText;           // the number as written, e.g. "012"
    bool bTrailingText = false;  // something other than white space follows it
};

// A character in a row that reads as floor without being meant as floor.
struct SLevelChar {
    int iX;
    int iY;
    int iChar;  // the byte, 0..255
};

// A level as the game reads it, with what the reader accepted or mended on the
// way, so that the level checker can tell the author.
struct SLevel {
    SLevel();

    int iWidth;   // 0..BOARD_MAX_SIZE
    int iHeight;  // 0..BOARD_MAX_SIZE
    int iField[BOARD_MAX_SIZE][BOARD_MAX_SIZE];  // tile codes, [column][row]
    int iStartX;  // the last 'S' in reading order, (0, 0) without one
    int iStartY;
    int iError;   // errno or FILE_NOT_REGULAR when the file could not be read, else 0

    SLevelSize Width;
    SLevelSize Height;
    int iStartCount;             // 'S' characters inside the field
    int iRowLines;               // row lines the file holds, at most iHeight
    std::vector<int> ShortRows;  // rows with fewer than iWidth characters
    std::vector<int> LongRows;   // rows with characters past iWidth
    std::vector<SLevelChar> OtherChars;
};

// The tile code of one byte of a row line; every byte that means nothing else
// is floor.
int TileOfChar(int iChar);

// Reads level text held in memory. Every byte sequence is a level: what cannot
// be read as one reads as floor or as size 0. Nothing after the last row is
// read, and of each line only the characters that can matter. Replaces all of
// *pLevel.
void ParseLevel(const char* pText, size_t uLength, SLevel* pLevel);

// Reads a level file the same way. When it cannot be read, is not a regular
// file (FILE_NOT_REGULAR) or its part up to the last row is longer than 1 MiB
// (EFBIG), the result is false, iError holds the reason (never 0) and the
// level is empty.
bool ReadLevelFile(const char* szFileName, SLevel* pLevel);

// "width 150 is more than 100, read as 100", or empty when no size was clamped.
std::string DescribeClampedSizes(const SLevel& level);

// True when a goal cell can be reached from the start cell by steps between
// edge neighbours over cells that are neither wall nor hole.
bool IsGoalReachable(const SLevel& level);
