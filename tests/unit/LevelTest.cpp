#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <string>

#include "board/Board.h"
#include "board/LevelFile.h"
#include "support/TempFile.h"

namespace {

std::unique_ptr<SLevel> Parse(const std::string& sText) {
    auto pLevel = std::make_unique<SLevel>();
    ParseLevel(sText.data(), sText.size(), pLevel.get());
    return pLevel;
}

// Every cell outside [0, iWidth) x [0, iHeight) is floor.
void ExpectFloorOutside(const int iField[BOARD_MAX_SIZE][BOARD_MAX_SIZE], int iWidth, int iHeight) {
    for (int x = 0; x < BOARD_MAX_SIZE; ++x) {
        for (int y = 0; y < BOARD_MAX_SIZE; ++y) {
            if (x >= iWidth || y >= iHeight) {
                ASSERT_EQ(iField[x][y], TILE_WOOD) << "cell " << x << ", " << y;
            }
        }
    }
}

}  // namespace

TEST(LevelCharacters, EachCharacterGivesItsTile) {
    const auto pLevel = Parse("14\n1\nXxOoZzsS0. aQ9\n");
    const int EXPECTED[14] = {TILE_WALL, TILE_WALL, TILE_HOLE, TILE_HOLE, TILE_GOAL, TILE_GOAL, TILE_SAVE,
                              TILE_SAVE, TILE_WOOD, TILE_WOOD, TILE_WOOD, TILE_WOOD, TILE_WOOD, TILE_WOOD};
    for (int x = 0; x < 14; ++x) {
        EXPECT_EQ(pLevel->iField[x][0], EXPECTED[x]) << "column " << x;
    }
    // Only 'S' moves the start; the digit 0 and the stray letters are floor the author may not mean.
    EXPECT_EQ(pLevel->iStartX, 7);
    EXPECT_EQ(pLevel->iStartCount, 1);
    ASSERT_EQ(pLevel->OtherChars.size(), 4u);
    EXPECT_EQ(pLevel->OtherChars[0].iChar, '0');
    EXPECT_EQ(pLevel->OtherChars[0].iX, 8);
    EXPECT_EQ(pLevel->OtherChars[3].iChar, '9');
}

TEST(LevelCharacters, TheTableIsCaseSensitive) {
    EXPECT_EQ(TileOfChar('S'), TILE_SAVE);
    EXPECT_EQ(TileOfChar('s'), TILE_SAVE);
    EXPECT_EQ(TileOfChar('W'), TILE_WOOD);
    EXPECT_EQ(TileOfChar('h'), TILE_WOOD);
    EXPECT_EQ(TileOfChar('\n'), TILE_WOOD);
    EXPECT_EQ(TileOfChar('\0'), TILE_WOOD);
    EXPECT_EQ(TileOfChar(0xFF), TILE_WOOD);
}

TEST(LevelStart, TheLastCapitalSInReadingOrderIsTheStart) {
    const auto pLevel = Parse("4\n3\n...S\nSS..\n.s..\n");
    EXPECT_EQ(pLevel->iStartX, 1);
    EXPECT_EQ(pLevel->iStartY, 1);
    EXPECT_EQ(pLevel->iStartCount, 3);
    // Every 'S' stays a save cell.
    EXPECT_EQ(pLevel->iField[3][0], TILE_SAVE);
    EXPECT_EQ(pLevel->iField[0][1], TILE_SAVE);
    EXPECT_EQ(pLevel->iField[1][2], TILE_SAVE);
}

TEST(LevelStart, WithoutCapitalSTheStartIsTheOrigin) {
    const auto pLevel = Parse("3\n3\n...\n..s\n.Z.\n");
    EXPECT_EQ(pLevel->iStartX, 0);
    EXPECT_EQ(pLevel->iStartY, 0);
    EXPECT_EQ(pLevel->iStartCount, 0);
    EXPECT_EQ(pLevel->iField[2][1], TILE_SAVE);
}

