#pragma once

#include <cstdint>

constexpr int RANDOM_MAX = 32767;

// The sky's random source: a 32-bit linear congruential generator starting at
// 1 that returns bits 16 to 30 of its state. Unseeded, it gives the same
// numbers on every run and platform: 41, 18467, 6334, 26500, ...
class CRandom {
public:
    int Next();

    uint32_t dwState = 1;
};
