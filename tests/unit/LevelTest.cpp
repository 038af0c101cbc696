#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <memory>
#include <tuple>

#include "board/Board.h"
#include "board/LevelFile.h"
#include "support/TempFile.h"

namespace {

using SRows = std::vector<std::string>;

std::unique_ptr<SLevel> Parse(const std::string& sText) {
    auto pLevel = std::make_unique<SLevel>();
    ParseLevel(sText.data(), sText.size(), pLevel.get());
    return pLevel;
}

// The field's rows written back as level text (a save cell reads 's', an
// unknown code '?'), and a last line when a cell beyond the field is not floor.
template <class TLevel>
SRows Rows(const TLevel& level) {
    SRows Text(static_cast<size_t>(level.iHeight));
    bool bOutside = false;
    for (int y = 0; y < BOARD_MAX_SIZE; ++y) {
        for (int x = 0; x < BOARD_MAX_SIZE; ++x) {
            const int iTile = level.iField[x][y];
            if (x < level.iWidth && y < level.iHeight) {
                Text[y] += iTile >= 0 && iTile <= TILE_SAVE ? ".XO?Zs"[iTile] : '?';
            } else {
                bOutside = bOutside || iTile != TILE_WOOD;
            }
        }
    }
    if (bOutside) {
        Text.push_back("(not floor outside)");
    }
    return Text;
}

// The start, the count of 'S', and what the reader noted on the way: row
// lines read, short and long rows, lines after the last row, and characters
// read as floor with their cells.
std::string Notes(const SLevel& level) {
    std::string sNotes = "start " + std::to_string(level.iStartX) + "," + std::to_string(level.iStartY) + " of " +
                         std::to_string(level.iStartCount) + ", rows " + std::to_string(level.iRowLines) + ", short";
    for (const int y : level.ShortRows) {
        sNotes += " " + std::to_string(y);
    }
    sNotes += ", long";
    for (const int y : level.LongRows) {
        sNotes += " " + std::to_string(y);
    }
    sNotes += ", extra " + std::to_string(level.iExtraLines) + ", other";
    for (const SLevelChar& other : level.OtherChars) {
        const bool bPrintable = std::isprint(other.iChar) != 0;
        sNotes += " " + (bPrintable ? std::string(1, static_cast<char>(other.iChar)) : std::to_string(other.iChar)) +
                  "@" + std::to_string(other.iX) + "," + std::to_string(other.iY);
    }
    return sNotes;
}

}  // namespace

TEST(LevelRows, TheFieldReadsAsWritten) {
    struct SCase {
        std::string sText;
        SRows Rows;
        std::string sNotes;
    };
    std::vector<SCase> Cases = {
        // Only 'S' moves the start; the digit 0 and the stray letters are floor the author may not mean.
        {"14\n1\nXxOoZzsS0. aQ9\n", {"XXOOZZss......"},
         "start 7,0 of 1, rows 1, short, long, extra 0, other 0@8,0 a@11,0 Q@12,0 9@13,0"},
        // The last 'S' in reading order is the start, and every one a save cell.
        {"4\n3\n...S\nSS..\n.s..\n", {"...s", "ss..", ".s.."}, "start 1,1 of 3, rows 3, short, long, extra 0, other"},
        {"3\n3\n...\n..s\n.Z.\n", {"...", "..s", ".Z."}, "start 0,0 of 0, rows 3, short, long, extra 0, other"},
        // Short and missing rows read as floor, not as an earlier line; the last row without a line end.
        {"5\n3\nXXXXX\nO\n\n", {"XXXXX", "O....", "....."}, "start 0,0 of 0, rows 3, short 1 2, long, extra 0, other"},
        {"3\n4\nXXX\nOOO", {"XXX", "OOO", "...", "..."}, "start 0,0 of 0, rows 2, short, long, extra 0, other"},
        {"2\n1\nZ.\nSX\n  \nXX\n", {"Z."}, "start 0,0 of 0, rows 1, short, long, extra 2, other"},
        {"3\r\n2\r\nXSX\r\nOZO\r\n", {"XsX", "OZO"}, "start 1,0 of 1, rows 2, short, long, extra 0, other"},
        {std::string("3\n1\nX\0S\n", 8), {"X.s"}, "start 2,0 of 1, rows 1, short, long, extra 0, other 0@1,0"},
    };
    // A long line is read whole and never spills into the next row; lengths
    // around the 99 characters one read of the line buffer used to hold.
    for (const size_t uLength : {98u, 99u, 100u, 101u, 300u, 5000u}) {
        Cases.push_back({"5\n2\nXXXXX" + std::string(uLength - 5, 'S') + "\nOOOOO\n", {"XXXXX", "OOOOO"},
                         "start 0,0 of 0, rows 2, short, long 0, extra 0, other"});
    }
    for (const SCase& Case : Cases) {
        const auto pLevel = Parse(Case.sText);
        EXPECT_EQ(Rows(*pLevel), Case.Rows) << Case.sText;
        EXPECT_EQ(Notes(*pLevel), Case.sNotes) << Case.sText;
    }
    for (const int iChar : {int('W'), int('h'), int('\n'), 0, 0xFF}) {
        EXPECT_EQ(TileOfChar(iChar), TILE_WOOD) << iChar;
    }
}

