#pragma once

// Plain single-precision vectors. Neither type initialises its components:
// every user sets all of them before reading.

struct CVector2 {
    float x;
    float y;
};

struct CVector3 {
    float x;
    float y;
    float z;
};

// Tolerance of == and != per component, inclusive.
constexpr float VECTOR_EPSILON = 1e-10f;

CVector2 MakeVector(float x, float y);
void SetVector(CVector2* v, float x, float y);
CVector2 operator+(const CVector2& a, const CVector2& b);
CVector2 operator-(const CVector2& a, const CVector2& b);
void operator+=(CVector2& a, const CVector2& b);
CVector2 operator-(const CVector2& a);
CVector2 operator*(float s, const CVector2& v);
CVector2 operator*(const CVector2& v, float s);
CVector2 operator*(const CVector2& a, const CVector2& b);
CVector2 operator/(const CVector2& v, float s);
CVector2 operator/(const CVector2& a, const CVector2& b);
bool operator==(const CVector2& a, const CVector2& b);
bool operator!=(const CVector2& a, const CVector2& b);
float Dot(const CVector2& a, const CVector2& b);
float Length(const CVector2& v);
void SetLength(CVector2* v, float fLength);
void Normalize(CVector2* v);

CVector3 MakeVector(float x, float y, float z);
void SetVector(CVector3* v, float x, float y, float z);
CVector3 operator+(const CVector3& a, const CVector3& b);
CVector3 operator-(const CVector3& a, const CVector3& b);
void operator+=(CVector3& a, const CVector3& b);
void operator-=(CVector3& a, const CVector3& b);
CVector3 operator-(const CVector3& a);
CVector3 operator*(float s, const CVector3& v);
CVector3 operator*(const CVector3& v, float s);
CVector3 operator*(const CVector3& a, const CVector3& b);
CVector3 operator/(const CVector3& v, float s);
CVector3 operator/(const CVector3& a, const CVector3& b);
bool operator==(const CVector3& a, const CVector3& b);
bool operator!=(const CVector3& a, const CVector3& b);
float Length(const CVector3& v);
CVector3 Cross(const CVector3& a, const CVector3& b);
void SetLength(CVector3* v, float fLength);
