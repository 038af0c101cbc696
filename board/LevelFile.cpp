#include "board/LevelFile.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>

#include "platform/FileMap.h"

namespace {

// A file whose needed part, up to its last row, runs past this is refused:
// only regular files are read, but one may be huge.
constexpr size_t LEVEL_MAX_BYTES = 1 << 20;

// Of a size line only the start can matter: the number, after white space.
constexpr size_t SIZE_LINE_KEEP = 64;

// The bytes of a level text in memory, or of a file up to LEVEL_MAX_BYTES.
class CLevelBytes {
public:
    CLevelBytes(const char* pText, size_t uLength) : pText(pText), uLeft(uLength) {}
    explicit CLevelBytes(std::FILE* pFile) : pFile(pFile), uLeft(LEVEL_MAX_BYTES) {}

    // The next byte, or EOF at the end of the text, of the file or of the bound.
    int Next() {
        if (uLeft == 0) {
            bPastBound = pFile != nullptr && std::getc(pFile) != EOF;
            return EOF;
        }
        --uLeft;
        return pFile != nullptr ? std::getc(pFile) : static_cast<unsigned char>(*pText++);
    }

    const char* pText = nullptr;
    std::FILE* pFile = nullptr;
    size_t uLeft;
    bool bPastBound = false;
};

// One line without its line end ("\n" or "\r\n"): as many of its first
// characters as can matter, its whole length, and whether anything but white
// space follows the kept characters.
struct SLine {
    std::string sKept;
    size_t uLength = 0;
    bool bTextBeyond = false;
};

// Reads the next line, keeping uKeep characters of it; false when no byte is left.
bool ReadLine(CLevelBytes* pBytes, size_t uKeep, SLine* pLine) {
    int iChar = pBytes->Next();
    if (iChar == EOF) {
        return false;
    }
    pLine->sKept.clear();
    pLine->uLength = 0;
    pLine->bTextBeyond = false;
    int iLast = 0;
    for (; iChar != EOF && iChar != '\n'; iChar = pBytes->Next()) {
        if (pLine->uLength < uKeep) {
            pLine->sKept.push_back(static_cast<char>(iChar));
        } else {
            pLine->bTextBeyond = pLine->bTextBeyond || !std::isspace(iChar);
        }
        ++pLine->uLength;
        iLast = iChar;
    }
    if (iLast == '\r') {
        --pLine->uLength;
        pLine->sKept.resize(std::min(pLine->sKept.size(), pLine->uLength));
    }
    return true;
}

// The "%i" conversion at the start of the line: white space skipped, then a
// decimal, octal ("0…") or hexadecimal ("0x…") number with an optional sign.
SLevelSize ReadSize(const SLine& line) {
    const char* szStart = line.sKept.c_str();
    while (std::isspace(static_cast<unsigned char>(*szStart))) {
        ++szStart;
    }
    char* pAfter = nullptr;
    SLevelSize size;
    size.llValue = std::strtoll(szStart, &pAfter, 0);
    size.bNumber = pAfter != szStart;
    size.sText.assign(szStart, static_cast<size_t>(pAfter - szStart));
    size.bTrailingText = line.bTextBeyond;
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
        const int iChar = bPresent ? static_cast<unsigned char>(line.sKept[x]) : ' ';
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

// Rows the text lacks stay floor; nothing after the last row is read.
void ReadLevel(CLevelBytes* pBytes, SLevel* pLevel) {
    *pLevel = SLevel();
    SLine line;
    if (ReadLine(pBytes, SIZE_LINE_KEEP, &line)) {
        pLevel->Width = ReadSize(line);
    }
    if (ReadLine(pBytes, SIZE_LINE_KEEP, &line)) {
        pLevel->Height = ReadSize(line);
    }
    pLevel->iWidth = FieldSize(pLevel->Width);
    pLevel->iHeight = FieldSize(pLevel->Height);
    while (pLevel->iRowLines < pLevel->iHeight && ReadLine(pBytes, static_cast<size_t>(pLevel->iWidth), &line)) {
        ReadRow(line, pLevel->iRowLines, pLevel);
        ++pLevel->iRowLines;
    }
}

bool IsOpen(const SLevel& level, int x, int y) {
    const int iTile = level.iField[x][y];
    return iTile != TILE_WALL && iTile != TILE_HOLE;
}

}  // namespace

SLevel::SLevel()
    : iWidth(0), iHeight(0), iStartX(0), iStartY(0), iError(0), iStartCount(0), iRowLines(0) {
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
    CLevelBytes bytes(pText, uLength);
    ReadLevel(&bytes, pLevel);
}

bool ReadLevelFile(const char* szFileName, SLevel* pLevel) {
    *pLevel = SLevel();
    std::FILE* pFile = OpenRegularFile(szFileName, &pLevel->iError);
    if (pFile == nullptr) {
        return false;
    }
    CLevelBytes bytes(pFile);
    ReadLevel(&bytes, pLevel);
    int iError = 0;
    if (bytes.bPastBound) {
        iError = EFBIG;
    } else if (std::ferror(pFile) != 0) {
        iError = errno != 0 ? errno : EIO;
    }
    std::fclose(pFile);
    if (iError != 0) {
        *pLevel = SLevel();
        pLevel->iError = iError;
        return false;
    }
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
