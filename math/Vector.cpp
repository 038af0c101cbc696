#include "math/Vector.h"

#include <cmath>

namespace {

bool NearlyEqual(float a, float b) {
    return std::fabs(a - b) <= VECTOR_EPSILON;
}

}  // namespace

CVector2 MakeVector(float x, float y) {
    return CVector2{x, y};
}

void SetVector(CVector2* v, float x, float y) {
    v->x = x;
    v->y = y;
}

CVector2 operator+(const CVector2& a, const CVector2& b) { return {a.x + b.x, a.y + b.y}; }
CVector2 operator-(const CVector2& a, const CVector2& b) { return {a.x - b.x, a.y - b.y}; }
void operator+=(CVector2& a, const CVector2& b) { a = a + b; }
CVector2 operator-(const CVector2& a) { return {-a.x, -a.y}; }
CVector2 operator*(float s, const CVector2& v) { return {s * v.x, s * v.y}; }
CVector2 operator*(const CVector2& v, float s) { return s * v; }
CVector2 operator*(const CVector2& a, const CVector2& b) { return {a.x * b.x, a.y * b.y}; }
CVector2 operator/(const CVector2& v, float s) { return {v.x / s, v.y / s}; }
CVector2 operator/(const CVector2& a, const CVector2& b) { return {a.x / b.x, a.y / b.y}; }

bool operator==(const CVector2& a, const CVector2& b) {
    return NearlyEqual(a.x, b.x) && NearlyEqual(a.y, b.y);
}

bool operator!=(const CVector2& a, const CVector2& b) { return !(a == b); }

float Dot(const CVector2& a, const CVector2& b) { return a.x * b.x + a.y * b.y; }

float Length(const CVector2& v) { return std::sqrt(Dot(v, v)); }

void SetLength(CVector2* v, float fLength) {
    const float fLen = Length(*v);
    if (fLen != 0.0f) {  // a zero vector has no direction to keep
        *v = (fLength / fLen) * *v;
    }
}

void Normalize(CVector2* v) {
    float fLen = Length(*v);
    if (fLen < VECTOR_EPSILON) {
        fLen = VECTOR_EPSILON;
    }
    v->x /= fLen;
    v->y /= fLen;
}

CVector3 MakeVector(float x, float y, float z) {
    return CVector3{x, y, z};
}

void SetVector(CVector3* v, float x, float y, float z) {
    v->x = x;
    v->y = y;
    v->z = z;
}

CVector3 operator+(const CVector3& a, const CVector3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
CVector3 operator-(const CVector3& a, const CVector3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
void operator+=(CVector3& a, const CVector3& b) { a = a + b; }
void operator-=(CVector3& a, const CVector3& b) { a = a - b; }
CVector3 operator-(const CVector3& a) { return {-a.x, -a.y, -a.z}; }
CVector3 operator*(float s, const CVector3& v) { return {s * v.x, s * v.y, s * v.z}; }
CVector3 operator*(const CVector3& v, float s) { return s * v; }
CVector3 operator*(const CVector3& a, const CVector3& b) { return {a.x * b.x, a.y * b.y, a.z * b.z}; }
CVector3 operator/(const CVector3& v, float s) { return {v.x / s, v.y / s, v.z / s}; }
CVector3 operator/(const CVector3& a, const CVector3& b) { return {a.x / b.x, a.y / b.y, a.z / b.z}; }

bool operator==(const CVector3& a, const CVector3& b) {
    return NearlyEqual(a.x, b.x) && NearlyEqual(a.y, b.y) && NearlyEqual(a.z, b.z);
}

bool operator!=(const CVector3& a, const CVector3& b) { return !(a == b); }

float Length(const CVector3& v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }

CVector3 Cross(const CVector3& a, const CVector3& b) {
    return MakeVector(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

void SetLength(CVector3* v, float fLength) {
    const float fLen = Length(*v);
    if (fLen != 0.0f) {  // a zero vector has no direction to keep
        *v = (fLength / fLen) * *v;
    }
}
