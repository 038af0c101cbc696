#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "app/Globals.h"
#include "ball/BallMotion.h"

namespace {

constexpr double PI = 3.141592653589793;
constexpr double STEP = 0.1;  // moves the ball by half its velocity (v * 0.5 * 0.01 * 100)
const float NAN_F = std::numeric_limits<float>::quiet_NaN();

// An open board with the ball resting at (0.5, 0.5), on cell (10, 10) of a
// 20 x 20 field, with the game's radius of 0.475.
void UseBoard(int iWidth, int iHeight, int iStartX = 0, int iStartY = 0) {
    std::memset(g_Board.iField, 0, sizeof(g_Board.iField));
    g_Board.iWidth = g_Ball.iWidth = iWidth;
    g_Board.iHeight = g_Ball.iHeight = iHeight;
    g_Board.fTiltZ = g_Board.fTiltX = 0.0f;
    g_Board.iStartX = iStartX;
    g_Board.iStartY = iStartY;
    g_Ball.fRadius = 0.475f;
    g_Ball.dVelocityX = g_Ball.dVelocityZ = 0.0;
    g_Ball.SetPosition(0.5f, 0.5f, 0.5f);
    SetVector(&g_Ball.vRotation, 0.0f, 0.0f, 0.0f);
}

// One STEP from (x, z) with the velocity that carries the ball by (dx, dz) where nothing stops it.
void StepFrom(float x, float z, double dx, double dz) {
    g_Ball.SetPosition(x, 0.5f, z);
    g_Ball.dVelocityX = dx * 2.0;
    g_Ball.dVelocityZ = dz * 2.0;
    UpdateBall(STEP);
}

double TiltAcceleration(float fTiltDegrees) { return 2.943 * std::sin(fTiltDegrees * PI / 180.0); }

void ExpectAt(float fX, float fZ) {
    EXPECT_EQ(g_Ball.vPosition.x, fX);
    EXPECT_EQ(g_Ball.vPosition.z, fZ);
}

void ExpectRespawnedAt(float fX, float fZ) {
    EXPECT_EQ(g_Ball.vPosition.y, 0.5f);
    ExpectAt(fX, fZ);
    EXPECT_EQ(g_Ball.dVelocityX, 0.0);
    EXPECT_EQ(g_Ball.dVelocityZ, 0.0);
}

void ExpectPoint(const CVector2& v, float fX, float fY) {
    EXPECT_EQ(v.x, fX);
    EXPECT_EQ(v.y, fY);
}

class BallMotion : public testing::Test {
protected:
    void SetUp() override { UseBoard(20, 20); }
};

}  // namespace

TEST_F(BallMotion, TiltAcceleratesTheBallFromRest) {
    g_Board.fTiltZ = 2.0f;
    UpdateBall(0.02);
    EXPECT_NEAR(g_Ball.dVelocityX, -0.1027, 5e-5);
    EXPECT_NEAR(g_Ball.dVelocityX, -TiltAcceleration(2.0f), 1e-12);
    EXPECT_NEAR(g_Ball.dVelocityZ, 0.0, 1e-15);
    EXPECT_NEAR(g_Ball.vPosition.x - 0.5f, -0.00205, 5e-6);
    EXPECT_EQ(g_Ball.vPosition.y, 0.5f);
    EXPECT_EQ(g_Ball.vPosition.z, 0.5f);

    // A positive tilt about x lowers the +z side.
    UseBoard(20, 20);
    g_Board.fTiltX = 2.0f;
    UpdateBall(0.02);
    EXPECT_NEAR(g_Ball.dVelocityZ, TiltAcceleration(2.0f), 1e-12);
    EXPECT_EQ(g_Ball.vPosition.x, 0.5f);
    EXPECT_GT(g_Ball.vPosition.z, 0.5f);

    // One second at 60 frames per second.
    UseBoard(20, 20);
    g_Board.fTiltZ = 2.0f;
    for (int i = 0; i < 60; ++i) {
        UpdateBall(1.0 / 60.0);
    }
    EXPECT_NEAR(-50.0 * g_Ball.dVelocityX / 60.0, 5.14, 0.005);  // units per second
    EXPECT_NEAR(0.5f - g_Ball.vPosition.x, 2.61, 0.005);
}

