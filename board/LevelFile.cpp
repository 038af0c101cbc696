#include "board/LevelFile.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>

namespace {

// One line of the text, without its line end ("\n" or "\r\n").
struct SLine {
    const char* pText;
    size_t uLength;
};

// Splits the next line off [*ppCursor, pEnd); false when the text is used up.
bool NextLine(const char** ppCursor, const char* pEnd, SLine* pLine) {
    const char* pStart = *ppCursor;
    if (pStart >= pEnd) {
        return false;
    }
    const void* pNewline = std::memchr(pStart, '\n', static_cast<size_t>(pEnd - pStart));
    const char* pLineEnd = pNewline != nullptr ? static_cast<const char*>(pNewline) : pEnd;
    *ppCursor = pNewline != nullptr ? pLineEnd + 1 : pEnd;
    if (pLineEnd > pStart && pLineEnd[-1] == '\r') {
        --pLineEnd;
    }
    pLine->pText = pStart;
    pLine->uLength = static_cast<size_t>(pLineEnd - pStart);
    return true;
}

bool IsBlank(const SLine& line) {
    for (size_t i = 0; i < line.uLength; ++i) {
        if (!std::isspace(static_cast<unsigned char>(line.pText[i]))) {
            return false;
        }
    }
    return true;
}

// The "%i" conversion at the start of the line: white space skipped, then a
// decimal, octal ("0…") or hexadecimal ("0x…") number with an optional sign.
SLevelSize ReadSize(const SLine& line) {
    const std::string sLine(line.pText, line.uLength);
    const char* szStart = sLine.c_str();
    while (std::isspace(static_cast<unsigned char>(*szStart))) {
        ++szStart;
    }
    char* pAfter = nullptr;
    SLevelSize size;
    size.llValue = std::strtoll(szStart, &pAfter, 0);
    size.bNumber = pAfter != szStart;
    size.sText.assign(szStart, static_cast<size_t>(pAfter - szStart));
    for (const char* p = pAfter; *p != '\0'; ++p) {
        size.bTrailingText = size.bTrailingText || !std::isspace(static_cast<unsigned char>(*p));
    }
    return size;
}

// Negative sizes leave the field empty; the grid holds at most BOARD_MAX_SIZE.
int FieldSize(const SLevelSize& size) {
    if (size.llValue < 0) {
        return 0;
    }
    return size.llValue > BOARD_MAX_SIZE ? BOARD_MAX_SIZE : static_cast<int>(size.llValue);
}

bool IsMeantAsFloor(int iChar) {
    return iChar == '.' || iChar == ' ';
}

void ReadRow(const SLine& line, int y, SLevel* pLevel) {
    for (int x = 0; x < pLevel->iWidth; ++x) {
        // A short row reads as floor where it has no characters.
        const bool bPresent = static_cast<size_t>(x) < line.uLength;
        const int iChar = bPresent ? static_cast<unsigned char>(line.pText[x]) : ' ';
        const int iTile = TileOfChar(iChar);
        pLevel->iField[x][y] = iTile;
        if (iChar == 'S') {
            pLevel->iStartX = x;
            pLevel->iStartY = y;
            ++pLevel->iStartCount;
        } else if (iTile == TILE_WOOD && !IsMeantAsFloor(iChar)) {
            pLevel->OtherChars.push_back({x, y, iChar});
        }
    }
    if (line.uLength < static_cast<size_t>(pLevel->iWidth)) {
        pLevel->ShortRows.push_back(y);
    } else if (line.uLength > static_cast<size_t>(pLevel->iWidth)) {
        pLevel->LongRows.push_back(y);
    }
}

bool IsOpen(const SLevel& level, int x, int y) {
    const int iTile = level.iField[x][y];
    return iTile != TILE_WALL && iTile != TILE_HOLE;
}

}  // namespace

SLevel::SLevel()
    : iWidth(0), iHeight(0), iStartX(0), iStartY(0), iError(0), iStartCount(0), iRowLines(0), iExtraLines(0) {
    std::memset(iField, 0, sizeof(iField));
}