TEST(LevelSize, SizesAreReadLikePercentI) {
    struct {
        const char* szLine;
        long long llValue;
        bool bNumber;
        bool bTrailing;
    } const CASES[] = {
        {"12", 12, true, false},     {"012", 10, true, false},    {"0x14", 20, true, false},
        {"  \t7 columns", 7, true, true}, {"+3", 3, true, false},  {"abc", 0, false, true},
        {"", 0, false, false},       {"-4", -4, true, false},     {"20\r", 20, true, false},
        {"0", 0, true, false},
    };
    for (const auto& test : CASES) {
        const auto pLevel = Parse(std::string(test.szLine) + "\n1\n");
        EXPECT_EQ(pLevel->Width.llValue, test.llValue) << test.szLine;
        EXPECT_EQ(pLevel->Width.bNumber, test.bNumber) << test.szLine;
        EXPECT_EQ(pLevel->Width.bTrailingText, test.bTrailing) << test.szLine;
    }
    EXPECT_EQ(Parse("012\n1\n")->iWidth, 10);
    EXPECT_EQ(Parse("0x14\n1\n")->iWidth, 20);
    EXPECT_EQ(Parse("0x14\n1\n")->Width.sText, "0x14");
}

TEST(LevelSize, NegativeOrMissingSizesGiveAnEmptyField) {
    for (const char* szText : {"-5\n2\nXX\nXX\n", "2\n-1\nXX\n", "two\n2\nXX\nXX\n", "2\n", ""}) {
        const auto pLevel = Parse(szText);
        EXPECT_TRUE(pLevel->iWidth == 0 || pLevel->iHeight == 0) << szText;
        EXPECT_GE(pLevel->iWidth, 0);
        EXPECT_GE(pLevel->iHeight, 0);
        ExpectFloorOutside(pLevel->iField, 0, 0);
        EXPECT_EQ(pLevel->iStartX, 0);
        EXPECT_EQ(pLevel->iStartY, 0);
    }
}

TEST(LevelSize, SizesAboveTheGridAreClampedTo100) {
    // 150 columns: the row's characters past 100 are ignored, the 'S' among them too.
    const std::string sRow = std::string(99, '.') + "X" + std::string(30, '.') + "S";
    const auto pLevel = Parse("150\n0x78\n" + sRow + "\n");
    EXPECT_EQ(pLevel->iWidth, BOARD_MAX_SIZE);
    EXPECT_EQ(pLevel->iHeight, BOARD_MAX_SIZE);
    EXPECT_EQ(pLevel->iField[99][0], TILE_WALL);
    EXPECT_EQ(pLevel->iStartCount, 0);
    EXPECT_EQ(DescribeClampedSizes(*pLevel), "width 150 and height 0x78 are more than 100, read as 100");

    const auto pHuge = Parse("99999999999999999999999\n1\n");
    EXPECT_EQ(pHuge->iWidth, BOARD_MAX_SIZE);
    EXPECT_EQ(DescribeClampedSizes(*pHuge), "width 99999999999999999999999 is more than 100, read as 100");
    EXPECT_EQ(Parse("-99999999999999999999999\n1\n")->iWidth, 0);
    EXPECT_EQ(DescribeClampedSizes(*Parse("100\n100\n")), "");
}

TEST(LevelRows, ALongLineIsReadWholeAndNeverSpillsIntoTheNextRow) {
    // Lengths around the 99 characters one read of the line buffer used to hold.
    for (size_t uLength : {98u, 99u, 100u, 101u, 300u, 5000u}) {
        const std::string sLong = "XXXXX" + std::string(uLength - 5, 'S');
        const auto pLevel = Parse("5\n2\n" + sLong + "\nOOOOO\n");
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(pLevel->iField[x][0], TILE_WALL) << uLength;
            EXPECT_EQ(pLevel->iField[x][1], TILE_HOLE) << uLength;
        }
        EXPECT_EQ(pLevel->iStartCount, 0) << uLength;
        EXPECT_EQ(pLevel->iRowLines, 2);
        ASSERT_EQ(pLevel->LongRows.size(), 1u);
        EXPECT_EQ(pLevel->LongRows[0], 0);
        EXPECT_EQ(pLevel->iExtraLines, 0);
    }
}

TEST(LevelRows, ShortRowsReadAsFloorNotAsAnEarlierLine) {
    const auto pLevel = Parse("5\n3\nXXXXX\nO\n\n");
    EXPECT_EQ(pLevel->iField[0][1], TILE_HOLE);
    for (int x = 1; x < 5; ++x) {
        EXPECT_EQ(pLevel->iField[x][1], TILE_WOOD) << x;
        EXPECT_EQ(pLevel->iField[x][2], TILE_WOOD) << x;
    }
    EXPECT_EQ(pLevel->ShortRows, (std::vector<int>{1, 2}));
    EXPECT_TRUE(pLevel->OtherChars.empty());
}

