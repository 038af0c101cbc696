#include "app/Timer.h"

CTimer::CTimer(const IClockSource& clock)
    : bPerfCounter(false), dwStartMs(0), llStart(0), llFrequency(0), fMsPerCount(0.0f), pClock(&clock) {
    if (pClock->QueryFrequency(&llFrequency) && llFrequency > 0) {
        bPerfCounter = true;
        llStart = pClock->QueryCounter();
        fMsPerCount = (1.0f / static_cast<float>(llFrequency)) * 1000.0f;
    } else {
        dwStartMs = pClock->GetTimeMs();
    }
}

void CTimer::Reset() {
    if (bPerfCounter) {
        llStart = pClock->QueryCounter();
    } else {
        dwStartMs = pClock->GetTimeMs();
    }
}

double CTimer::GetElapsed() const {
    if (bPerfCounter) {
        return static_cast<double>(pClock->QueryCounter() - llStart) * fMsPerCount;
    }
    // Unsigned 32-bit difference: one wrap of the clock still gives the right span.
    const uint32_t dwSpan = pClock->GetTimeMs() - dwStartMs;
    return static_cast<double>(dwSpan);
}
