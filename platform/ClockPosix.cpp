#include "platform/Clock.h"

#include <time.h>

namespace {

constexpr int64_t NANOSECONDS_PER_SECOND = 1000000000;

int64_t MonotonicNanoseconds() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<int64_t>(ts.tv_sec) * NANOSECONDS_PER_SECOND + ts.tv_nsec;
}

class CSystemClock final : public IClockSource {
public:
    bool QueryFrequency(int64_t* pllFrequency) const override {
        timespec ts{};
        if (clock_getres(CLOCK_MONOTONIC, &ts) != 0) {
            return false;
        }
        *pllFrequency = NANOSECONDS_PER_SECOND;
        return true;
    }

    int64_t QueryCounter() const override { return MonotonicNanoseconds(); }

    uint32_t GetTimeMs() const override {
        return static_cast<uint32_t>(MonotonicNanoseconds() / 1000000);
    }
};

}  // namespace

const IClockSource& GetSystemClock() {
    static const CSystemClock s_Clock;
    return s_Clock;
}