TEST_F(BallMotion, NothingMovesOnALevelBoardOrInNoTime) {
    for (int i = 0; i < 1000; ++i) {
        UpdateBall(0.02);
    }
    ExpectAt(0.5f, 0.5f);
    EXPECT_LT(std::fabs(g_Ball.dVelocityX), 1e-12);
    EXPECT_LT(std::fabs(g_Ball.dVelocityZ), 1e-12);
    EXPECT_EQ(g_Ball.vRotation.z, 0.0f);

    // No time still changes the velocity, but the step ends before the rolling.
    UseBoard(20, 20);
    g_Board.fTiltZ = -1.5f;
    g_Board.fTiltX = 1.0f;
    SetVector(&g_Ball.vRotation, 7.0f, 8.0f, 9.0f);
    UpdateBall(0.0);
    EXPECT_NEAR(g_Ball.dVelocityX, TiltAcceleration(1.5f), 1e-12);
    EXPECT_NEAR(g_Ball.dVelocityZ, TiltAcceleration(1.0f), 1e-12);
    ExpectAt(0.5f, 0.5f);
    EXPECT_EQ(g_Ball.vRotation.x, 7.0f);
    EXPECT_EQ(g_Ball.vRotation.z, 9.0f);
}

TEST_F(BallMotion, TinyMovesAreDroppedAndLongFramesTakenWhole) {
    StepFrom(0.0f, 0.5f, 1e-11, 0.0);
    EXPECT_EQ(g_Ball.vPosition.x, 0.0f);
    StepFrom(0.0f, 0.5f, 2e-10, 0.0);
    EXPECT_NEAR(g_Ball.vPosition.x, 2e-10f, 1e-15f);

    g_Ball.SetPosition(0.5f, 0.5f, 0.5f);
    g_Ball.dVelocityX = 0.01;
    UpdateBall(2.0);  // 0.01 * 0.5 * 4 * 100 = 2 units in one step, neither clamped nor subdivided
    EXPECT_NEAR(g_Ball.vPosition.x, 2.5f, 1e-5f);
}

TEST_F(BallMotion, RimStopsTheBall) {
    struct SCase {
        float x, z;
        double dx, dz;
        int iBallWidth;  // the rim follows the ball's copy of the size
        float fExpectX, fExpectZ;
        double dFactor;  // on the velocity
    };
    // The rim lies half a unit inside the field's edge at +-10.
    const SCase CASES[] = {
        {-9.4f, 0.5f, -0.5, 0.0, 20, -9.5f, 0.5f, -0.25}, {9.4f, 0.5f, 0.5, 0.0, 20, 9.5f, 0.5f, -0.25},
        {0.5f, -9.4f, 0.0, -0.5, 20, 0.5f, -9.5f, -0.25}, {0.5f, 9.4f, 0.0, 0.5, 20, 0.5f, 9.5f, -0.25},
        {-9.0f, 0.5f, -0.5, 0.0, 20, -9.5f, 0.5f, 1.0},  // reaching it exactly is no bounce
        {-4.0f, 0.5f, -1.0, 0.0, 10, -4.5f, 0.5f, -0.25},
    };
    for (const SCase& c : CASES) {
        SCOPED_TRACE(testing::Message() << c.x << ", " << c.z);
        UseBoard(20, 20);
        g_Ball.iWidth = c.iBallWidth;
        StepFrom(c.x, c.z, c.dx, c.dz);
        ExpectAt(c.fExpectX, c.fExpectZ);
        EXPECT_NEAR(g_Ball.dVelocityX, c.dx * 2.0 * c.dFactor, 1e-12);
        EXPECT_NEAR(g_Ball.dVelocityZ, c.dz * 2.0 * c.dFactor, 1e-12);
    }

    // With no size both rims apply: the high one is tested last and wins.
    UseBoard(20, 20);
    g_Ball.iWidth = 0;
    g_Ball.dVelocityX = -1.0;
    EXPECT_EQ(g_Ball.Advance(0.0f, 0.0f, STEP).x, -0.5f);
    EXPECT_NEAR(g_Ball.dVelocityX, -0.0625, 1e-12);
    EXPECT_EQ(g_Ball.vPosition.x, 0.5f);  // Advance leaves the position alone
}

