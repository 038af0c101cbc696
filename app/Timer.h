#pragma once

#include <cstdint>

#include "platform/Clock.h"

// A millisecond stopwatch over the high-resolution clock, or over the 32-bit
// millisecond clock where there is none. The choice is made once, at construction.
class CTimer {
public:
    explicit CTimer(const IClockSource& clock = GetSystemClock());

    void Reset();
    double GetElapsed() const;  // milliseconds since construction or Reset

    bool bPerfCounter;
    uint32_t dwStartMs;
    int64_t llStart;
    int64_t llFrequency;
    float fMsPerCount;
    const IClockSource* pClock;
};
