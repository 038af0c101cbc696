#include <gtest/gtest.h>

#include <string>

#include "support/TempFile.h"
#include "tools/LevelCheck.h"

namespace {

struct SCheck {
    int iStatus;
    std::string sReport;
};

SCheck Check(const std::string& sLevel) {
    CTempFile file(sLevel, ".txt");
    SCheck check;
    check.iStatus = CheckLevel(file.Path(), &check.sReport);
    return check;
}

bool Holds(const SCheck& check, const std::string& sLine) {
    return check.sReport.find(sLine + "\n") != std::string::npos;
}

}  // namespace

TEST(LevelCheck, ACleanLevelIsDescribedWithoutWarnings) {
    const SCheck check = Check("6\n2\nS.O.sZ\n....Z.\n");
    EXPECT_EQ(check.iStatus, LEVEL_CHECK_PLAYABLE);
    EXPECT_TRUE(Holds(check, "start: (0, 0)"));
    EXPECT_TRUE(Holds(check, "goals: 2: (5, 0), (4, 1)"));
    EXPECT_TRUE(Holds(check, "save cells: 2: (0, 0), (4, 0)"));
    EXPECT_TRUE(Holds(check, "holes: 1: (2, 0)"));
    EXPECT_EQ(check.sReport.find("warning"), std::string::npos) << check.sReport;
    EXPECT_EQ(check.sReport.substr(check.sReport.size() - 9), "playable\n");
}

TEST(LevelCheck, WarnsAboutWhatTheGameSilentlyMends) {
    const SCheck check = Check("4 wide\n-2\n");
    EXPECT_EQ(check.iStatus, LEVEL_CHECK_UNPLAYABLE);
    EXPECT_TRUE(Holds(check, "warning: line 1: the text after the number is ignored"));
    EXPECT_TRUE(Holds(check, "warning: line 2: the height -2 is negative: the field is empty"));
    EXPECT_TRUE(Holds(check, "error: the field is empty"));

    const SCheck several = Check("4\n2\nS..S\n.SZ\n\n\nX\n");
    EXPECT_EQ(several.iStatus, LEVEL_CHECK_PLAYABLE);
    EXPECT_TRUE(Holds(several, "warning: 3 start cells 'S': the last, (1, 1), is the start; the others are save cells"));
    EXPECT_TRUE(Holds(several, "warning: row 1 (line 4) is shorter than 4 characters: the missing cells read as floor"));
    EXPECT_TRUE(Holds(several, "warning: 1 line(s) after the last row are ignored"));

    const SCheck stray = Check("2\n2\nS\x01\nZ\n");
    EXPECT_TRUE(Holds(stray, "warning: row 0 (line 3): '\\x01' at (1, 0) reads as floor"));
}

TEST(LevelCheck, AnUnreadableFileIsUnplayable) {
    std::string sReport;
    EXPECT_EQ(CheckLevel("/nonexistent/level.txt", &sReport), LEVEL_CHECK_UNPLAYABLE);
    EXPECT_EQ(sReport, "error: cannot read /nonexistent/level.txt: No such file or directory\nunplayable\n");
}
