#pragma once

#include <cstdint>

// The two clocks a stopwatch can run on: a monotonic high-resolution counter
// with its frequency, and a 32-bit millisecond clock that wraps around.
// Replaceable so that tests can drive both and the wrap.
class IClockSource {
public:
    // Counts per second of the counter; false when there is no such counter.
    virtual bool QueryFrequency(int64_t* pllFrequency) const = 0;
    virtual int64_t QueryCounter() const = 0;
    virtual uint32_t GetTimeMs() const = 0;

protected:
    ~IClockSource() = default;
};

// CLOCK_MONOTONIC in nanoseconds, and its milliseconds truncated to 32 bits.
const IClockSource& GetSystemClock();