TEST(LevelRows, MissingRowsReadAsFloor) {
    // No line end after the last row that is there.
    const auto pLevel = Parse("3\n4\nXXX\nOOO");
    EXPECT_EQ(pLevel->iRowLines, 2);
    EXPECT_EQ(pLevel->iField[2][1], TILE_HOLE);
    for (int x = 0; x < 3; ++x) {
        EXPECT_EQ(pLevel->iField[x][2], TILE_WOOD);
        EXPECT_EQ(pLevel->iField[x][3], TILE_WOOD);
    }
    ExpectFloorOutside(pLevel->iField, 3, 2);
}

TEST(LevelRows, LinesAfterTheLastRowAreIgnored) {
    const auto pLevel = Parse("2\n1\nZ.\nSX\n  \nXX\n");
    EXPECT_EQ(pLevel->iStartCount, 0);
    EXPECT_EQ(pLevel->iField[0][1], TILE_WOOD);
    EXPECT_EQ(pLevel->iField[1][1], TILE_WOOD);
    EXPECT_EQ(pLevel->iExtraLines, 2);
    ExpectFloorOutside(pLevel->iField, 2, 1);
}

TEST(LevelRows, WindowsLineEndsReadLikeUnixOnes) {
    const auto pUnix = Parse("3\n2\nXSX\nOZO\n");
    const auto pWindows = Parse("3\r\n2\r\nXSX\r\nOZO\r\n");
    EXPECT_EQ(std::memcmp(pUnix->iField, pWindows->iField, sizeof(pUnix->iField)), 0);
    EXPECT_EQ(pWindows->iStartX, 1);
    EXPECT_TRUE(pWindows->LongRows.empty());
    EXPECT_TRUE(pWindows->ShortRows.empty());
}

TEST(LevelRows, ANulByteIsFloorAndTheRestOfTheLineStillCounts) {
    const auto pLevel = Parse(std::string("3\n1\nX\0S\n", 8));
    EXPECT_EQ(pLevel->iField[0][0], TILE_WALL);
    EXPECT_EQ(pLevel->iField[1][0], TILE_WOOD);
    EXPECT_EQ(pLevel->iField[2][0], TILE_SAVE);
    EXPECT_EQ(pLevel->iStartX, 2);
}

TEST(LevelFile, ReadsTheSameAsTheTextInMemory) {
    const std::string sText = "6\n3\nX..O.Z\n.S.s..\nxx\n\nZ\n";
    CTempFile file(sText, ".txt");
    SLevel fromFile;
    ASSERT_TRUE(ReadLevelFile(file.Path(), &fromFile));
    const auto pFromMemory = Parse(sText);
    EXPECT_EQ(std::memcmp(fromFile.iField, pFromMemory->iField, sizeof(fromFile.iField)), 0);
    EXPECT_EQ(fromFile.iStartX, pFromMemory->iStartX);
    EXPECT_EQ(fromFile.iStartY, pFromMemory->iStartY);
    EXPECT_EQ(fromFile.ShortRows, pFromMemory->ShortRows);
    EXPECT_EQ(fromFile.iExtraLines, 1);
    EXPECT_EQ(fromFile.iError, 0);
}

TEST(LevelFile, AnUnreadableFileGivesItsErrnoAndAnEmptyLevel) {
    SLevel level;
    EXPECT_FALSE(ReadLevelFile("/nonexistent/field.txt", &level));
    EXPECT_EQ(level.iError, ENOENT);
    EXPECT_FALSE(ReadLevelFile("/", &level));
    EXPECT_EQ(level.iError, EISDIR);
    EXPECT_EQ(level.iWidth, 0);
    EXPECT_EQ(level.iHeight, 0);
}

TEST(LevelReach, GoalsAreReachedOverFloorAndSaveCellsOnly) {
    EXPECT_TRUE(IsGoalReachable(*Parse("5\n1\nS.s.Z\n")));
    EXPECT_TRUE(IsGoalReachable(*Parse("3\n3\nSX.\n.XZ\n...\n")));
    EXPECT_FALSE(IsGoalReachable(*Parse("3\n1\nSXZ\n")));
    EXPECT_FALSE(IsGoalReachable(*Parse("3\n1\nSOZ\n")));
    // A diagonal gap between two walls does not let the ball through.
    EXPECT_FALSE(IsGoalReachable(*Parse("2\n2\nSX\nXZ\n")));
    EXPECT_FALSE(IsGoalReachable(*Parse("3\n1\nS..\n")));
    // Without an 'S' the start is the origin, which here is a wall.
    EXPECT_FALSE(IsGoalReachable(*Parse("3\n1\nX.Z\n")));
    EXPECT_FALSE(IsGoalReachable(*Parse("0\n0\n")));
}

