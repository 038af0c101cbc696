#include "ball/BallMotion.h"

#include <algorithm>
#include <cmath>

#include "app/Globals.h"

namespace {

constexpr double PI = 3.141592653589793;

constexpr double BOUNCE = -0.25;        // the velocity component that hits the rim or a wall
constexpr double WALL_FRICTION = 0.95;  // the other component at a wall
constexpr double PUSH_OUT = 1.02;       // distance from a wall contact, in radii
constexpr float MIN_MOVE = 1e-10f;      // shorter planar moves are not carried out
constexpr float NO_CONTACT = 1e6f;      // farther than any contact
constexpr double ROLL_FACTOR = 50.0;    // rolling angle in degrees = position * pi * 50

// Floors are turned into cells only within +-2^29: there adding half of any
// int field size, and a neighbour's 1, stays inside int. Beyond (or NaN)
// there is no cell.
constexpr float CELL_RANGE = 536870912.0f;

// The cells of the board that the grid actually holds: a bad level may claim more.
int GridColumns() { return std::min(g_Board.iWidth, BOARD_MAX_SIZE); }
int GridRows() { return std::min(g_Board.iHeight, BOARD_MAX_SIZE); }

// Half a board of iSize cells: the exact half, as the board is drawn.
double HalfOf(int iSize) {
    return iSize * 0.5;
}

// The column (or row) of a coordinate on a board of iSize cells centred on 0.
// False for a coordinate too far off (or NaN) to have one. An odd size puts
// the cell edges on the halves: the coordinate is moved by the half's
// fraction, in double, where that sum is exact.
bool CellOf(float fCoordinate, int iSize, int* piCell) {
    const double dFraction = HalfOf(iSize) - iSize / 2;
    const double dFloor = std::floor(fCoordinate + dFraction);
    if (!(std::fabs(dFloor) <= CELL_RANGE)) {
        return false;
    }
    *piCell = static_cast<int>(dFloor) + iSize / 2;
    return true;
}

bool FindCell(float fX, float fZ, int* piCellX, int* piCellY) {
    return CellOf(fX, g_Board.iWidth, piCellX) && CellOf(fZ, g_Board.iHeight, piCellY);
}

// Cells off the grid read as plain floor.
int TileAt(int iCellX, int iCellY) {
    if (iCellX < 0 || iCellX >= GridColumns() || iCellY < 0 || iCellY >= GridRows()) {
        return TILE_WOOD;
    }
    return g_Board.iField[iCellX][iCellY];
}

// A component that passed the rim is put on it and bounces back.
void BounceOffRim(float* pfCoordinate, double* pdVelocity, float fHalfSize) {
    const double dLow = -fHalfSize + 0.5;
    const double dHigh = fHalfSize - 0.5;
    if (*pfCoordinate < dLow) {
        *pfCoordinate = static_cast<float>(dLow);
        *pdVelocity *= BOUNCE;
    }
    if (*pfCoordinate > dHigh) {
        *pfCoordinate = static_cast<float>(dHigh);
        *pdVelocity *= BOUNCE;
    }
}

// The distance covered in a step: velocity * 0.5 * dTime^2 * 100.
double Displacement(double dVelocity, double dTime) {
    return dVelocity * 0.5 * (dTime * dTime) * 100.0;
}

double Radians(double dDegrees) {
    return dDegrees * PI / 180.0;
}

// The two trigonometric terms of the acceleration by a tilt: the sine of the
// tilt and the cosine of its complement. The tilt changes only on input, so
// each axis keeps the pair of the tilt it last saw.
class CTiltTerms {
public:
    void Update(float fTilt) {
        if (fTilt == fLastTilt) {
            return;
        }
        fLastTilt = fTilt;
        dSin = std::sin(Radians(fTilt));
        dCosComplement = std::cos(Radians(90.0 - fTilt));
    }

