#pragma once

#include <string>

// Exit statuses of kov-level-check.
constexpr int LEVEL_CHECK_PLAYABLE = 0;
constexpr int LEVEL_CHECK_UNPLAYABLE = 1;
constexpr int LEVEL_CHECK_USAGE = 2;

// Reads the level file as the game does and describes it in *pReport: size,
// start, goals, save cells and holes, a "warning:" line for everything the
// game silently accepts or mends, and an "error:" line for each reason it is
// unplayable. Returns LEVEL_CHECK_PLAYABLE or LEVEL_CHECK_UNPLAYABLE.
int CheckLevel(const char* szFileName, std::string* pReport);
