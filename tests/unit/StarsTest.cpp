#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "math/Random.h"
#include "scene/Stars.h"

TEST(StarsRandom, StartsLikeTheUnseededCLibraryGenerator) {
    CRandom random;
    EXPECT_EQ(random.Next(), 41);
    EXPECT_EQ(random.Next(), 18467);
    EXPECT_EQ(random.Next(), 6334);
    EXPECT_EQ(random.Next(), 26500);
    // Bits 16 to 30 only, however long it runs and however the state wraps.
    for (int i = 0; i < 100000; ++i) {
        const int iValue = random.Next();
        ASSERT_GE(iValue, 0);
        ASSERT_LE(iValue, RANDOM_MAX);
    }
}

TEST(Stars, FirstStarsOfTheSky) {
    // Angles of 41 and 107 degrees, then 214 and 220, turned into radians with
    // 3.1415 (with pi they would lie some 1e-5 away).
    const kov::CStars stars;
    const CVector3& vFirst = stars.vStars[0];
    EXPECT_NEAR(vFirst.x, 0.62739f, 5e-6f);
    EXPECT_NEAR(vFirst.y, 0.75472f, 5e-6f);
    EXPECT_NEAR(vFirst.z, -0.19177f, 5e-6f);
    const CVector3& vSecond = stars.vStars[1];
    EXPECT_NEAR(vSecond.x, 0.35934f, 5e-6f);
    EXPECT_NEAR(vSecond.y, -0.82910f, 5e-6f);
    EXPECT_NEAR(vSecond.z, 0.42834f, 5e-6f);
}

TEST(Stars, EveryStarLiesOnTheUnitSphere) {
    const kov::CStars stars;
    for (const CVector3& vStar : stars.vStars) {
        ASSERT_NEAR(Length(vStar), 1.0f, 2e-7f);
    }
}

TEST(Stars, SkyIsTheSameOnEveryRunWhateverRandSays) {
    std::srand(12345);
    const kov::CStars first;
    std::srand(777);
    (void)std::rand();
    const kov::CStars second;
    for (int i = 0; i < STAR_COUNT; ++i) {
        ASSERT_EQ(first.vStars[i].x, second.vStars[i].x) << i;
        ASSERT_EQ(first.vStars[i].y, second.vStars[i].y) << i;
        ASSERT_EQ(first.vStars[i].z, second.vStars[i].z) << i;
    }
    EXPECT_NEAR(second.vStars[0].y, 0.75472f, 5e-6f);
}

TEST(Stars, NodeKeepsTheBaseTransform) {
    const kov::CStars stars;
    EXPECT_EQ(stars.vPosition.x, 0.0f);
    EXPECT_EQ(stars.vRotation.y, 0.0f);
    EXPECT_EQ(stars.vScale.z, 1.0f);
    EXPECT_TRUE(stars.Children.empty());
}