    float fLastTilt = 0.0f;
    double dSin = 0.0;
    double dCosComplement = std::cos(Radians(90.0));
};

CTiltTerms s_TermsZ;
CTiltTerms s_TermsX;

void Respawn() {
    PlaceBallOnRespawnCell();
    g_Ball.dVelocityZ = 0.0;
    g_Ball.dVelocityX = 0.0;
    g_Board.fTiltX = 0.0f;
    g_Board.fTiltZ = 0.0f;
}

// Moves vDest back out of the wall, along the line from the contact to the
// ball's centre, and turns the velocity component that hit it.
void RespondToWall(const CVector2& vIP, CVector3* pvDest) {
    const CVector3& vPosition = g_Ball.vPosition;
    // A contact on the centre itself gives no direction to push along: the
    // zero vector keeps its length, and the ball stays on the contact.
    CVector2 vNormal = MakeVector(vIP.x - vPosition.x, vIP.y - vPosition.z);
    SetLength(&vNormal, static_cast<float>(g_Ball.fRadius * PUSH_OUT));
    pvDest->x = vIP.x - vNormal.x;
    pvDest->z = vIP.y - vNormal.y;
    if (std::fabs(vNormal.x) > std::fabs(vNormal.y)) {
        g_Ball.dVelocityX *= BOUNCE;
        g_Ball.dVelocityZ *= WALL_FRICTION;
    } else {
        g_Ball.dVelocityZ *= BOUNCE;
        g_Ball.dVelocityX *= WALL_FRICTION;
    }
}

// The rotation follows the absolute position, so the ball is seen to roll.
void Roll(const CVector3& vDest) {
    g_Ball.vRotation.z = static_cast<float>(-vDest.x * PI * ROLL_FACTOR);
    g_Ball.vRotation.x = static_cast<float>(vDest.z * PI * ROLL_FACTOR);
}

struct SEdge {
    CVector2 P1;
    CVector2 P2;
    float fAcross;  // from the edge's line to the centre, perpendicular to it
};

// Tests the four edges of wall cell (i, j); the nearest contact so far wins,
// and of equal ones the later.
void TestWallCell(const CVector2& C, int i, int j, bool* pbHit, float* pfNearest, CVector2* pvIP) {
    const float fLowX = static_cast<float>(i - HalfOf(g_Board.iWidth));
    const float fLowZ = static_cast<float>(j - HalfOf(g_Board.iHeight));
    const float fHighX = fLowX + 1.0f;
    const float fHighZ = fLowZ + 1.0f;
    const SEdge EDGES[4] = {
        {{fLowX, fLowZ}, {fLowX, fHighZ}, C.x - fLowX},    // low x
        {{fHighX, fLowZ}, {fHighX, fHighZ}, C.x - fHighX},  // high x
        {{fLowX, fLowZ}, {fHighX, fLowZ}, C.y - fLowZ},    // low z
        {{fLowX, fHighZ}, {fHighX, fHighZ}, C.y - fHighZ},  // high z
    };
    const float fRadiusSquared = g_Ball.fRadius * g_Ball.fRadius;
    for (const SEdge& edge : EDGES) {
        // The full test forms this same difference for an axis-parallel edge:
        // when its square alone is beyond the radius, no contact can follow.
        if (edge.fAcross * edge.fAcross > fRadiusSquared) {
            continue;
        }
        CVector2 vContact;
        float fDist;
        if (!IntersectCircleSegment(C, g_Ball.fRadius, edge.P1, edge.P2, &vContact, &fDist)) {
            continue;
        }
        *pbHit = true;
        if (fDist <= *pfNearest) {
            *pfNearest = fDist;
            *pvIP = vContact;
        }
    }
}

// The wall search for a ball centred at C in cell (iCellX, iCellY): the wall
// cells among it and its neighbours on the grid, row by row.
bool CollideAround(const CVector2& C, int iCellX, int iCellY, CVector2* pvIP) {
    bool bHit = false;
    float fNearest = NO_CONTACT;
    const int iFirstRow = std::max(iCellY - 1, 0);
    const int iLastRow = std::min(iCellY + 1, GridRows() - 1);
    const int iFirstColumn = std::max(iCellX - 1, 0);
    const int iLastColumn = std::min(iCellX + 1, GridColumns() - 1);
    for (int j = iFirstRow; j <= iLastRow; ++j) {
        for (int i = iFirstColumn; i <= iLastColumn; ++i) {
            if (g_Board.iField[i][j] == TILE_WALL) {
                TestWallCell(C, i, j, &bHit, &fNearest, pvIP);
            }
        }
    }
    return bHit;
}

}  // namespace

