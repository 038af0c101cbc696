#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "math/Random.h"
#include "scene/Stars.h"

TEST(StarsRandom, StartsLikeTheUnseededCLibraryGenerator) {
    CRandom random;
    for (int iExpected : {41, 18467, 6334, 26500}) {
        EXPECT_EQ(random.Next(), iExpected);
    }
    // Bits 16 to 30 only, however long it runs and however the state wraps.
    for (int i = 0; i < 100000; ++i) {
        const int iValue = random.Next();
        ASSERT_GE(iValue, 0);
        ASSERT_LE(iValue, RANDOM_MAX);
    }
}

TEST(Stars, FirstStarsOfTheSkyAndAllOnTheUnitSphere) {
    // Angles of 41 and 107 degrees, then 214 and 220, turned into radians with
    // 3.1415 (with pi they would lie some 1e-5 away).
    const kov::CStars stars;
    const float EXPECTED[2][3] = {{0.62739f, 0.75472f, -0.19177f}, {0.35934f, -0.82910f, 0.42834f}};
    for (int i = 0; i < 2; ++i) {
        EXPECT_NEAR(stars.vStars[i].x, EXPECTED[i][0], 5e-6f) << i;
        EXPECT_NEAR(stars.vStars[i].y, EXPECTED[i][1], 5e-6f) << i;
        EXPECT_NEAR(stars.vStars[i].z, EXPECTED[i][2], 5e-6f) << i;
    }
    for (const CVector3& vStar : stars.vStars) {
        ASSERT_NEAR(Length(vStar), 1.0f, 2e-7f);
    }
    // The node keeps the base transform and has no children.
    EXPECT_EQ(stars.vPosition.x, 0.0f);
    EXPECT_EQ(stars.vRotation.y, 0.0f);
    EXPECT_EQ(stars.vScale.z, 1.0f);
    EXPECT_TRUE(stars.Children.empty());
}

TEST(Stars, SkyIsTheSameOnEveryRunWhateverRandSays) {
    std::srand(12345);
    const kov::CStars first;
    std::srand(777);
    (void)std::rand();
    const kov::CStars second;
    EXPECT_EQ(std::memcmp(first.vStars, second.vStars, sizeof(first.vStars)), 0);
    EXPECT_NEAR(second.vStars[0].y, 0.75472f, 5e-6f);
}
