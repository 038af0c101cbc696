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

// The system's counter runs at its frequency in step with the millisecond clock (which may tick as
// coarsely as Windows' default 15.6 ms): each reading of the one lies between two readings of the other.
TEST(Timer, TheSystemCounterRunsAtItsFrequencyWithTheMillisecondClock) {
    const IClockSource& Clock = GetSystemClock();
    int64_t llFrequency = 0, llCounts[4];
    ASSERT_TRUE(Clock.QueryFrequency(&llFrequency) && llFrequency >= 1000);
    llCounts[0] = Clock.QueryCounter();
    const uint32_t dwStart = Clock.GetTimeMs();
    llCounts[1] = Clock.QueryCounter();
    uint32_t dwSpan;
    do {
        llCounts[2] = Clock.QueryCounter();
        dwSpan = Clock.GetTimeMs() - dwStart;
        llCounts[3] = Clock.QueryCounter();
    } while (dwSpan < 100);
    const double dMsPerCount = 1000.0 / static_cast<double>(llFrequency);
    EXPECT_GE(dwSpan, static_cast<double>(llCounts[2] - llCounts[1]) * dMsPerCount - 16.0);
    EXPECT_LE(dwSpan, static_cast<double>(llCounts[3] - llCounts[0]) * dMsPerCount + 16.0);
}