TEST_F(BallMotion, WorkedWallContact) {
    g_Board.iField[12][10] = TILE_WALL;  // x 2 to 3, z 0 to 1
    g_Ball.SetPosition(1.4f, 0.5f, 0.5f);
    CVector2 vIP;
    ASSERT_TRUE(CollideWithWalls(MakeVector(1.6f, 0.5f, 0.5f), &vIP));
    ExpectPoint(vIP, 2.0f, 0.5f);

    StepFrom(1.4f, 0.5f, 0.2, 0.0);
    EXPECT_NEAR(g_Ball.vPosition.x, 1.5155f, 1e-6f);
    EXPECT_EQ(g_Ball.vPosition.z, 0.5f);
    EXPECT_NEAR(g_Ball.dVelocityX, -0.1, 1e-12);
    EXPECT_NEAR(g_Ball.vRotation.z, -238.05f, 0.005f);
    EXPECT_NEAR(g_Ball.vRotation.x, 78.54f, 0.005f);
}

TEST_F(BallMotion, WallTurnsTheComponentThatHitIt) {
    struct SCase {
        float x, z;
        double dx, dz;
        double dExpectX, dExpectZ;
        float fExpectX, fExpectZ, fTolerance;  // pushed back 1.02 radii from the contact, toward the old centre
    };
    const SCase CASES[] = {
        {1.4f, 0.5f, 0.2, 0.01, -0.25 * 0.4, 0.95 * 0.02, 1.5156f, 0.5019f, 1e-3f},   // mostly along x
        {2.5f, -0.6f, 0.01, 0.2, 0.95 * 0.02, -0.25 * 0.4, 2.5019f, -0.4844f, 1e-3f},  // mostly along z
        // Diagonally at the corner (2, 0): equal components count as a z contact.
        {1.5f, -0.5f, 0.2, 0.2, 0.95 * 0.4, -0.25 * 0.4, 1.6574f, -0.3426f, 1e-3f},
        // The centre lies on the low-x edge and the ball moves straight away from
        // it: the contact is the old centre, which gives no direction to push along.
        {2.0f, 0.5f, -0.1, 0.0, 0.95 * -0.2, 0.0, 2.0f, 0.5f, 0.0f},
    };
    for (const SCase& c : CASES) {
        SCOPED_TRACE(testing::Message() << c.x << ", " << c.z);
        UseBoard(20, 20);
        g_Board.iField[12][10] = TILE_WALL;
        StepFrom(c.x, c.z, c.dx, c.dz);
        EXPECT_NEAR(g_Ball.dVelocityX, c.dExpectX, 1e-15);
        EXPECT_NEAR(g_Ball.dVelocityZ, c.dExpectZ, 1e-15);
        EXPECT_NEAR(g_Ball.vPosition.x, c.fExpectX, c.fTolerance);
        EXPECT_NEAR(g_Ball.vPosition.z, c.fExpectZ, c.fTolerance);
        EXPECT_FALSE(std::isnan(g_Ball.vRotation.z));
    }
}

TEST_F(BallMotion, OnePassOnlyAgainstTheWalls) {
    // A corridor one unit wide, x 1 to 2, for a ball of radius 0.6: pushed out
    // of the right wall it overlaps the left one, which is not tested again.
    g_Board.iField[10][10] = TILE_WALL;
    g_Board.iField[12][10] = TILE_WALL;
    g_Ball.fRadius = 0.6f;
    StepFrom(1.5f, 0.5f, 0.2, 0.0);
    EXPECT_NEAR(g_Ball.vPosition.x, 2.0f - 0.612f, 1e-6f);
    EXPECT_NEAR(g_Ball.dVelocityX, -0.25 * 0.4, 1e-12);
}