namespace kov {

CVector3 CBall::Advance(float fTiltZ, float fTiltX, double dTime) {
    CVector3 vRes = vPosition;
    const float fHalfWidth = static_cast<float>(iWidth * 0.5);
    const float fHalfHeight = static_cast<float>(iHeight * 0.5);

    // Both terms together change the velocity by -2.943 * sin(tilt): a board
    // raised on its +x side drives the ball toward -x.
    s_TermsZ.Update(fTiltZ);
    dVelocityX = dVelocityX + s_TermsZ.dSin * -9.81;
    dVelocityX = dVelocityX - s_TermsZ.dCosComplement * -6.867;
    vRes.x = static_cast<float>(Displacement(dVelocityX, dTime) + vRes.x);
    BounceOffRim(&vRes.x, &dVelocityX, fHalfWidth);

    // A positive tilt about x lowers the +z side.
    s_TermsX.Update(fTiltX);
    dVelocityZ = dVelocityZ - s_TermsX.dSin * -9.81;
    dVelocityZ = dVelocityZ + s_TermsX.dCosComplement * -6.867;
    vRes.z = static_cast<float>(Displacement(dVelocityZ, dTime) + vRes.z);
    BounceOffRim(&vRes.z, &dVelocityZ, fHalfHeight);

    return vRes;
}

}  // namespace kov

void UpdateBall(double dTime) {
    // An empty board has no cell to land in.
    if (g_Board.iWidth <= 0 || g_Board.iHeight <= 0) {
        return;
    }
    CVector3 vDest = g_Ball.Advance(g_Board.fTiltZ, g_Board.fTiltX, dTime);

    int iCellX = 0;
    int iCellY = 0;
    const bool bHasCell = FindCell(vDest.x, vDest.z, &iCellX, &iCellY);
    const int iTile = bHasCell ? TileAt(iCellX, iCellY) : TILE_WOOD;
    if (iTile == TILE_HOLE) {
        Respawn();
        return;
    }
    if (iTile == TILE_SAVE) {
        g_Board.iStartX = iCellX;
        g_Board.iStartY = iCellY;
    }

    const CVector2 vDir = MakeVector(vDest.x - g_Ball.vPosition.x, vDest.z - g_Ball.vPosition.z);
    if (Length(vDir) < MIN_MOVE) {
        return;
    }
    CVector2 vIP;
    if (bHasCell && CollideAround(MakeVector(vDest.x, vDest.z), iCellX, iCellY, &vIP)) {
        RespondToWall(vIP, &vDest);
    }
    g_Ball.vPosition = vDest;
    Roll(vDest);
}

void PlaceBallOnRespawnCell() {
    const double dX = g_Board.iStartX - HalfOf(g_Board.iWidth) + 0.5;
    const double dZ = g_Board.iStartY - HalfOf(g_Board.iHeight) + 0.5;
    g_Ball.SetPosition(static_cast<float>(dX), 0.5f, static_cast<float>(dZ));
}

bool CollideWithWalls(const CVector3& vDest, CVector2* vIP) {
    CVector2 C;
    SetVector(&C, vDest.x, vDest.z);
    int iCellX = 0;
    int iCellY = 0;
    return FindCell(C.x, C.y, &iCellX, &iCellY) && CollideAround(C, iCellX, iCellY, vIP);
}

bool IntersectCircleSegment(const CVector2& C, float fRadius, const CVector2& P1, const CVector2& P2,
                            CVector2* vIP, float* fDist) {
    // The vector operations written out on floats, in the same order, so that
    // the wall search (up to 36 of these a step) compiles inline.
    const float fDirX = P2.x - P1.x;
    const float fDirY = P2.y - P1.y;
    const float fDiffX = C.x - P1.x;
    const float fDiffY = C.y - P1.y;
    // A segment of no length is its one point.
    const float fLengthSquared = fDirX * fDirX + fDirY * fDirY;
    float fT = fLengthSquared > 0.0f ? (fDiffX * fDirX + fDiffY * fDirY) / fLengthSquared : 0.0f;
    if (fT < 0.0f) {
        fT = 0.0f;
    }
    if (fT > 1.0f) {
        fT = 1.0f;
    }
    const CVector2 vClosest = {P1.x + fT * fDirX, P1.y + fT * fDirY};
    const float fDX = C.x - vClosest.x;
    const float fDY = C.y - vClosest.y;
    const float fDistSquared = fDX * fDX + fDY * fDY;
    // Written so that a NaN distance is no contact either.
    if (!(fDistSquared <= fRadius * fRadius)) {
        return false;
    }
    if (vIP != nullptr) {
        *vIP = vClosest;
    }
    if (fDist != nullptr) {
        *fDist = std::sqrt(fDistSquared);
    }
    return true;
}
