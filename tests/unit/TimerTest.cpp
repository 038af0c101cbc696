#include <gtest/gtest.h>

#include "app/Timer.h"

namespace {

// A clock that reads what the test sets.
struct SFakeClock : IClockSource {
    bool QueryFrequency(int64_t* pllFrequency) const override {
        *pllFrequency = llFrequency;
        return bHasCounter;
    }
    int64_t QueryCounter() const override { return llCounter; }
    uint32_t GetTimeMs() const override { return dwTimeMs; }

    bool bHasCounter = true;
    int64_t llFrequency = 1000000000;
    int64_t llCounter = 5000000000000LL;  // the counter does not start at 0
    uint32_t dwTimeMs = 0xFFFFFF00u;      // 256 ms before the millisecond clock wraps
};

}  // namespace

TEST(Timer, ReadsMillisecondsSinceTheStartOrResetFromTheClockChosenFirst) {
    SFakeClock Clock;
    CTimer Timer(Clock);
    Clock.bHasCounter = false;  // too late: the clock is chosen once, at construction
    Clock.llCounter += 3600LL * 1000000000LL;
    // The factor is single precision, 9.99999997e-7 ms per count: an hour reads 9 microseconds short.
    EXPECT_NEAR(Timer.GetElapsed(), 3599999.99091, 1e-5);
    Timer.Reset();
    Clock.llCounter += 16666667;  // a frame at 60 Hz
    EXPECT_NEAR(Timer.GetElapsed(), 16.666667, 1e-6);

    // Without a counter the millisecond clock serves, across its wrap.
    SFakeClock NoCounter;
    NoCounter.bHasCounter = false;
    CTimer Fallback(NoCounter);
    NoCounter.bHasCounter = true;  // too late
    NoCounter.dwTimeMs = 0x100;
    EXPECT_EQ(Fallback.GetElapsed(), 512.0);
    Fallback.Reset();
    NoCounter.dwTimeMs = 0xFF;  // the longest span it can tell: one millisecond short of 2^32
    EXPECT_EQ(Fallback.GetElapsed(), 4294967295.0);
}

// The system's counter runs at the frequency it reports, in step with its
// millisecond clock. Each clock is read between two readings of the other, and
// the millisecond clock may tick as coarsely as Windows' default 15.6 ms.
TEST(Timer, TheSystemCounterRunsAtItsFrequencyWithTheMillisecondClock) {
    constexpr uint32_t SPAN_MS = 100;
    constexpr double TICK_MS = 16.0;
    const IClockSource& Clock = GetSystemClock();
    int64_t llFrequency = 0;
    ASSERT_TRUE(Clock.QueryFrequency(&llFrequency));
    ASSERT_GE(llFrequency, 1000);
    const int64_t llBefore = Clock.QueryCounter();
    const uint32_t dwStart = Clock.GetTimeMs();
    const int64_t llAfter = Clock.QueryCounter();
    uint32_t dwEnd;
    int64_t llEndBefore;
    do {
        llEndBefore = Clock.QueryCounter();
        dwEnd = Clock.GetTimeMs();
    } while (dwEnd - dwStart < SPAN_MS);
    const int64_t llEndAfter = Clock.QueryCounter();
    const double dMsPerCount = 1000.0 / static_cast<double>(llFrequency);
    EXPECT_GE(dwEnd - dwStart, static_cast<double>(llEndBefore - llAfter) * dMsPerCount - TICK_MS);
    EXPECT_LE(dwEnd - dwStart, static_cast<double>(llEndAfter - llBefore) * dMsPerCount + TICK_MS);
}