TEST_F(BallMotion, HoleRespawnsTheBallBeforeAnyWall) {
    UseBoard(20, 20, 3, 4);
    g_Board.iField[11][10] = TILE_HOLE;
    g_Board.fTiltZ = -1.0f;
    g_Board.fTiltX = 0.5f;
    g_Ball.SetPosition(0.5f, 0.7f, 0.5f);
    g_Ball.dVelocityX = 2.0;
    SetVector(&g_Ball.vRotation, 1.0f, 2.0f, 3.0f);
    UpdateBall(STEP);
    ExpectRespawnedAt(-6.5f, -5.5f);
    EXPECT_EQ(g_Board.fTiltZ, 0.0f);
    EXPECT_EQ(g_Board.fTiltX, 0.0f);
    EXPECT_EQ(g_Ball.vRotation.x, 1.0f);  // the rotation waits for the next move
    EXPECT_EQ(g_Ball.vRotation.z, 3.0f);

    // This destination lies in the hole and touches the wall beside it.
    UseBoard(20, 20, 10, 10);
    g_Board.iField[11][10] = TILE_WALL;
    g_Board.iField[12][10] = TILE_HOLE;
    StepFrom(0.5f, 0.5f, 1.8, 0.0);
    ExpectRespawnedAt(0.5f, 0.5f);
}

TEST_F(BallMotion, SaveCellBecomesTheRespawnCellAndGoalIsFloor) {
    g_Board.iField[11][10] = TILE_SAVE;  // x 1 to 2, z 0 to 1
    g_Board.iField[11][12] = TILE_HOLE;
    StepFrom(0.5f, 0.5f, 1.0, 0.0);
    EXPECT_EQ(g_Board.iStartX, 11);
    EXPECT_EQ(g_Board.iStartY, 10);
    StepFrom(1.5f, 1.5f, 0.0, 1.0);  // into the hole at row 12
    ExpectRespawnedAt(1.5f, 0.5f);

    // The save counts even when the wall then pushes the ball back out of the cell.
    UseBoard(20, 20);
    g_Board.iField[11][10] = TILE_SAVE;
    g_Board.iField[12][10] = TILE_WALL;
    StepFrom(1.6f, -0.9f, 0.0, 0.95);
    EXPECT_EQ(g_Board.iStartX, 11);
    EXPECT_EQ(g_Board.iStartY, 10);
    EXPECT_LT(g_Ball.vPosition.z, 0.0f);  // back in row 9

    UseBoard(20, 20);
    g_Board.iField[11][10] = TILE_GOAL;
    StepFrom(0.5f, 0.5f, 1.0, 0.0);
    EXPECT_NEAR(g_Ball.vPosition.x, 1.5f, 1e-6f);
    EXPECT_EQ(g_Board.iStartX, 0);
}

TEST_F(BallMotion, CellsAreFoundByFloorOfTheSinglePrecisionValue) {
    UseBoard(20, 20, 10, 10);
    // Just below 0 lies column 9, not 10 as truncation toward zero would give.
    g_Board.iField[9][10] = TILE_HOLE;
    StepFrom(0.25f, 0.5f, -0.25000001, 0.0);
    ExpectRespawnedAt(0.5f, 0.5f);
    // 0.99999999 is stored as 1.0f, which lies on column 11's low edge.
    g_Board.iField[11][10] = TILE_HOLE;
    StepFrom(0.5f, 0.5f, 0.49999999, 0.0);
    ExpectRespawnedAt(0.5f, 0.5f);
}

TEST_F(BallMotion, OddWidthPutsTheCellsHalfAUnitTowardPlusX) {
    UseBoard(21, 21, 10, 10);
    PlaceBallOnRespawnCell();
    ExpectAt(0.0f, 0.0f);  // the exact halves put it on the cell's low-x edge

    // Column 10 of this field spans x 0 to 1 here (drawn: -0.5 to 0.5).
    g_Board.iField[10][10] = TILE_HOLE;
    StepFrom(-0.4f, 0.5f, 0.2, 0.0);
    EXPECT_NEAR(g_Ball.vPosition.x, -0.2f, 1e-6f);  // still column 9
    StepFrom(-0.1f, 0.5f, 0.3, 0.0);
    ExpectRespawnedAt(0.0f, 0.0f);

    // Wall (12, 10) is met at x 2, where the even field has it too.
    g_Board.iField[12][10] = TILE_WALL;
    StepFrom(1.4f, 0.5f, 0.2, 0.0);
    EXPECT_NEAR(g_Ball.vPosition.x, 1.5155f, 1e-6f);

    StepFrom(-9.8f, 0.5f, -0.5, 0.0);
    EXPECT_EQ(g_Ball.vPosition.x, -10.0f);  // the rim uses the exact half: 10.5 - 0.5
}