TEST(BoardLoad, TheConstructorReadsTheShippedLevel) {
    kov::CBoard board;
    EXPECT_EQ(board.iLoadError, 0);
    EXPECT_EQ(board.iWidth, 20);
    EXPECT_EQ(board.iHeight, 20);
    EXPECT_EQ(board.iField[board.iStartX][board.iStartY], TILE_SAVE);
    EXPECT_EQ(board.fTiltX, 0.0f);
    EXPECT_EQ(board.fTiltZ, 0.0f);
}

TEST(BoardLoad, ALoadReplacesTheWholeLevel) {
    kov::CBoard board;
    CTempFile small("3\n2\nZ.X\n...\n", ".txt");
    testing::internal::CaptureStderr();
    EXPECT_TRUE(board.LoadLevel(small.Path()));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(board.iWidth, 3);
    EXPECT_EQ(board.iHeight, 2);
    EXPECT_EQ(board.iStartX, 0);
    EXPECT_EQ(board.iStartY, 0);
    EXPECT_EQ(board.iField[0][0], TILE_GOAL);
    EXPECT_EQ(board.iField[2][0], TILE_WALL);
    ExpectFloorOutside(board.iField, 3, 2);
}

TEST(BoardLoad, AMissingFileEmptiesTheBoardAndKeepsTheErrno) {
    kov::CBoard board;
    ASSERT_GT(board.iWidth, 0);
    EXPECT_FALSE(board.LoadLevel("/nonexistent/field.txt"));
    EXPECT_EQ(board.iLoadError, ENOENT);
    EXPECT_EQ(board.iWidth, 0);
    EXPECT_EQ(board.iHeight, 0);
    EXPECT_EQ(board.iStartX, 0);
    EXPECT_EQ(board.iStartY, 0);
    ExpectFloorOutside(board.iField, 0, 0);

    // A good load afterwards clears the error.
    CTempFile good("1\n1\nS\n", ".txt");
    EXPECT_TRUE(board.LoadLevel(good.Path()));
    EXPECT_EQ(board.iLoadError, 0);
}

TEST(BoardLoad, AClampedSizeWarnsOnceNamingTheFileAndTheValue) {
    kov::CBoard board;
    CTempFile wide("250\n2\nS\nZ\n", ".txt");
    testing::internal::CaptureStderr();
    EXPECT_TRUE(board.LoadLevel(wide.Path()));
    const std::string sError = testing::internal::GetCapturedStderr();
    EXPECT_EQ(sError, "kov: " + wide.sPath + ": width 250 is more than 100, read as 100\n");
    EXPECT_EQ(board.iWidth, BOARD_MAX_SIZE);
    EXPECT_EQ(board.iHeight, 2);
}

TEST(ShippedLevel, AGoalCanBeReachedFromTheStart) {
    SLevel level;
    ASSERT_TRUE(ReadLevelFile("data/field.txt", &level));
    EXPECT_EQ(level.iWidth, 20);
    EXPECT_EQ(level.iHeight, 20);
    EXPECT_EQ(level.iStartCount, 1);
    EXPECT_TRUE(IsGoalReachable(level));
    int iCount[6] = {};
    for (int x = 0; x < level.iWidth; ++x) {
        for (int y = 0; y < level.iHeight; ++y) {
            ++iCount[level.iField[x][y]];
        }
    }
    EXPECT_GE(iCount[TILE_GOAL], 1);
    EXPECT_GE(iCount[TILE_SAVE], 4);  // the start and at least three more
    EXPECT_GE(iCount[TILE_HOLE], 10);
    EXPECT_GE(iCount[TILE_WALL], 100);
    // Written cleanly: full rows, nothing after them, no stray characters.
    EXPECT_TRUE(level.ShortRows.empty());
    EXPECT_TRUE(level.LongRows.empty());
    EXPECT_TRUE(level.OtherChars.empty());
    EXPECT_EQ(level.iExtraLines, 0);
}
