// The level rules and their mends, as the level checker reports what the game reads.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>

#include "board/LevelFile.h"
#include "support/TempFile.h"
#include "tools/LevelCheck.h"
#include "tools/MazeLevel.h"

TEST(Level, EachFileReadsAsTheCheckerReports) {
    // 3 MiB after the last row are never read; a first row of 2 MiB runs past 1 MiB before it and is refused.
    const CTempFile Tail(ReadWholeFile(KOV_SOURCE_DIR "/tests/data/levels/good.txt") + std::string(3 << 20, 'X'));
    const CTempFile Long("5\n1\n" + std::string(2 << 20, 'X'));
    // A file, its status (0: playable) and a part of its report: listing, warnings, errors and verdict in order.
    const struct {
        const char* szFile;
        int iStatus;
        const char* szPart;
    } CASES[] = {
        {"../../../data/field.txt", 0, "(10, 19)\nplayable\n"},  // the shipped level, without a warning
        {"good.txt", 0, "holes: 1: (3, 1)\nplayable\n"},
        {"chars.txt", 0, "warning: row 0 (line 3): '0' at (8, 0) reads as floor (the digit; a hole is the letter O)"},
        {"crlf.txt", 0, "holes: 1: (1, 1)\nplayable\n"},
        // A short row and missing rows read as floor, not as an earlier line.
        {"mended.txt", 0, "goals: 1: (9, 0)\nsave cells: 2: (0, 0), (2, 2)\nholes: 1: (4, 0)\n"
                          "warning: line 1: \"012\" is octal and reads as 10\n"
                          "warning: line 1: the text after the number is ignored\n"
                          "warning: line 2: \"0x3\" is hexadecimal and reads as 3\n"},
        {"mended.txt", 0, "warning: row 1 (line 4) is shorter than 10 characters: the missing cells read as floor\n"
                          "warning: row 0 (line 3) is longer than 10 characters: the rest is ignored\n"},
        {"short-file.txt", 0, "goals: 1: (3, 0)\nsave cells: 1: (0, 0)\n"},
        {"short-file.txt", 0, "warning: the file ends after 1 of 3 rows: the missing rows read as floor\n"},
        // Its 'Z' at column 120 lies off the grid.
        {"clamped.txt", 0, "goals: 1: (0, 1)\nsave cells: 1: (0, 0)\nholes: 0\nwarning: width 150 is more than 100"},
        {"negative.txt", 1, "warning: line 2: the height -2 is negative: the field is empty\nerror: the field is"},
        {"empty.txt", 1, "\nerror: the field is empty\nunplayable\n"},
        {"no-start.txt", 1, "\nerror: no start cell 'S': the ball would start at (0, 0)\nunplayable\n"},
        {"start-on-wall.txt", 1, "\nerror: the start (0, 0) is a wall\nunplayable\n"},
        {"start-on-hole.txt", 1, "\nerror: the start (0, 0) is a hole\nunplayable\n"},
        {"no-goal.txt", 1, "\nerror: no goal cell 'Z'\nunplayable\n"},
        {"unreachable.txt", 1, "\nerror: no goal can be reached from the start over cells that are neither wall"},
        {"absent.txt", 1, "absent.txt: No such file or directory\nunplayable\n"},
        {Tail.Path(), 0, "holes: 1: (3, 1)\nplayable\n"},
        {Long.Path(), 1, ": File too large\nunplayable\n"},
        {"/dev/zero", 1, "/dev/zero: it is not a regular file\nunplayable\n"},  // it would never end
        {"", 1, "levels/: it is not a regular file\nunplayable\n"},
    };
    for (const auto& c : CASES) {
        const bool bAbsolute = std::filesystem::path(c.szFile).has_root_path();
        const std::string sDir = bAbsolute ? "" : KOV_SOURCE_DIR "/tests/data/levels/";
        const std::string sPath = sDir + c.szFile;
        std::string sReport;
        EXPECT_EQ(CheckLevel(sPath.c_str(), &sReport), c.iStatus) << sReport;
        EXPECT_NE(sReport.find(c.szPart), std::string::npos) << c.szPart << "--- is not in ---\n" << sReport;
    }
    // The tile codes of "XxOoZzsS0. aQ9": 's' makes a save cell, 'S' one that is the start, and the last 'S' wins.
    SLevel Chars;
    ASSERT_TRUE(ReadLevelFile(KOV_SOURCE_DIR "/tests/data/levels/chars.txt", &Chars));
    const int CODES[] = {1, 1, 2, 2, 4, 4, 5, 5, 0, 0, 0, 0, 0, 0};
    for (int x = 0; x < 14; ++x) {
        EXPECT_EQ(Chars.iField[x][0], CODES[x]) << "column " << x;
    }
    EXPECT_TRUE(Chars.iStartX == 1 && Chars.iStartY == 1) << Chars.iStartX << ", " << Chars.iStartY;
}

TEST(Level, TheSetIsPlayableListedAndRegenerated) {
    // Every level of the index plays without a warning, and the index lists every file.
    const std::string sLevels = KOV_SOURCE_DIR "/data/levels/";
    std::istringstream Index(ReadWholeFile(sLevels + "index.txt"));
    std::set<std::string> Files;
    for (const auto& entry : std::filesystem::directory_iterator(sLevels)) {
        Files.insert(entry.path().filename().string());
    }
    EXPECT_EQ(Files.erase("index.txt"), 1u);
    std::string sLine;
    while (std::getline(Index, sLine)) {
        const std::string sName = sLine.substr(0, sLine.find(' '));
        if (sName.empty() || sName[0] == '#') {
            continue;
        }
        std::string sReport;
        EXPECT_EQ(CheckLevel((sLevels + sName + ".txt").c_str(), &sReport), LEVEL_CHECK_PLAYABLE) << sReport;
        EXPECT_EQ(sReport.find("warning"), std::string::npos) << sReport;
        EXPECT_EQ(Files.erase(sName + ".txt"), 1u) << sName << " is listed twice or has no file";
    }
    EXPECT_TRUE(Files.empty()) << *Files.begin() << " is not in the index";
    // The mazes come from the generator, byte for byte; it makes no maze its rooms do not fit.
    EXPECT_EQ(MakeMazeLevel(40, 40, 1), ReadWholeFile(sLevels + "labyrinth.txt"));
    EXPECT_EQ(MakeMazeLevel(100, 100, 1), ReadWholeFile(sLevels + "maze-100.txt"));
    EXPECT_EQ(MakeMazeLevel(103, 100, 1) + MakeMazeLevel(40, 39, 1) + MakeMazeLevel(1, 1, 1), "");
}