TEST_F(BallMotion, EmptyBoardLeavesTheBallAlone) {
    for (int iSize : {0, -3}) {
        for (bool bNoColumns : {true, false}) {
            UseBoard(bNoColumns ? iSize : 20, bNoColumns ? 20 : iSize);
            g_Board.fTiltZ = g_Board.fTiltX = 2.0f;
            g_Ball.dVelocityX = 1.0;
            UpdateBall(STEP);
            ExpectAt(0.5f, 0.5f);
            EXPECT_EQ(g_Ball.dVelocityX, 1.0);
            EXPECT_EQ(g_Ball.dVelocityZ, 0.0);
        }
    }
}

TEST_F(BallMotion, CellsOffTheGridReadAsFloor) {
    // A ball whose size copy is larger than the board can leave it. Row 110 of
    // column 10 is not on the board; read unchecked it would be cell (11, 10).
    g_Ball.iHeight = 240;
    g_Board.iField[11][10] = TILE_HOLE;
    StepFrom(0.5f, 100.2f, 0.0, 0.1);
    EXPECT_NEAR(g_Ball.vPosition.z, 100.3f, 1e-4f);
    EXPECT_NE(g_Ball.dVelocityZ, 0.0);

    // Far beyond the 100 x 100 grid, and nowhere at all.
    g_Ball.iWidth = 100000;
    StepFrom(4000.5f, 0.5f, 0.1, 0.0);
    EXPECT_NEAR(g_Ball.vPosition.x, 4000.6f, 1e-3f);
    StepFrom(NAN_F, 0.5f, 0.1, 0.0);
    EXPECT_TRUE(std::isnan(g_Ball.vPosition.x));
    EXPECT_EQ(g_Board.iStartX, 0);
    g_Ball.iWidth = std::numeric_limits<int>::max();
    StepFrom(3e9f, 0.5f, 0.0, 0.0);
    EXPECT_EQ(g_Ball.vPosition.x, 1073741824.0f);  // on the rim, far off the grid

    // 1000 columns claimed: column 49 of the grid lies at x -451 to -450.
    UseBoard(1000, 20, 500, 10);
    g_Board.iField[49][10] = TILE_HOLE;
    StepFrom(-449.9f, 0.5f, -0.5, 0.0);
    ExpectRespawnedAt(0.5f, 0.5f);
}

TEST_F(BallMotion, WallSearchStaysOnTheGrid) {
    CVector2 vIP = MakeVector(42.0f, 0.0f);
    // A level that claims 150 rows: the grid holds 100, and row 110 of column
    // 10 would alias cell (11, 10).
    g_Board.iHeight = 150;
    g_Board.iField[11][10] = TILE_WALL;
    EXPECT_FALSE(CollideWithWalls(MakeVector(0.1f, 0.5f, 110.0f - 75.0f + 0.5f), &vIP));
    EXPECT_FALSE(CollideWithWalls(MakeVector(NAN_F, 0.5f, 0.5f), &vIP));

    // The corner cell (0, 0): neighbours in -x and -z are off the grid.
    UseBoard(20, 20);
    EXPECT_FALSE(CollideWithWalls(MakeVector(-9.5f, 0.5f, -9.5f), &vIP));
    EXPECT_EQ(vIP.x, 42.0f);  // untouched without a contact
    g_Board.iField[1][0] = TILE_WALL;
    g_Board.iField[0][1] = TILE_WALL;
    ASSERT_TRUE(CollideWithWalls(MakeVector(-9.4f, 0.5f, -9.3f), &vIP));
    ExpectPoint(vIP, -9.4f, -9.0f);  // the nearer: the low-z edge of cell (0, 1)

    // Row -1 of column 1 would be read as cell (0, 99), the last of column 0.
    UseBoard(100, 100);
    g_Board.iField[0][99] = TILE_WALL;
    EXPECT_FALSE(CollideWithWalls(MakeVector(1.0f - 50.0f + 0.5f, 0.5f, -50.0f + 0.1f), &vIP));
}

