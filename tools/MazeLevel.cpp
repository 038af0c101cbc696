#include "tools/MazeLevel.h"

#include <vector>

#include "board/Board.h"

namespace {

constexpr int SAVE_EVERY = 10;  // rooms along the way from one save room to the next
constexpr uint32_t HOLE_CHANCE = 3;  // one room in this many holds a hole

// A 32-bit linear congruential generator; its upper bits are the well-mixed ones.
class CRandom {
public:
    explicit CRandom(uint32_t dwSeed) : dwState(dwSeed) {}
    uint32_t Below(uint32_t dwLimit) {
        dwState = dwState * 1664525u + 1013904223u;
        return (dwState >> 16) % dwLimit;
    }

private:
    uint32_t dwState;
};

class CMaze {
public:
    CMaze(int iWidth, int iHeight)
        : iWidth(iWidth), iRoomsX((iWidth - 1) / MAZE_PITCH), iRoomsY((iHeight - 1) / MAZE_PITCH),
          iStart(iRoomsY / 2 * iRoomsX + iRoomsX / 2),
          Rows(static_cast<size_t>(iHeight), std::string(static_cast<size_t>(iWidth), 'X')),
          Parent(static_cast<size_t>(iRoomsX * iRoomsY), -1) {}

    // Carves a spanning tree of the rooms by a depth-first walk from the start
    // that goes on to a random unvisited neighbour, and backs up at dead ends.
    void Carve(CRandom* pRandom) {
        std::vector<bool> Visited(Parent.size(), false);
        std::vector<int> Stack = {iStart};
        Visited[static_cast<size_t>(iStart)] = true;
        Fill(iStart, '.');
        while (!Stack.empty()) {
            const int iRoom = Stack.back();
            std::vector<int> Next;
            for (int iNeighbour : Neighbours(iRoom)) {
                if (!Visited[static_cast<size_t>(iNeighbour)]) {
                    Next.push_back(iNeighbour);
                }
            }
            if (Next.empty()) {
                Stack.pop_back();
                continue;
            }
            const int iNext = Next[pRandom->Below(static_cast<uint32_t>(Next.size()))];
            Visited[static_cast<size_t>(iNext)] = true;
            Parent[static_cast<size_t>(iNext)] = iRoom;
            Fill(iNext, '.');
            OpenPassage(iRoom, iNext);
            Stack.push_back(iNext);
        }
    }

    // Start, goal, save rooms and holes; the tree has one way from the start to the goal.
    void Furnish(CRandom* pRandom) {
        std::vector<int> Way;
        for (int iRoom = FarthestRoom(); iRoom != -1; iRoom = Parent[static_cast<size_t>(iRoom)]) {
            Way.insert(Way.begin(), iRoom);
        }
        std::vector<bool> Kept(Parent.size(), false);
        for (size_t i = 0; i < Way.size(); i += SAVE_EVERY) {
            Kept[static_cast<size_t>(Way[i])] = true;
            Fill(Way[i], 's');
        }
        Kept[static_cast<size_t>(Way.back())] = true;
        Fill(Way.back(), 'Z');
        Cell(iStart, 0) = 'S';
        // One hole in a 2 x 2 room leaves its other three cells joined to every side.
        for (int iRoom = 0; iRoom < iRoomsX * iRoomsY; ++iRoom) {
            if (!Kept[static_cast<size_t>(iRoom)] && pRandom->Below(HOLE_CHANCE) == 0) {
                const int iCorner = static_cast<int>(pRandom->Below(4));
                Cell(iRoom, iCorner) = 'O';
            }
        }
    }

    std::string Text() const {
        std::string sText = std::to_string(iWidth) + "\n" + std::to_string(Rows.size()) + "\n";
        for (const std::string& sRow : Rows) {
            sText += sRow + "\n";
        }
        return sText;
    }

private:
    // Cell iCorner (0 to 3, row by row) of a room's 2 x 2 floor.
    char& Cell(int iRoom, int iCorner) {
        const int x = iRoom % iRoomsX * MAZE_PITCH + 1 + iCorner % 2;
        const int y = iRoom / iRoomsX * MAZE_PITCH + 1 + iCorner / 2;
        return Rows[static_cast<size_t>(y)][static_cast<size_t>(x)];
    }

    void Fill(int iRoom, char cTile) {
        for (int iCorner = 0; iCorner < 4; ++iCorner) {
            Cell(iRoom, iCorner) = cTile;
        }
    }

    // The two wall cells between a room and its neighbour to the right or below.
    void OpenPassage(int iRoom, int iOther) {
        const int iFirst = iRoom < iOther ? iRoom : iOther;
        const bool bRight = iRoom / iRoomsX == iOther / iRoomsX;
        const int x = iFirst % iRoomsX * MAZE_PITCH + 1;  // the first room's top left cell
        const int y = iFirst / iRoomsX * MAZE_PITCH + 1;
        for (int i = 0; i < 2; ++i) {
            Rows[static_cast<size_t>(bRight ? y + i : y + 2)][static_cast<size_t>(bRight ? x + 2 : x + i)] = '.';
        }
    }

    std::vector<int> Neighbours(int iRoom) const {
        const int x = iRoom % iRoomsX;
        const int y = iRoom / iRoomsX;
        std::vector<int> Result;
        if (x > 0) {
            Result.push_back(iRoom - 1);
        }
        if (x + 1 < iRoomsX) {
            Result.push_back(iRoom + 1);
        }
        if (y > 0) {
            Result.push_back(iRoom - iRoomsX);
        }
        if (y + 1 < iRoomsY) {
            Result.push_back(iRoom + iRoomsX);
        }
        return Result;
    }

    // The room with the longest way from the start through the tree.
    int FarthestRoom() const {
        int iFarthest = iStart;
        int iMost = 0;
        for (int iRoom = 0; iRoom < iRoomsX * iRoomsY; ++iRoom) {
            int iSteps = 0;
            for (int i = iRoom; i != iStart; i = Parent[static_cast<size_t>(i)]) {
                ++iSteps;
            }
            if (iSteps > iMost) {
                iMost = iSteps;
                iFarthest = iRoom;
            }
        }
        return iFarthest;
    }

    int iWidth;
    int iRoomsX;
    int iRoomsY;
    int iStart;  // the middle room, in the start view
    std::vector<std::string> Rows;
    std::vector<int> Parent;  // the room each room was carved from; -1 for the start
};

bool IsMazeSize(int iSize) {
    return iSize >= MAZE_MIN_SIZE && iSize <= BOARD_MAX_SIZE && (iSize - 1) % MAZE_PITCH == 0;
}

}  // namespace

std::string MakeMazeLevel(int iWidth, int iHeight, uint32_t dwSeed) {
    if (!IsMazeSize(iWidth) || !IsMazeSize(iHeight)) {
        return "";
    }
    CRandom random(dwSeed);
    CMaze maze(iWidth, iHeight);
    maze.Carve(&random);
    maze.Furnish(&random);
    return maze.Text();
}