int TileOfChar(int iChar) {
    switch (iChar) {
        case 'X':
        case 'x':
            return TILE_WALL;
        case 'O':
        case 'o':
            return TILE_HOLE;
        case 'Z':
        case 'z':
            return TILE_GOAL;
        case 's':
        case 'S':
            return TILE_SAVE;
        default:
            return TILE_WOOD;
    }
}

void ParseLevel(const char* pText, size_t uLength, SLevel* pLevel) {
    *pLevel = SLevel();
    const char* pCursor = pText;
    const char* pEnd = pText + uLength;
    SLine line;
    if (NextLine(&pCursor, pEnd, &line)) {
        pLevel->Width = ReadSize(line);
    }
    if (NextLine(&pCursor, pEnd, &line)) {
        pLevel->Height = ReadSize(line);
    }
    pLevel->iWidth = FieldSize(pLevel->Width);
    pLevel->iHeight = FieldSize(pLevel->Height);
    // Rows the file lacks stay floor.
    while (pLevel->iRowLines < pLevel->iHeight && NextLine(&pCursor, pEnd, &line)) {
        ReadRow(line, pLevel->iRowLines, pLevel);
        ++pLevel->iRowLines;
    }
    while (NextLine(&pCursor, pEnd, &line)) {
        pLevel->iExtraLines += IsBlank(line) ? 0 : 1;
    }
}

bool ReadLevelFile(const char* szFileName, SLevel* pLevel) {
    *pLevel = SLevel();
    std::FILE* pFile = std::fopen(szFileName, "rb");
    if (pFile == nullptr) {
        pLevel->iError = errno != 0 ? errno : EIO;
        return false;
    }
    std::string sText;
    char szChunk[4096];
    size_t uRead;
    while ((uRead = std::fread(szChunk, 1, sizeof(szChunk), pFile)) > 0) {
        sText.append(szChunk, uRead);
    }
    const bool bFailed = std::ferror(pFile) != 0;
    const int iReadError = errno;
    std::fclose(pFile);
    if (bFailed) {
        pLevel->iError = iReadError != 0 ? iReadError : EIO;
        return false;
    }
    ParseLevel(sText.data(), sText.size(), pLevel);
    return true;
}

std::string DescribeClampedSizes(const SLevel& level) {
    const bool bWide = level.Width.llValue > BOARD_MAX_SIZE;
    const bool bHigh = level.Height.llValue > BOARD_MAX_SIZE;
    if (!bWide && !bHigh) {
        return std::string();
    }
    std::string sWhat;
    if (bWide) {
        sWhat = "width " + level.Width.sText;
    }
    if (bHigh) {
        sWhat += (bWide ? " and height " : "height ") + level.Height.sText;
    }
    const char* szVerb = bWide && bHigh ? " are" : " is";
    return sWhat + szVerb + " more than " + std::to_string(BOARD_MAX_SIZE) + ", read as " +
           std::to_string(BOARD_MAX_SIZE);
}

bool IsGoalReachable(const SLevel& level) {
    if (level.iStartX >= level.iWidth || level.iStartY >= level.iHeight || !IsOpen(level, level.iStartX, level.iStartY)) {
        return false;
    }
    static const int STEPS[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    std::vector<bool> Seen(static_cast<size_t>(level.iWidth * level.iHeight), false);
    std::deque<std::pair<int, int>> Open;
    Open.emplace_back(level.iStartX, level.iStartY);
    Seen[static_cast<size_t>(level.iStartY * level.iWidth + level.iStartX)] = true;
    while (!Open.empty()) {
        const auto [x, y] = Open.front();
        Open.pop_front();
        if (level.iField[x][y] == TILE_GOAL) {
            return true;
        }
        for (const auto& step : STEPS) {
            const int iNextX = x + step[0];
            const int iNextY = y + step[1];
            if (iNextX < 0 || iNextY < 0 || iNextX >= level.iWidth || iNextY >= level.iHeight) {
                continue;
            }
            const size_t uIndex = static_cast<size_t>(iNextY * level.iWidth + iNextX);
            if (!Seen[uIndex] && IsOpen(level, iNextX, iNextY)) {
                Seen[uIndex] = true;
                Open.emplace_back(iNextX, iNextY);
            }
        }
    }
    return false;
}