TEST_F(BallMotion, EqualDistancesGoToTheLaterEdge) {
    g_Ball.fRadius = 0.5f;
    const CVector3 vCentre = MakeVector(0.5f, 0.5f, 0.5f);  // of cell (10, 10)
    CVector2 vIP;
    // Walls left and right: the right one comes later in its row.
    g_Board.iField[9][10] = g_Board.iField[11][10] = TILE_WALL;
    ASSERT_TRUE(CollideWithWalls(vCentre, &vIP));
    ExpectPoint(vIP, 1.0f, 0.5f);

    // Walls above and below: the lower row comes later.
    g_Board.iField[9][10] = g_Board.iField[11][10] = TILE_WOOD;
    g_Board.iField[10][9] = g_Board.iField[10][11] = TILE_WALL;
    ASSERT_TRUE(CollideWithWalls(vCentre, &vIP));
    ExpectPoint(vIP, 0.5f, 1.0f);

    // A nearer contact found first still wins over a later, farther one.
    g_Ball.fRadius = 0.6f;
    ASSERT_TRUE(CollideWithWalls(MakeVector(0.5f, 0.5f, 0.45f), &vIP));
    EXPECT_EQ(vIP.y, 0.0f);
}

TEST(IntersectCircleSegment, ContactsAndTheirPoints) {
    struct SCase {
        CVector2 C;
        float fRadius;
        CVector2 P1, P2;
        bool bHit;
        CVector2 vExpectIP;
        float fExpectDist, fTolerance;
    };
    const CVector2 ORIGIN = {0.0f, 0.0f};
    const CVector2 ONE = {1.0f, 0.0f};
    const CVector2 POINT = {0.3f, 0.0f};
    const SCase CASES[] = {
        // A contact at exactly the radius counts.
        {ORIGIN, 0.5f, {0.5f, -1.0f}, {0.5f, 1.0f}, true, {0.5f, 0.0f}, 0.5f, 0.0f},
        {ORIGIN, std::nextafter(0.5f, 0.0f), {0.5f, -1.0f}, {0.5f, 1.0f}, false, {}, 0.0f, 0.0f},
        // The closest point is clamped to the ends: beyond an end the distance is to the end.
        {{1.3f, 0.2f}, 0.5f, ORIGIN, ONE, true, ONE, std::sqrt(0.13f), 1e-6f},
        {{-0.3f, -0.2f}, 0.5f, ORIGIN, ONE, true, ORIGIN, std::sqrt(0.13f), 1e-6f},
        {{0.25f, 0.4f}, 0.5f, ORIGIN, ONE, true, {0.25f, 0.0f}, 0.4f, 1e-7f},
        {{1.45f, 0.1f}, 0.46f, ORIGIN, ONE, false, {}, 0.0f, 0.0f},
        // A segment of no length is its point.
        {ORIGIN, 0.5f, POINT, POINT, true, POINT, 0.3f, 1e-7f},
        {ORIGIN, 0.2f, POINT, POINT, false, {}, 0.0f, 0.0f},
        {{NAN_F, 0.0f}, 0.5f, ORIGIN, ONE, false, {}, 0.0f, 0.0f},
    };
    for (const SCase& c : CASES) {
        SCOPED_TRACE(testing::Message() << c.C.x << ", " << c.C.y << " r " << c.fRadius);
        CVector2 vIP = MakeVector(7.0f, 7.0f);
        float fDist = -1.0f;
        EXPECT_EQ(IntersectCircleSegment(c.C, c.fRadius, c.P1, c.P2, &vIP, &fDist), c.bHit);
        if (c.bHit) {
            ExpectPoint(vIP, c.vExpectIP.x, c.vExpectIP.y);
            EXPECT_NEAR(fDist, c.fExpectDist, c.fTolerance);
        } else {  // outputs are written only on a hit
            ExpectPoint(vIP, 7.0f, 7.0f);
            EXPECT_EQ(fDist, -1.0f);
        }
        // Either output may be left out.
        float fDistOnly = -1.0f;
        EXPECT_EQ(IntersectCircleSegment(c.C, c.fRadius, c.P1, c.P2, nullptr, &fDistOnly), c.bHit);
        EXPECT_EQ(fDistOnly, fDist);
        EXPECT_EQ(IntersectCircleSegment(c.C, c.fRadius, c.P1, c.P2, nullptr, nullptr), c.bHit);
    }
}
