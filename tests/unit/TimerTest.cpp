#include <gtest/gtest.h>

#include "app/Timer.h"

namespace {

// A clock that says what the test sets, and counts the frequency queries.
class CFakeClock : public IClockSource {
public:
    explicit CFakeClock(bool bCounter = true, int64_t llCountsPerSecond = 1000000000)
        : bHasCounter(bCounter), llFrequency(llCountsPerSecond) {}

    bool QueryFrequency(int64_t* pllFrequency) const override {
        ++iFrequencyQueries;
        if (bHasCounter) {
            *pllFrequency = llFrequency;
        }
        return bHasCounter;
    }
    int64_t QueryCounter() const override { return llCounter; }
    uint32_t GetTimeMs() const override { return dwTimeMs; }

    bool bHasCounter;
    int64_t llFrequency;
    int64_t llCounter = 0;
    uint32_t dwTimeMs = 0;
    mutable int iFrequencyQueries = 0;
};

}  // namespace

TEST(Timer, CounterReadingsAreMillisecondsUntilReset) {
    CFakeClock clock;
    clock.llCounter = 5000000000000LL;  // the counter does not start at 0
    CTimer timer(clock);
    EXPECT_TRUE(timer.bPerfCounter);
    EXPECT_EQ(timer.llStart, 5000000000000LL);
    EXPECT_EQ(timer.GetElapsed(), 0.0);
    clock.llCounter += 16666667;  // one frame at 60 Hz
    EXPECT_NEAR(timer.GetElapsed(), 16.666667, 1e-5);
    // The factor is single precision, 9.99999997e-7 ms per count: an hour
    // later the reading is 9 microseconds short.
    clock.llCounter += 3600LL * 1000000000LL;
    EXPECT_NEAR(timer.GetElapsed(), 3600016.6575778, 1e-5);

    timer.Reset();
    EXPECT_EQ(timer.GetElapsed(), 0.0);
    clock.llCounter += 1000000;
    EXPECT_NEAR(timer.GetElapsed(), 1.0, 1e-6);

    // 1/3 rounded to float, times 1000: 333.33334350585938 ms per count.
    CFakeClock slow(true, 3);
    CTimer slowTimer(slow);
    EXPECT_EQ(slowTimer.fMsPerCount, 333.33334f);
    slow.llCounter = 3;
    EXPECT_DOUBLE_EQ(slowTimer.GetElapsed(), 3.0 * 333.33334350585938);
}

TEST(Timer, WithoutAUsableCounterTheMillisecondClockServesAndSurvivesOneWrap) {
    // A frequency of 0 would make every reading infinite.
    for (CFakeClock clock : {CFakeClock(false), CFakeClock(true, 0)}) {
        clock.dwTimeMs = 1234;
        CTimer timer(clock);
        EXPECT_FALSE(timer.bPerfCounter);
        EXPECT_EQ(timer.dwStartMs, 1234u);
        clock.llCounter = 999999999;  // not looked at
        clock.dwTimeMs = 1250;
        EXPECT_EQ(timer.GetElapsed(), 16.0);
        timer.Reset();
        EXPECT_EQ(timer.GetElapsed(), 0.0);
        clock.dwTimeMs = 1251;
        EXPECT_EQ(timer.GetElapsed(), 1.0);

        clock.dwTimeMs = 0xFFFFFF00u;
        timer.Reset();
        clock.dwTimeMs = 0x00000100u;
        EXPECT_EQ(timer.GetElapsed(), 512.0);
        clock.dwTimeMs = 0xFFFFFEFFu;  // the longest span it can tell: one millisecond short of 2^32
        EXPECT_EQ(timer.GetElapsed(), 4294967295.0);
    }
}

TEST(Timer, ClockIsChosenOnceAtConstruction) {
    CFakeClock clock;
    CTimer timer(clock);
    clock.bHasCounter = false;  // the counter goes away: the timer keeps using it
    clock.llCounter = 4000000;
    EXPECT_NEAR(timer.GetElapsed(), 4.0, 1e-6);
    timer.Reset();
    EXPECT_TRUE(timer.bPerfCounter);
    EXPECT_EQ(clock.iFrequencyQueries, 1);

    CFakeClock noCounter(false);
    CTimer fallback(noCounter);
    noCounter.bHasCounter = true;
    noCounter.llCounter = 123456789;
    noCounter.dwTimeMs = 7;
    fallback.Reset();
    EXPECT_FALSE(fallback.bPerfCounter);
    EXPECT_EQ(fallback.GetElapsed(), 0.0);
    EXPECT_EQ(noCounter.iFrequencyQueries, 1);
}

TEST(Timer, SystemClockIsMonotonicNanoseconds) {
    const IClockSource& clock = GetSystemClock();
    int64_t llFrequency = 0;
    ASSERT_TRUE(clock.QueryFrequency(&llFrequency));
    EXPECT_EQ(llFrequency, 1000000000);

    CTimer timer;
    EXPECT_TRUE(timer.bPerfCounter);
    EXPECT_EQ(timer.pClock, &clock);
    double dLast = 0.0;
    for (int i = 0; i < 1000; ++i) {
        const double dNow = timer.GetElapsed();
        EXPECT_GE(dNow, dLast);
        dLast = dNow;
    }
    // The millisecond clock is the same clock, truncated.
    const uint32_t dwMs = clock.GetTimeMs();
    EXPECT_LE(static_cast<uint32_t>(clock.QueryCounter() / 1000000) - dwMs, 1u);
}