TEST(LevelSize, SizesAreReadLikePercentI) {
    const struct {
        const char* szLine;
        long long llValue;
        bool bNumber, bTrailing;
        int iWidth;
    } CASES[] = {
        {"12", 12, true, false, 12},         {"012", 10, true, false, 10}, {"0x14", 20, true, false, 20},
        {"  \t7 columns", 7, true, true, 7}, {"+3", 3, true, false, 3},    {"abc", 0, false, true, 0},
        {"", 0, false, false, 0},            {"-4", -4, true, false, 0},   {"20\r", 20, true, false, 20},
        {"0", 0, true, false, 0},
    };
    for (const auto& Case : CASES) {
        const auto pLevel = Parse(std::string(Case.szLine) + "\n1\n");
        EXPECT_EQ(pLevel->Width.llValue, Case.llValue) << Case.szLine;
        EXPECT_EQ(pLevel->Width.bNumber, Case.bNumber) << Case.szLine;
        EXPECT_EQ(pLevel->Width.bTrailingText, Case.bTrailing) << Case.szLine;
        EXPECT_EQ(pLevel->iWidth, Case.iWidth) << Case.szLine;
    }
    EXPECT_EQ(Parse("0x14\n1\n")->Width.sText, "0x14");
}

TEST(LevelSize, NegativeOrMissingSizesGiveAnEmptyField) {
    for (const char* szText : {"-5\n2\nXX\nXX\n", "2\n-1\nXX\n", "two\n2\nXX\nXX\n", "2\n", "",
                               "-99999999999999999999999\n1\nX\n"}) {
        const auto pLevel = Parse(szText);
        EXPECT_TRUE(pLevel->iWidth == 0 || pLevel->iHeight == 0) << szText;
        EXPECT_GE(std::min(pLevel->iWidth, pLevel->iHeight), 0) << szText;
        EXPECT_EQ(Rows(*pLevel), SRows(static_cast<size_t>(pLevel->iHeight), "")) << szText;
        EXPECT_EQ(std::make_pair(pLevel->iStartX, pLevel->iStartY), std::make_pair(0, 0)) << szText;
    }
}

TEST(LevelSize, SizesAboveTheGridAreClampedTo100) {
    // 150 columns: the row's characters past 100 are ignored, the 'S' among them too.
    const auto pLevel = Parse("150\n0x78\n" + std::string(99, '.') + "X" + std::string(30, '.') + "S\n");
    EXPECT_EQ(pLevel->iWidth, BOARD_MAX_SIZE);
    EXPECT_EQ(pLevel->iHeight, BOARD_MAX_SIZE);
    EXPECT_EQ(Rows(*pLevel)[0], std::string(99, '.') + "X");
    EXPECT_EQ(pLevel->iStartCount, 0);
    EXPECT_EQ(DescribeClampedSizes(*pLevel), "width 150 and height 0x78 are more than 100, read as 100");

    const auto pHuge = Parse("99999999999999999999999\n1\n");
    EXPECT_EQ(pHuge->iWidth, BOARD_MAX_SIZE);
    EXPECT_EQ(DescribeClampedSizes(*pHuge), "width 99999999999999999999999 is more than 100, read as 100");
    EXPECT_EQ(DescribeClampedSizes(*Parse("100\n100\n")), "");
}

