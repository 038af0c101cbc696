#include "math/Random.h"

int CRandom::Next() {
    dwState = dwState * 214013u + 2531011u;
    return static_cast<int>((dwState >> 16) & 0x7fffu);
}
