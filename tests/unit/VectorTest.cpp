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
    CVector2 c = a;
    c += b;
    EXPECT_EQ(c, MakeVector(4.0f, -2.0f));
    EXPECT_FLOAT_EQ(Dot(a, b), -5.0f);
}
