#include <gtest/gtest.h>

#include "support/TempFile.h"
#include "tools/LevelCheck.h"

TEST(LevelCheck, DescribesTheLevelAndWarnsAboutWhatTheGameSilentlyMends) {
    const struct {
        std::string sLevel;
        int iStatus;
        std::vector<std::string> Lines;  // each must be in the report
    } CASES[] = {
        {"6\n2\nS.O.sZ\n....Z.\n",
         LEVEL_CHECK_PLAYABLE,
         {"start: (0, 0)", "goals: 2: (5, 0), (4, 1)", "save cells: 2: (0, 0), (4, 0)", "holes: 1: (2, 0)"}},
        {"4 wide\n-2\n",
         LEVEL_CHECK_UNPLAYABLE,
         {"warning: line 1: the text after the number is ignored",
          "warning: line 2: the height -2 is negative: the field is empty", "error: the field is empty"}},
        {"4\n2\nS..S\n.SZ\n\n\nX\n",
         LEVEL_CHECK_PLAYABLE,
         {"warning: 3 start cells 'S': the last, (1, 1), is the start; the others are save cells",
          "warning: row 1 (line 4) is shorter than 4 characters: the missing cells read as floor",
          "warning: 1 line(s) after the last row are ignored"}},
        {"2\n2\nS\x01\nZ\n",
         LEVEL_CHECK_PLAYABLE,
         {"warning: row 0 (line 3): '\\x01' at (1, 0) reads as floor",
          "warning: row 1 (line 4) is shorter than 2 characters: the missing cells read as floor"}},
    };
    for (const auto& Case : CASES) {
        const CTempFile File(Case.sLevel, ".txt");
        std::string sReport;
        EXPECT_EQ(CheckLevel(File.Path(), &sReport), Case.iStatus) << Case.sLevel;
        const std::string sVerdict = Case.iStatus == LEVEL_CHECK_PLAYABLE ? "\nplayable\n" : "\nunplayable\n";
        EXPECT_EQ(sReport.substr(sReport.size() - std::min(sReport.size(), sVerdict.size())), sVerdict) << sReport;
        // Exactly the warnings listed: none for the clean level.
        int iWarnings = 0;
        for (const std::string& sLine : Case.Lines) {
            EXPECT_NE(sReport.find(sLine + "\n"), std::string::npos) << sLine << " is not in\n" << sReport;
            iWarnings += sLine.compare(0, 9, "warning: ") == 0 ? 1 : 0;
        }
        for (size_t u = sReport.find("warning: "); u != std::string::npos; u = sReport.find("warning: ", u + 1)) {
            --iWarnings;
        }
        EXPECT_EQ(iWarnings, 0) << sReport;
    }
}

TEST(LevelCheck, AnUnreadableFileIsUnplayable) {
    std::string sReport;
    EXPECT_EQ(CheckLevel("/nonexistent/level.txt", &sReport), LEVEL_CHECK_UNPLAYABLE);
    EXPECT_EQ(sReport, "error: cannot read /nonexistent/level.txt: No such file or directory\nunplayable\n");
}
