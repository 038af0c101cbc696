#pragma once

#include <cstdint>
#include <string>

// The smallest maze, and the pitch of its rooms: two cells of floor and one of wall.
constexpr int MAZE_MIN_SIZE = 4;
constexpr int MAZE_PITCH = 3;

// The text of a maze level of iWidth x iHeight cells, each a multiple of
// MAZE_PITCH plus one from MAZE_MIN_SIZE to 100: rooms of 2 x 2 cells joined by
// passages two cells wide, one path between any two rooms. The start is in the
// middle room, the goal room the farthest from it; every tenth room on the
// way is a save room, and a third of the others hold a hole in one of their
// cells, which never closes the way. The same text for the same arguments on
// every machine; empty for a size it cannot make.
std::string MakeMazeLevel(int iWidth, int iHeight, uint32_t dwSeed);
