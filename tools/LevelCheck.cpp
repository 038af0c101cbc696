#include "tools/LevelCheck.h"

#include <cctype>
#include <cstdio>
#include <vector>

#include "board/LevelFile.h"
#include "platform/FileMap.h"

namespace {

class CReport {
public:
    explicit CReport(std::string* pText) : pText(pText) {}

    void Line(const std::string& sLine) {
        *pText += sLine;
        *pText += '\n';
    }

    void Warning(const std::string& sText) {
        Line("warning: " + sText);
    }

    void Error(const std::string& sText) {
        Line("error: " + sText);
        bPlayable = false;
    }

    std::string* pText;
    bool bPlayable = true;
};

std::string Cell(int x, int y) {
    return "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
}

// Rows are counted from 0; the file's lines from 1, two size lines first.
std::string RowAndLine(int y) {
    return "row " + std::to_string(y) + " (line " + std::to_string(y + 3) + ")";
}

std::string Join(const std::vector<std::string>& Parts) {
    std::string sText;
    for (size_t i = 0; i < Parts.size(); ++i) {
        sText += (i == 0 ? "" : ", ") + Parts[i];
    }
    return sText;
}

std::vector<std::string> CellsHolding(const SLevel& level, int iTile) {
    std::vector<std::string> Cells;
    for (int y = 0; y < level.iHeight; ++y) {
        for (int x = 0; x < level.iWidth; ++x) {
            if (level.iField[x][y] == iTile) {
                Cells.push_back(Cell(x, y));
            }
        }
    }
    return Cells;
}

std::string Quoted(int iChar) {
    char szText[8];
    if (std::isprint(iChar)) {
        std::snprintf(szText, sizeof(szText), "'%c'", iChar);
    } else {
        std::snprintf(szText, sizeof(szText), "'\\x%02x'", iChar);
    }
    return szText;
}

void CheckSize(const SLevelSize& size, const char* szName, int iLine, CReport* pReport) {
    const std::string sLine = "line " + std::to_string(iLine);
    if (!size.bNumber) {
        pReport->Warning(sLine + " holds no number: the " + szName + " is 0");
        return;
    }
    const std::string sValue = std::to_string(size.llValue);
    // "%i" takes a leading 0 as octal and 0x as hexadecimal, which an author rarely means.
    const std::string sDigits = size.sText.substr(size.sText[0] == '+' || size.sText[0] == '-' ? 1 : 0);
    if (sDigits.size() > 1 && sDigits[0] == '0') {
        const bool bHex = sDigits[1] == 'x' || sDigits[1] == 'X';
        pReport->Warning(sLine + ": \"" + size.sText + "\" is " + (bHex ? "hexadecimal" : "octal") + " and reads as " +
                         sValue);
    }
    if (size.bTrailingText) {
        pReport->Warning(sLine + ": the text after the number is ignored");
    }
    if (size.llValue < 0) {
        pReport->Warning(sLine + ": the " + szName + " " + sValue + " is negative: the field is empty");
    }
}

void CheckRows(const SLevel& level, CReport* pReport) {
    const std::string sWidth = std::to_string(level.iWidth) + " characters";
    for (int y : level.ShortRows) {
        pReport->Warning(RowAndLine(y) + " is shorter than " + sWidth + ": the missing cells read as floor");
    }
    for (int y : level.LongRows) {
        pReport->Warning(RowAndLine(y) + " is longer than " + sWidth + ": the rest is ignored");
    }
    if (level.iRowLines < level.iHeight) {
        pReport->Warning("the file ends after " + std::to_string(level.iRowLines) + " of " +
                         std::to_string(level.iHeight) + " rows: the missing rows read as floor");
    }
    for (const SLevelChar& other : level.OtherChars) {
        const char* szHint = other.iChar == '0' ? " (the digit; a hole is the letter O)" : "";
        pReport->Warning(RowAndLine(other.iY) + ": " + Quoted(other.iChar) + " at " + Cell(other.iX, other.iY) +
                         " reads as floor" + szHint);
    }
}

void CheckStart(const SLevel& level, CReport* pReport) {
    const std::string sStart = Cell(level.iStartX, level.iStartY);
    if (level.iStartCount == 0) {
        pReport->Error("no start cell 'S': the ball would start at " + sStart);
    } else if (level.iStartCount > 1) {
        pReport->Warning(std::to_string(level.iStartCount) + " start cells 'S': the last, " + sStart +
                         ", is the start; the others are save cells");
    }
    const int iTile = level.iField[level.iStartX][level.iStartY];
    if (iTile == TILE_WALL || iTile == TILE_HOLE) {
        pReport->Error("the start " + sStart + " is " + (iTile == TILE_WALL ? "a wall" : "a hole"));
    }
}

void Describe(const SLevel& level, const char* szFileName, CReport* pReport) {
    pReport->Line(std::string(szFileName) + ": " + std::to_string(level.iWidth) + " columns x " +
                  std::to_string(level.iHeight) + " rows; cells are (column, row) from 0");
    pReport->Line("start: " + Cell(level.iStartX, level.iStartY));
    static const struct {
        const char* szName;
        int iTile;
    } LISTED[] = {{"goals", TILE_GOAL}, {"save cells", TILE_SAVE}, {"holes", TILE_HOLE}};
    for (const auto& listed : LISTED) {
        const std::vector<std::string> Cells = CellsHolding(level, listed.iTile);
        pReport->Line(std::string(listed.szName) + ": " + std::to_string(Cells.size()) + (Cells.empty() ? "" : ": ") +
                      Join(Cells));
    }
}

}  // namespace

int CheckLevel(const char* szFileName, std::string* pReport) {
    pReport->clear();
    CReport report(pReport);
    SLevel level;
    if (!ReadLevelFile(szFileName, &level)) {
        report.Error(std::string("cannot read ") + szFileName + ": " + DescribeFileError(level.iError));
        report.Line("unplayable");
        return LEVEL_CHECK_UNPLAYABLE;
    }
    Describe(level, szFileName, &report);
    CheckSize(level.Width, "width", 1, &report);
    CheckSize(level.Height, "height", 2, &report);
    const std::string sClamped = DescribeClampedSizes(level);
    if (!sClamped.empty()) {
        report.Warning(sClamped);
    }
    if (level.iWidth == 0 || level.iHeight == 0) {
        report.Error("the field is empty");
    } else {
        CheckRows(level, &report);
        CheckStart(level, &report);
        if (CellsHolding(level, TILE_GOAL).empty()) {
            report.Error("no goal cell 'Z'");
        } else if (report.bPlayable && !IsGoalReachable(level)) {
            report.Error("no goal can be reached from the start over cells that are neither wall nor hole");
        }
    }
    report.Line(report.bPlayable ? "playable" : "unplayable");
    return report.bPlayable ? LEVEL_CHECK_PLAYABLE : LEVEL_CHECK_UNPLAYABLE;
}
