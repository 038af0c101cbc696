#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

// The installed level set: LEVELS/NAME.txt for each name in LEVELS/index.txt.

// The level file that a player's LEVEL argument means: a file of that name
// when there is one, else the set's level of that name when there is one,
// else the argument itself, which is then missing.
std::filesystem::path FindLevel(const std::string& sLevel, const std::filesystem::path& Levels);

// Writes one line a level of the index, its name and the line about it, and
// returns false when the index cannot be read.
bool ListLevels(const std::filesystem::path& Levels, std::FILE* pOut);