TEST(LevelFile, ReadsLikeTheTextInMemoryOrGivesTheErrnoAndAnEmptyLevel) {
    const std::string sText = "6\n3\nX..O.Z\n.S.s..\nxx\n\nZ\n";
    const CTempFile File(sText, ".txt");
    SLevel Level;
    ASSERT_TRUE(ReadLevelFile(File.Path(), &Level));
    EXPECT_EQ(Rows(Level), Rows(*Parse(sText)));
    EXPECT_EQ(Notes(Level), "start 1,1 of 1, rows 3, short 2, long, extra 1, other");
    EXPECT_EQ(Level.iError, 0);

    EXPECT_FALSE(ReadLevelFile("/nonexistent/field.txt", &Level));
    EXPECT_EQ(std::make_tuple(Level.iError, Level.iWidth, Level.iHeight), std::make_tuple(ENOENT, 0, 0));
    EXPECT_FALSE(ReadLevelFile("/", &Level));
    EXPECT_EQ(Level.iError, EISDIR);
}

TEST(LevelReach, GoalsAreReachedOverFloorAndSaveCellsOnly) {
    // A diagonal gap between two walls does not let the ball through; without
    // an 'S' the start is the origin, here a wall.
    for (const auto& Case : std::vector<std::pair<std::string, bool>>{
             {"5\n1\nS.s.Z\n", true}, {"3\n3\nSX.\n.XZ\n...\n", true}, {"3\n1\nSXZ\n", false}, {"3\n1\nSOZ\n", false},
             {"2\n2\nSX\nXZ\n", false}, {"3\n1\nS..\n", false}, {"3\n1\nX.Z\n", false}, {"0\n0\n", false}}) {
        EXPECT_EQ(IsGoalReachable(*Parse(Case.first)), Case.second) << Case.first;
    }
}

TEST(BoardLoad, ReadsTheShippedLevelThenReplacesOrEmptiesIt) {
    kov::CBoard Board;
    EXPECT_EQ(Board.iLoadError, 0);
    EXPECT_EQ(std::make_pair(Board.iWidth, Board.iHeight), std::make_pair(20, 20));
    EXPECT_EQ(Board.iField[Board.iStartX][Board.iStartY], TILE_SAVE);

    const CTempFile Small("3\n2\nZ.X\n...\n", ".txt"), Wide("250\n2\nS\nZ\n", ".txt");
    testing::internal::CaptureStderr();
    EXPECT_TRUE(Board.LoadLevel(Small.Path()));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(Rows(Board), (SRows{"Z.X", "..."}));
    EXPECT_EQ(std::make_pair(Board.iStartX, Board.iStartY), std::make_pair(0, 0));

    Board.iStartX = 2;
    EXPECT_FALSE(Board.LoadLevel("/nonexistent/field.txt"));
    EXPECT_EQ(Board.iLoadError, ENOENT);
    EXPECT_EQ(std::make_tuple(Board.iWidth, Board.iHeight, Board.iStartX, Board.iStartY), std::make_tuple(0, 0, 0, 0));
    EXPECT_EQ(Rows(Board), SRows{});

    // A good load afterwards clears the error; a clamped size warns once, naming the file and the value.
    testing::internal::CaptureStderr();
    EXPECT_TRUE(Board.LoadLevel(Wide.Path()));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "kov: " + Wide.sPath + ": width 250 is more than 100, read as 100\n");
    EXPECT_EQ(Board.iLoadError, 0);
    EXPECT_EQ(std::make_pair(Board.iWidth, Board.iHeight), std::make_pair(BOARD_MAX_SIZE, 2));
}

TEST(ShippedLevel, AGoalCanBeReachedFromTheStart) {
    SLevel Level;
    ASSERT_TRUE(ReadLevelFile("data/field.txt", &Level));
    EXPECT_EQ(std::make_pair(Level.iWidth, Level.iHeight), std::make_pair(20, 20));
    EXPECT_TRUE(IsGoalReachable(Level));
    std::string sTiles;
    for (const std::string& sRow : Rows(Level)) {
        sTiles += sRow;
    }
    EXPECT_GE(std::count(sTiles.begin(), sTiles.end(), 'Z'), 1);
    EXPECT_GE(std::count(sTiles.begin(), sTiles.end(), 's'), 4);  // the start and at least three more
    EXPECT_GE(std::count(sTiles.begin(), sTiles.end(), 'O'), 10);
    EXPECT_GE(std::count(sTiles.begin(), sTiles.end(), 'X'), 100);
    // Written cleanly: one 'S', full rows, nothing after them, no stray characters.
    const std::string sNotes = Notes(Level);
    EXPECT_EQ(sNotes.substr(sNotes.find(" of ")), " of 1, rows 20, short, long, extra 0, other");
}
