#include <gtest/gtest.h>

#include "math/Vector.h"

TEST(Vector2, ArithmeticIsComponentwise) {
    const CVector2 a = MakeVector(1.0f, 2.0f);
    const CVector2 b = MakeVector(3.0f, -4.0f);
    EXPECT_EQ(a + b, MakeVector(4.0f, -2.0f));
    EXPECT_EQ(a - b, MakeVector(-2.0f, 6.0f));
    EXPECT_EQ(-a, MakeVector(-1.0f, -2.0f));
    EXPECT_EQ(a * b, MakeVector(3.0f, -8.0f));
    EXPECT_EQ(b / a, MakeVector(3.0f, -2.0f));
    EXPECT_EQ(a / 2.0f, MakeVector(0.5f, 1.0f));
    EXPECT_EQ(2.0f * a, a * 2.0f);
    CVector2 c = a;
    c += b;
    EXPECT_EQ(c, MakeVector(4.0f, -2.0f));
    EXPECT_FLOAT_EQ(Dot(a, b), -5.0f);
    EXPECT_FLOAT_EQ(Length(MakeVector(3.0f, 4.0f)), 5.0f);
}

TEST(Vector2, EqualityToleranceIsInclusive) {
    const CVector2 zero = MakeVector(0.0f, 0.0f);
    EXPECT_TRUE(zero == MakeVector(1e-11f, 0.0f));
    EXPECT_TRUE(zero == MakeVector(VECTOR_EPSILON, -VECTOR_EPSILON));  // exactly the tolerance
    EXPECT_FALSE(zero == MakeVector(1e-9f, 0.0f));
    EXPECT_FALSE(zero == MakeVector(0.0f, -1e-9f));
    EXPECT_TRUE(zero != MakeVector(0.0f, -1e-9f));
    EXPECT_FALSE(zero != MakeVector(1e-11f, 1e-11f));
}

TEST(Vector2, SetLengthAndNormalize) {
    CVector2 v = MakeVector(3.0f, 4.0f);
    SetLength(&v, 10.0f);
    EXPECT_FLOAT_EQ(v.x, 6.0f);
    EXPECT_FLOAT_EQ(v.y, 8.0f);

    CVector2 n = MakeVector(0.0f, -2.0f);
    Normalize(&n);
    EXPECT_FLOAT_EQ(n.x, 0.0f);
    EXPECT_FLOAT_EQ(n.y, -1.0f);

    // Below the floor the length counts as 1e-10: (0, 0) stays (0, 0).
    CVector2 zero = MakeVector(0.0f, 0.0f);
    Normalize(&zero);
    EXPECT_EQ(zero.x, 0.0f);
    EXPECT_EQ(zero.y, 0.0f);
}

TEST(Vector2, SetLengthOfAZeroVectorLeavesItZero) {
    CVector2 v = MakeVector(0.0f, 0.0f);
    SetLength(&v, 0.4845f);
    EXPECT_EQ(v.x, 0.0f);
    EXPECT_EQ(v.y, 0.0f);
    CVector3 w = MakeVector(0.0f, 0.0f, 0.0f);
    SetLength(&w, 2.0f);
    EXPECT_EQ(w.x, 0.0f);
    EXPECT_EQ(w.z, 0.0f);
}

TEST(Vector3, ArithmeticIsComponentwise) {
    const CVector3 a = MakeVector(1.0f, 2.0f, 3.0f);
    const CVector3 b = MakeVector(-2.0f, 4.0f, 0.5f);
    EXPECT_EQ(a + b, MakeVector(-1.0f, 6.0f, 3.5f));
    EXPECT_EQ(a - b, MakeVector(3.0f, -2.0f, 2.5f));
    EXPECT_EQ(-a, MakeVector(-1.0f, -2.0f, -3.0f));
    EXPECT_EQ(a * b, MakeVector(-2.0f, 8.0f, 1.5f));
    EXPECT_EQ(a / b, MakeVector(-0.5f, 0.5f, 6.0f));
    EXPECT_EQ(b / 2.0f, MakeVector(-1.0f, 2.0f, 0.25f));
    EXPECT_EQ(3.0f * a, a * 3.0f);
    CVector3 c = a;
    c += b;
    EXPECT_EQ(c, a + b);
    c -= b;
    EXPECT_EQ(c, a);

    CVector3 s;
    SetVector(&s, 2.0f, 3.0f, 6.0f);
    EXPECT_FLOAT_EQ(Length(s), 7.0f);
    SetLength(&s, 14.0f);
    EXPECT_EQ(s, MakeVector(4.0f, 6.0f, 12.0f));
}

TEST(Vector3, EqualityToleranceIsPerComponent) {
    const CVector3 zero = MakeVector(0.0f, 0.0f, 0.0f);
    EXPECT_TRUE(zero == MakeVector(1e-11f, -1e-11f, VECTOR_EPSILON));
    EXPECT_FALSE(zero == MakeVector(0.0f, 0.0f, 1e-9f));
    EXPECT_TRUE(zero != MakeVector(0.0f, 1e-9f, 0.0f));
}
